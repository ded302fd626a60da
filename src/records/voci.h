// The fields of a payment as the clerk reads them, by name: what each one is in an
// ordinary and in a violation payment, and their order. The window, the list, the
// spreadsheet and the record dump all take their fields from this one description.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "records/versamento.h"

namespace pliventa {

/// A payment's fields as they are shown, in the order the record area, the
/// spreadsheet's columns and the dump give them.
enum class Voce : std::size_t {
    dataVersamento,
    codiceFiscale,
    numeroFabbricati,
    totale,
    terreni,
    areeFabbricabili,
    abitazionePrincipale,
    detrazione,
    altriFabbricati,
    annoImposta,
    numeroAtto,
    dataAtto,
};

inline constexpr std::size_t kNumeroVoci = 12;

/// How a field is read from the record.
enum class Genere {
    data,        ///< the payment date, fields 4, 3 and 2
    testo,       ///< the field's characters as stored
    conteggio,   ///< the field's numeric value, a count
    importo,     ///< the field's numeric value, an amount: cents or lire
    anno,        ///< the two digits of the tax year
    numeroAtto,  ///< the notice number inside field 16; violation payments only
    dataAtto,    ///< the notice date inside field 16; violation payments only
};

struct DescrizioneVoce {
    Voce voce;
    Genere genere;
    Campo campo;                      ///< the record field it is read from
    std::string_view nome;            ///< what it is in an ordinary payment
    std::string_view nomeViolazione;  ///< what it is in a violation payment
};

/// The fields in their order. A violation payment keeps tax, penalties, pecuniary
/// penalty and interest in the fields of land, building land, main dwelling and
/// deduction. The deduction (field 13) comes before the other buildings (field 12):
/// the payment forms list it with the main dwelling it is taken from.
inline constexpr std::array<DescrizioneVoce, kNumeroVoci> kVoci = {{
    {Voce::dataVersamento, Genere::data, Campo::giornoversamento, "Data di versamento",
     "Data di versamento"},
    {Voce::codiceFiscale, Genere::testo, Campo::codicefiscale, "Codice Fiscale", "Codice Fiscale"},
    {Voce::numeroFabbricati, Genere::conteggio, Campo::numerofabbricati, "Numero fabbricati",
     "Numero fabbricati"},
    {Voce::totale, Genere::importo, Campo::totale, "Totale versamento", "Totale versamento"},
    {Voce::terreni, Genere::importo, Campo::terreni, "Terreni Agricoli", "Imposta"},
    {Voce::areeFabbricabili, Genere::importo, Campo::areefabbricabili, "Aree Fabbricabili",
     "Sanzioni"},
    {Voce::abitazionePrincipale, Genere::importo, Campo::abitazioneprincipale,
     "Abitazione Principale", "Pena pec."},
    {Voce::detrazione, Genere::importo, Campo::detrazione, "Detrazione Abitazione Principale",
     "Interessi"},
    {Voce::altriFabbricati, Genere::importo, Campo::altrifabbricati, "Altri fabbricati",
     "Altri fabbricati"},
    {Voce::annoImposta, Genere::anno, Campo::annoimposta, "Anno", "Anno"},
    {Voce::numeroAtto, Genere::numeroAtto, Campo::estremiatto, "Numero provedimento",
     "Numero provedimento"},
    {Voce::dataAtto, Genere::dataAtto, Campo::estremiatto, "Data Provvedimento",
     "Data Provvedimento"},
}};

constexpr std::size_t indice(Voce v) {
    return static_cast<std::size_t>(v);
}

constexpr const DescrizioneVoce& descrizione(Voce v) {
    return kVoci[indice(v)];
}

/// The amount fields, in their order among the fields.
inline constexpr std::array<Voce, 6> kVociImporto = [] {
    std::array<Voce, 6> out{};
    std::size_t n = 0;
    for (const DescrizioneVoce& d : kVoci) {
        if (d.genere == Genere::importo) {
            out[n++] = d.voce;
        }
    }
    return out;
}();

static_assert(
    [] {
        for (std::size_t i = 0; i < kVoci.size(); ++i) {
            if (indice(kVoci[i].voce) != i) {
                return false;
            }
        }
        return true;
    }(),
    "kVoci is in the order of Voce");

}  // namespace pliventa
