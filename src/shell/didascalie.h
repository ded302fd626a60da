// The record area of the main window: which field each box shows and the design
// captions of the labels beside them.
#pragma once

#include <array>
#include <string_view>

#include "records/voci.h"

namespace pliventa {

/// The field each box Text3(0) to Text3(11) shows: the form keeps the notice
/// number (9) between the other buildings and the year.
inline constexpr std::array<Voce, 12> kVoceDiText3 = {
    Voce::dataVersamento,  Voce::codiceFiscale,    Voce::numeroFabbricati,     Voce::totale,
    Voce::terreni,         Voce::areeFabbricabili, Voce::abitazionePrincipale, Voce::detrazione,
    Voce::altriFabbricati, Voce::numeroAtto,       Voce::annoImposta,          Voce::dataAtto,
};

/// Design captions of label1(0) to label1(12): label1(i) names the field of
/// Text3(i) for the first nine, then the currency, the year and the notice.
inline constexpr std::array<std::string_view, 13> kDidascalie = {
    descrizione(Voce::dataVersamento).nome,
    descrizione(Voce::codiceFiscale).nome,
    descrizione(Voce::numeroFabbricati).nome,
    descrizione(Voce::totale).nome,
    descrizione(Voce::terreni).nome,
    descrizione(Voce::areeFabbricabili).nome,
    descrizione(Voce::abitazionePrincipale).nome,
    descrizione(Voce::detrazione).nome,
    descrizione(Voce::altriFabbricati).nome,
    "Valuta",
    descrizione(Voce::annoImposta).nome,
    descrizione(Voce::numeroAtto).nome,
    descrizione(Voce::dataAtto).nome,
};

}  // namespace pliventa
