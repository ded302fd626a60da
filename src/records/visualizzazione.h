// What the main window shows for one payment, computed without any widget so
// that the window, the command line and the tests share it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "records/versamento.h"

namespace pliventa {

/// The locale's separators, as UTF-8 text (the window passes the user's locale).
struct Separatori {
    std::string migliaia = ".";
    std::string decimali = ",";
};

/// Design captions of label1(0) to label1(12).
inline constexpr std::array<std::string_view, 13> kDidascalie = {
    "Data di versamento",
    "Codice Fiscale",
    "Numero fabbricati",
    "Totale versamento",
    "Terreni Agricoli",
    "Aree Fabbricabili",
    "Abitazione Principale",
    "Detrazione Abitazione Principale",
    "Altri fabbricati",
    "Valuta",
    "Anno",
    "Numero provedimento",
    "Data Provvedimento",
};

/// Captions of label1(4) to label1(7) in the violation layout.
inline constexpr std::array<std::string_view, 4> kDidascalieViolazione = {"Imposta", "Sanzioni",
                                                                          "Pena pec.", "Interessi"};

/// The two layouts of the record area.
enum class Aspetto {
    normale,     ///< ordinary payment: year shown, notice hidden, design captions
    violazioni,  ///< violation payment: year hidden, notice shown, violation captions
};

/// Everything one display puts on screen. Texts are UTF-8.
struct Schermata {
    std::array<std::string, 12> text3;  ///< Text3(0) to Text3(11)
    std::string text4;                  ///< record number box
    Aspetto aspetto = Aspetto::normale;
    std::array<std::string, 4> didascalie;  ///< captions of label1(4) to label1(7)

    bool annoVisibile() const { return aspetto == Aspetto::normale; }  ///< Text3(10), label1(10)
    bool attoVisibile() const {
        return aspetto == Aspetto::violazioni;
    }  ///< Text3(9), (11), label1(11), (12)
};

/// How the record number appears in Text4.
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

/// The display of `v` as record `recordcorrente`: amounts by `valuta`, the notice
/// by `lettura` (the arrangement the work file was written in).
Schermata mostrarecord(const Versamento& v, double recordcorrente, std::string_view valuta,
                       LetturaAtto lettura, FormaNumero forma, const Separatori& sep);

}  // namespace pliventa
