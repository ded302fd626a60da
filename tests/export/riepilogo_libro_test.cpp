// The summary's workbook as a reader sees it: the sheet, the headers, a row per
// group and the bold grand total, numbers with the euro format.
#include "export/riepilogo_libro.h"

#include <gtest/gtest.h>

#include "libro_letto.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::leggiLibro;
using test::LibroLetto;
using test::nomi;

GruppoRiepilogo gruppo(std::string chiave, char tipo) {
    GruppoRiepilogo g;
    g.chiave = std::move(chiave);
    g.tipo = tipo;
    g.versamenti = 2;
    g.violazioni = 1;
    g.anomalie = 1;
    const std::array<std::int64_t, 6> ordinari = {123456, -1234, 0, 5, 100, 1};
    const std::array<std::int64_t, 6> violazione = {1000, 200, 300, 400, 70, 30};
    for (std::size_t j = 0; j < ordinari.size(); ++j) {
        g.ordinari[j].aggiungi(ordinari[j]);
        g.violazione[j].aggiungi(violazione[j]);
    }
    return g;
}

TEST(RiepilogoLibro, HeadersGroupRowsAndABoldGrandTotal) {
    Riepilogo r;
    r.gruppi[static_cast<std::size_t>(Raggruppamento::anno)] = {gruppo("20  ", 'O'),
                                                                gruppo("2003", 'V')};
    r.gruppi[static_cast<std::size_t>(Raggruppamento::comune)] = {gruppo("A\xC0", '\0')};
    r.totale = gruppo("", '\0');
    r.totale.versamenti = 4;

    const struct {
        Raggruppamento per;
        bool euro;
        std::string foglio;
        std::map<std::string, std::string> attese;
    } casi[] = {
        {Raggruppamento::anno,
         true,
         "Riepilogo per anno",
         {{"A1", "s\tAnno\tbold\tGeneral"},
          {"B1", "s\tTipo\tbold\tGeneral"},
          {"A2", "s\t20  \t-\tGeneral"},  // not a year: stays the text it is
          {"B2", "s\tO\t-\tGeneral"},
          {"C2", "n\t2.0\t-\tGeneral"},
          {"D2", "n\t1.0\t-\tGeneral"},  // of them on a violation notice
          {"E2", "n\t1244.56\t-\t#,##0.00"},
          {"F2", "n\t-12.34\t-\t#,##0.00"},
          {"K2", "n\t2.0\t-\t#,##0.00"},  // the violation payments' tax
          {"A3", "n\t2003.0\t-\tGeneral"},
          {"B3", "s\tV\t-\tGeneral"},
          {"A4", "s\tTotale generale\tbold\tGeneral"},
          {"B4", "b\t\tbold\tGeneral"},
          {"E4", "n\t1244.56\tbold\t#,##0.00"},
          {"P4", "n\t1.0\tbold\tGeneral"},
          {"A5", ""}}},
        {Raggruppamento::comune,
         false,
         "Riepilogo per comune",
         {{"A1", "s\tComune\tbold\tGeneral"},
          {"A2", "s\tA\xC3\x80\t-\tGeneral"},
          {"B2", "n\t2.0\t-\tGeneral"},
          {"D2", "n\t124456.0\t-\tGeneral"},
          {"N2", "n\t30.0\t-\tGeneral"},
          {"A3", "s\tTotale generale\tbold\tGeneral"},
          {"D3", "n\t124456.0\tbold\tGeneral"},
          {"P3", ""}}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.foglio);
        CartellaTemporanea dir;
        const std::string libro = dir.file("riepilogo.xlsx");
        {
            // Written on an Italian desktop, read where the decimal mark is ".".
            const test::LocaleItaliano italiano;
            ASSERT_TRUE(italiano.attivo()) << "it_IT.UTF-8 is not installed";
            const EsitoVuoto e =
                salvaRiepilogoExcel(r, c.per, c.euro, libro, dir.percorso().string());
            ASSERT_TRUE(e.ok()) << e.errore().descrizione();
        }
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"riepilogo.xlsx"});
        const LibroLetto l = leggiLibro(libro);
        EXPECT_EQ(l.fogli, std::vector<std::string>{c.foglio});
        for (const auto& [cella, attesa] : c.attese) {
            EXPECT_EQ(l[cella], attesa) << cella;
        }
    }
}

}  // namespace
}  // namespace pliventa
