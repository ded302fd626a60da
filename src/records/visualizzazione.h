// What the main window shows for one payment, computed without any widget so
// that the window, the command line and the tests share it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "records/versamento.h"
#include "records/voci.h"

namespace pliventa {

/// The locale's separators, as UTF-8 text (the window passes the user's locale).
struct Separatori {
    std::string migliaia = ".";
    std::string decimali = ",";
};

/// The two layouts of the record area.
enum class Aspetto {
    normale,     ///< ordinary payment: year shown, notice hidden, design captions
    violazioni,  ///< violation payment: year hidden, notice shown, violation captions
};

/// The texts of the fields of one payment, by Voce, UTF-8.
using TestiVoci = std::array<std::string, kNumeroVoci>;

/// Everything one display puts on screen. Texts are UTF-8.
struct Schermata {
    TestiVoci testi;     ///< by Voce
    std::string numero;  ///< the record number line
    Aspetto aspetto = Aspetto::normale;

    const std::string& testo(Voce v) const { return testi[indice(v)]; }
    /// What field `v` is called in this layout.
    std::string_view didascalia(Voce v) const {
        return aspetto == Aspetto::violazioni ? descrizione(v).nomeViolazione : descrizione(v).nome;
    }
};

/// How the record number appears.
enum class FormaNumero {
    conPrefisso,  ///< "Vers. n. 12", as after an import and with the navigation buttons
    soloNumero,   ///< "12", as the search shows its candidates
};

/// An amount field's numeric value as shown: when `valuta` is exactly "E" the value
/// is euro cents, shown divided by 100 with two decimals; any other text means
/// whole lire, shown without decimals. Digits are grouped by thousands.
std::string formattaImporto(double valore, std::string_view valuta, const Separatori& sep);

/// A record number or count as plain decimal text: a whole number without
/// decimals (3), a fraction with the locale's decimal separator (10,5).
std::string formattaNumero(double numero, const Separatori& sep);

/// The fields of `v` as the window shows them: the payment date and the codice
/// fiscale as stored, the number of properties as a plain number, amounts by
/// `valuta`, the tax year's two stored digits, and for a violation payment the
/// notice read by `lettura` (empty for an ordinary one).
TestiVoci testiVoci(const Versamento& v, std::string_view valuta, LetturaAtto lettura,
                    const Separatori& sep);

/// The display of `v` as record `recordcorrente`: amounts by `valuta`, the notice
/// by `lettura` (the arrangement the work file was written in).
Schermata mostrarecord(const Versamento& v, double recordcorrente, std::string_view valuta,
                       LetturaAtto lettura, FormaNumero forma, const Separatori& sep);

}  // namespace pliventa
