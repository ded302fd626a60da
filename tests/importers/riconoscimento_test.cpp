// The layout told from the first lines of a file: each rule, the samples of every
// layout, and what cannot be told.
#include "importers/riconoscimento.h"

#include <gtest/gtest.h>

#include <string>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::RigaVersamento;

std::string riga(const RigaVersamento& r) {
    return r.str() + "\r\n";
}

// A 1997 payment line: the year of the date in two digits, 196 characters.
std::string riga1997(std::string_view aammgg) {
    return RigaVersamento().tipo('3').colonne(27, aammgg).str().substr(0, 196) + "\r\n";
}

// A violation line whose notice date is at column `colonna`.
std::string violazione(std::size_t colonna) {
    return riga(RigaVersamento().tipo('6').data("19990312").colonne(colonna, "15011998"));
}

std::string g1() {
    std::string s(260, '0');
    s.replace(0, 2, "G1");
    return s + "\r\n";
}

TEST(Riconoscimento, EachRuleAndWhatCannotBeTold) {
    const std::string ordinaria = riga(RigaVersamento().tipo('3').data("20030715"));
    const struct {
        const char* caso;
        std::string inizio;
        bool intero;
        std::optional<Formato> formato;
        const char* motivo;
    } casi[] = {
        {"header and an ordinary line", riga(RigaVersamento().tipo('1')) + ordinaria, true,
         Formato::cnc2000, ""},
        {"long notice", ordinaria + violazione(184), true, Formato::cnc2000, ""},
        {"short notice", ordinaria + violazione(181), true, Formato::viol1997, ""},
        {"two-digit year", riga1997("970825") + riga1997("010920"), true, Formato::cnc1997, ""},
        {"F24", "A1 TESTA\r\n" + g1(), true, Formato::f24, ""},
        {"Risconet", "PROGR;DATA\r\n1;2003-07-15 00:00:00;\r\n", true, Formato::risconet, ""},
        {"empty", "", true, std::nullopt, "il file è vuoto"},
        {"blank lines", "  \r\n\r\n", true, std::nullopt, "il file è vuoto"},
        {"binary", ordinaria + std::string(1, '\0'), true, std::nullopt, "non è un file di testo"},
        {"a short line", "3\r\n", true, std::nullopt,
         "nessuna riga di versamento riconoscibile nelle prime righe"},
        // Read as yymmdd, 20031315 would be a day of 2020.
        {"a date that is no day", riga(RigaVersamento().tipo('3').data("20031315")), true,
         std::nullopt, "nessuna riga di versamento riconoscibile nelle prime righe"},
        {"a 1997 line of a company", riga1997("97082501234567890"), true, std::nullopt,
         "nessuna riga di versamento riconoscibile nelle prime righe"},
        // The last line, cut by the limit, is left out when the file goes on.
        {"cut last line", ordinaria.substr(0, 150), false, std::nullopt,
         "nessuna riga di versamento riconoscibile nelle prime righe"},
        {"cut F24 line", "A1 TESTA\r\n" + g1().substr(0, 200), false, std::nullopt,
         "nessuna riga di versamento riconoscibile nelle prime righe"},
        {"both kinds of year", ordinaria + riga1997("970825"), true, std::nullopt,
         "righe con l'anno del versamento di due cifre (tracciato 1997) e di quattro"},
        {"both notices", violazione(181) + violazione(184), true, std::nullopt,
         "estremi dell'atto di violazione sia nella disposizione breve (1997) sia in quella "
         "lunga"},
        {"a ';' on one line only", "PROGR;DATA\r\n" + ordinaria, true, Formato::cnc2000, ""},
    };
    for (const auto& c : casi) {
        const Riconoscimento r = riconosci(c.inizio, c.intero);
        EXPECT_EQ(r.formato, c.formato) << c.caso;
        EXPECT_EQ(r.motivo, c.motivo) << c.caso;
    }
}

TEST(Riconoscimento, AFileReadsOnlyItsBeginning) {
    CartellaTemporanea dir;
    // A 1997 line after the first bytes is never read: the file is ANCI-CNC 2000.
    std::string dati;
    while (dati.size() < kInizioLetto) {
        dati += riga(RigaVersamento().tipo('3').data("20030715"));
    }
    const Esito<Riconoscimento> r = riconosciFile(dir.scrivi("in", dati + riga1997("970825")));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->formato, Formato::cnc2000);
    const Esito<Riconoscimento> mancante = riconosciFile(dir.file("mancante"));
    ASSERT_FALSE(mancante.ok());
    EXPECT_EQ(mancante.errore().percorso, dir.file("mancante"));
}

TEST(Riconoscimento, TheWorkFileAndTheNoticeOfMixedInputs) {
    using T = Tracciato;
    const struct {
        std::vector<Tracciato> tracciati;
        std::string_view nome;
        LetturaAtto lettura;
    } casi[] = {
        {{T::cnc1997, T::cnc1997}, "iciview97.out", LetturaAtto::lunga},
        {{T::cnc1997, T::f24}, "iciview.out", LetturaAtto::lunga},
        {{T::viol1997, T::viol1997}, "iciview.out", LetturaAtto::breve},
        {{T::viol1997, T::cnc2000}, "iciview.out", LetturaAtto::lunga},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(nomeArchivio(c.tracciati), c.nome);
        EXPECT_EQ(letturaAtto(c.tracciati), c.lettura) << c.nome;
    }
}

}  // namespace
}  // namespace pliventa
