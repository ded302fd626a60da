// The workbook as a reader sees it: headers, totals, one row per payment, the
// formats, and what is left on disk when the export fails or is cancelled; and
// the summary's workbook.
#include "export/esportazione.h"

#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <filesystem>

#include "export/riepilogo_libro.h"
#include "gruppo.h"
#include "libro_letto.h"
#include "righe.h"

namespace pliventa {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::gruppo;
using test::lavoro;
using test::leggiFile;
using test::leggiLibro;
using test::LibroLetto;
using test::LimiteFile;
using test::nomi;
using test::RigaVersamento;

constexpr const char* kFoglio = "Estrazione 05-03-2004 09.07.02";

RigaVersamento ordinario(std::string_view anno) {
    return RigaVersamento()
        .tipo('3')
        .data("20030715")
        .cf("RSSMRA70A01H501U")
        .campo(Campo::annoimposta, anno)
        .campo(Campo::totale, "00000012345")
        .campo(Campo::terreni, "0000000100")
        .campo(Campo::areefabbricabili, "-000000050")
        .campo(Campo::altrifabbricati, "0000000007")
        .campo(Campo::detrazione, "00010329")
        .campo(Campo::numerofabbricati, "0003");
}

// Field 16 from position 7: 000123456 then 31122002 (the long arrangement).
RigaVersamento violazione(std::string_view data = "31122002") {
    return RigaVersamento()
        .tipo('6')
        .data("20040320")
        .cf("VRDLGU60B02F205X")
        .campo(Campo::totale, "00000000020")
        .campo(Campo::numerofabbricati, "0001")
        .campo(Campo::estremiatto, "100000000123456" + std::string(data));
}

class Esportazione : public ::testing::Test {
protected:
    /// Writes the work file of `righe` and exports it to book.xlsx.
    Esito<RiepilogoEsportazione> esporta(const std::string& dati, OpzioniEsportazione o = {}) {
        auto a = ArchivioLavoro::apriarchivio(dir.scrivi("iciview.out", dati));
        EXPECT_TRUE(a.ok());
        if (o.nomeFoglio.empty()) {
            o.nomeFoglio = kFoglio;
        }
        return stampaexcel(*a, libro(), o, controllo);
    }
    std::string libro() const { return dir.file("book.xlsx"); }

    CartellaTemporanea dir;
    Controllo controllo;
};

TEST_F(Esportazione, EveryCellOfHeadersTotalsAndPayments) {
    // A codice fiscale that looks like a formula stays text, its blanks kept; the
    // spreadsheet library takes C strings, so a NUL would end the cell's text there.
    const std::string dati = lavoro({ordinario("92"), ordinario("93").cf("=SUM(A1)        "),
                                     ordinario("05").cf(std::string("AB\0CD", 5) + "           "),
                                     ordinario("  "), violazione(), violazione("31022002")});
    for (const char* valuta : {"E", "L"}) {
        SCOPED_TRACE(valuta);
        OpzioniEsportazione o;
        o.valuta = valuta;
        const auto r = esporta(dati, o);
        ASSERT_TRUE(r.ok()) << r.errore().descrizione();
        EXPECT_EQ(r->esportati, 6u);
        EXPECT_EQ(r->celleRiparate, 1u);
        const LibroLetto l = leggiLibro(libro());
        EXPECT_EQ(l.fogli, std::vector<std::string>{kFoglio});

        const bool euro = valuta == std::string("E");
        const std::string imp = euro ? "#,##0.00" : "General";
        auto importo = [&](double lire) {
            return "n\t" + test::repr(euro ? lire / 100 : lire) + "\t-\t" + imp;
        };
        auto totale = [&](char c, double lire) {
            return "f\t=SUM(" + std::string(1, c) + "3:" + std::string(1, c) +
                   "65536)=" + test::repr(euro ? lire / 100 : lire) + "\tbold\t" + imp;
        };
        const std::map<std::string, std::string> attese = {
            {"A1", "s\tData Versamento\t-\tGeneral"},
            {"L1", "s\tData Atto\t-\tGeneral"},
            {"A2", "n\t6.0\tbold\tGeneral"},
            {"B2", ""},
            {"C2", "n\t14.0\tbold\tGeneral"},
            {"D2", totale('D', 4 * 12345 + 2 * 20)},
            {"E2", totale('E', 400)},
            {"F2", totale('F', -200)},
            {"H2", totale('H', 4 * 10329)},
            {"I2", totale('I', 28)},
            {"A3", "s\t15/07/2003\t-\tGeneral"},
            {"B3", "s\tRSSMRA70A01H501U\t-\tGeneral"},
            {"C3", "n\t3.0\t-\tGeneral"},
            {"D3", importo(12345)},
            {"F3", importo(-50)},
            {"G3", importo(0)},
            {"H3", importo(10329)},  // H is the deduction, I the other buildings
            {"I3", importo(7)},
            {"J3", "n\t2092.0\t-\tGeneral"},
            {"K3", ""},
            {"B4", "s\t=SUM(A1)        \t-\tGeneral"},
            {"B5", "s\tAB\uFFFDCD           \t-\tGeneral"},
            {"J6", "s\t20  \t-\tGeneral"},
            {"J7", ""},
            {"K7", "s\t000123456\t-\tGeneral"},
            {"L7", "d\t2002-12-31\t-\tdd/mm/yyyy"},
            {"L8", "s\t31/02/2002\t-\tGeneral"},
            {"A9", ""},
        };
        for (const auto& [ref, attesa] : attese) {
            EXPECT_EQ(l[ref], attesa) << ref;
        }
        // On an Italian desktop printf writes 123,45, which spreadsheet programs read as
        // 123 or refuse: the sheet and its styles are the same bytes whatever the locale.
        const auto parti = [&] {
            return test::parteDelLibro(libro(), "xl/worksheets/sheet1.xml") +
                   test::parteDelLibro(libro(), "xl/styles.xml");
        };
        const std::string prima = parti();
        EXPECT_NE(prima.find("width=\"12.7"), std::string::npos);  // the columns' widths
        const std::string locale = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(std::setlocale(LC_ALL, test::kLocaleItaliano), nullptr)
            << test::kLocaleItaliano << " is not installed";
        const bool esportato = esporta(dati, o).ok();
        std::setlocale(LC_ALL, locale.c_str());
        ASSERT_TRUE(esportato);
        EXPECT_EQ(parti(), prima);
        // LibreOffice shows the totals.
        if (const auto csv =
                euro ? test::csvLibreOffice(libro(), dir.percorso().string()) : std::nullopt) {
            const auto inizio = csv->find('\n') + 1;
            EXPECT_EQ(csv->substr(inizio, csv->find('\n', inizio) - inizio),
                      "6,,14,\"494,2\",4,-2,0,\"413,16\",\"0,28\",,,");
        }
    }
}

// An empty file has the headers and empty totals; the totals reach the last row
// past row 65536; a full sheet takes what fits and counts the rest.
TEST_F(Esportazione, AnEmptyFileALargeOneAndAFullSheet) {
    ASSERT_TRUE(esporta(test::ripeti(ordinario("05").record(), 65535)).ok());  // rows 3 to 65537
    EXPECT_EQ(leggiLibro(libro(), 2)["D2"],
              "f\t=SUM(D3:D65537)=" + test::repr(65535 * 123.45) + "\tbold\t#,##0.00");

    ASSERT_TRUE(esporta("").ok());
    const LibroLetto vuoto = leggiLibro(libro());
    EXPECT_EQ(vuoto["A2"], "b\t\tbold\tGeneral");
    EXPECT_EQ(vuoto["C2"], "b\t\tbold\tGeneral");
    EXPECT_EQ(vuoto["D2"], "f\t=SUM(D3:D65536)=0.0\tbold\t#,##0.00");
    for (const auto& [ref, cella] : vuoto.celle) {
        EXPECT_TRUE(ref.back() == '1' || ref.back() == '2') << ref << " " << cella;
    }

    OpzioniEsportazione o;
    o.righeFoglio = 5;  // rows for three payments
    const std::string dati =
        lavoro({ordinario("01"), ordinario("02"), ordinario("03"), ordinario("04")}) +
        ordinario("05").record().substr(0, 100);  // and a partial record
    const auto r = esporta(dati, o);
    ASSERT_TRUE(r.ok()) << r.errore().descrizione();
    EXPECT_EQ(r->esportati, 3u);
    EXPECT_EQ(r->esclusi, 1u);
    EXPECT_TRUE(r->parziale);
    const LibroLetto l = leggiLibro(libro());
    EXPECT_EQ(l["A2"], "n\t3.0\tbold\tGeneral");
    EXPECT_EQ(l["J5"], "n\t2003.0\t-\tGeneral");
    EXPECT_EQ(l["A6"], "");
}

TEST_F(Esportazione, FailuresNameThePathAndLeaveTheOldFile) {
    const std::string dati = test::ripeti(ordinario("05").record(), 5000);
    const std::string temporanei = dir.file("temp");
    fs::create_directory(temporanei);
    const struct {
        const char* caso;
        std::string destinazione;
        std::string cartellaTemporanea;
        std::uint64_t limite;  ///< largest file, 0: none
        CodiceErrore codice;
        std::string percorso;
        std::string motivo;
    } casi[] = {
        {"missing folder", dir.file("manca/book.xlsx"), temporanei, 0, CodiceErrore::InputOutput,
         dir.file("manca/book.xlsx"), "file o directory inesistente"},
        {"the work file itself", dir.file("./iciview.out"), temporanei, 0, CodiceErrore::Uso,
         dir.file("./iciview.out"),
         "è il file di lavoro da esportare \"" + dir.file("iciview.out") +
             "\": l'uscita deve essere un altro file"},
        {"full disk", test::kDispositivoPieno, temporanei, 0, CodiceErrore::InputOutput,
         test::kDispositivoPieno, "spazio esaurito sul dispositivo"},
        {"missing temporary folder", libro(), dir.file("manca"), 0, CodiceErrore::InputOutput,
         dir.file("manca"), "cartella dei file temporanei: file o directory inesistente"},
        {"full temporary folder", libro(), temporanei, 256 * 1024, CodiceErrore::InputOutput,
         temporanei, "file troppo grande"},
    };
    const auto archivio = ArchivioLavoro::apriarchivio(dir.scrivi("iciview.out", dati));
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        if (c.destinazione.empty() || (c.limite > 0 && !LimiteFile::disponibile())) {
            continue;  // no full device or file size limit on this system
        }
        dir.scrivi("book.xlsx", "cartella precedente");
        OpzioniEsportazione o;
        o.cartellaTemporanea = c.cartellaTemporanea;
        const auto r = [&] {
            const LimiteFile limite(c.limite > 0 ? c.limite : LimiteFile::kNessuno);
            return stampaexcel(*archivio, c.destinazione, o);
        }();
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errore().codice, c.codice);
        EXPECT_EQ(r.errore().percorso, c.percorso);
        EXPECT_EQ(r.errore().motivo, c.motivo);
        EXPECT_EQ(leggiFile(libro()), "cartella precedente");
        EXPECT_EQ(leggiFile(dir.file("iciview.out")), dati);
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"book.xlsx", "iciview.out", "temp"}));
        EXPECT_TRUE(fs::is_empty(temporanei));
    }
}

TEST_F(Esportazione, CancelLeavesNoFileAndProgressReachesTheEnd) {
    const std::string dati = test::ripeti(ordinario("05").record(), 10000);
    std::atomic<bool> annulla{false};
    using Passo = std::pair<unsigned, std::uint64_t>;  // phase, progress
    std::vector<Passo> visti;
    unsigned fase = 0;
    controllo.annulla = &annulla;
    controllo.nuovaFase = [&](unsigned f) { fase = f; };
    controllo.progresso = [&](std::uint64_t fatti, std::uint64_t totale) {
        EXPECT_LE(fatti, totale);
        visti.emplace_back(fase, fatti);
    };
    ASSERT_TRUE(esporta(dati).ok());
    ASSERT_GE(visti.size(), 2u);
    EXPECT_EQ(visti.back(), Passo(static_cast<unsigned>(FaseEsportazione::compressione), 0));
    EXPECT_EQ(visti[visti.size() - 2],
              Passo(static_cast<unsigned>(FaseEsportazione::righe), 10000));

    // Cancelled while the rows are written, or while the workbook is packed (which
    // cannot stop midway): the file chosen stays as it was.
    for (const FaseEsportazione quando :
         {FaseEsportazione::righe, FaseEsportazione::compressione}) {
        dir.scrivi("book.xlsx", "cartella precedente");
        annulla = false;
        controllo.progresso = [&](std::uint64_t fatti, std::uint64_t) {
            if (fase == static_cast<unsigned>(quando) &&
                (fatti > 0 || quando == FaseEsportazione::compressione)) {
                annulla = true;
            }
        };
        const auto r = esporta(dati);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errore().codice, CodiceErrore::Annullato);
        EXPECT_EQ(r.errore().percorso, libro());
        EXPECT_EQ(leggiFile(libro()), "cartella precedente");
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"book.xlsx", "iciview.out"}));
    }
}

// The summary's workbook: the sheet, the headers, a row per group and the bold
// grand total, numbers with the euro format.
TEST(RiepilogoLibro, HeadersGroupRowsAndABoldGrandTotal) {
    Riepilogo r;
    r.gruppi[static_cast<std::size_t>(Raggruppamento::anno)] = {gruppo("20  ", 'O'),
                                                                gruppo("2003", 'V')};
    r.gruppi[static_cast<std::size_t>(Raggruppamento::comune)] = {gruppo("A\xC0", '\0')};
    r.totale = gruppo("", '\0');

    const struct {
        Raggruppamento per;
        bool euro;
        std::string foglio;
        std::map<std::string, std::string> attese;
    } casi[] = {
        {Raggruppamento::anno,
         true,
         "Riepilogo per anno",
         {{"A2", "s\t20  \t-\tGeneral"},  // not a year: stays the text it is
          {"B2", "s\tO\t-\tGeneral"},
          {"D2", "n\t1.0\t-\tGeneral"},  // of them on a violation notice
          {"E2", "n\t1244.56\t-\t#,##0.00"},
          {"F2", "n\t-12.34\t-\t#,##0.00"},
          {"A3", "n\t2003.0\t-\tGeneral"},
          {"B3", "s\tV\t-\tGeneral"},
          {"A4", "s\tTotale generale\tbold\tGeneral"},
          {"B4", "b\t\tbold\tGeneral"},
          {"E4", "n\t1244.56\tbold\t#,##0.00"},
          {"P4", "n\t4.0\tbold\tGeneral"},
          {"A5", ""}}},
        {Raggruppamento::comune,
         false,
         "Riepilogo per comune",
         {{"A1", "s\tComune\tbold\tGeneral"},
          {"A2", "s\tA\xC3\x80\t-\tGeneral"},
          {"B2", "n\t3.0\t-\tGeneral"},
          {"D2", "n\t124456.0\t-\tGeneral"},
          {"A3", "s\tTotale generale\tbold\tGeneral"},
          {"D3", "n\t124456.0\tbold\tGeneral"},
          {"P3", ""}}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.foglio);
        CartellaTemporanea dir;
        const std::string libro = dir.file("riepilogo.xlsx");
        const EsitoVuoto e = salvaRiepilogoExcel(r, c.per, c.euro, libro, dir.percorso().string());
        ASSERT_TRUE(e.ok()) << e.errore().descrizione();
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
