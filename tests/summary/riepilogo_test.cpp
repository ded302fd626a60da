// The summary's pass over a work file: the groups, their exact sums, the anomalies,
// the file's edges, progress and cancel; then the table as CSV and its saving.
#include "summary/riepilogo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "gruppo.h"
#include "righe.h"
#include "summary/tabella.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lavoro;
using test::leggiFile;
using test::nomi;
using test::RigaVersamento;

// A company code whose check digit is right, so that a payment breaks no rule
// unless a test makes it.
constexpr std::string_view kCodiceValido = "00000000000";

std::string cifre(std::int64_t valore, std::size_t larghezza) {
    const std::string s = std::to_string(valore);
    return std::string(larghezza - s.size(), '0') + s;
}

/// A payment of municipality `comune`, paid on `data` (yyyymmdd), of tax year
/// `anno`, type `tipo`, with the six amounts of kCampiRiepilogo (the deduction
/// before the other buildings).
RigaVersamento versamento(std::string_view comune, std::string_view data, std::string_view anno,
                          char tipo, const std::array<std::int64_t, 6>& importi) {
    RigaVersamento r;
    r.colonne(4, comune).tipo(tipo).data(data).cf(kCodiceValido).campo(Campo::annoimposta, anno);
    for (std::size_t j = 0; j < importi.size(); ++j) {
        r.campo(kCampiRiepilogo[j], cifre(importi[j], posizione(kCampiRiepilogo[j]).larghezza));
    }
    return r;
}

/// "key kind n=payments v=violation payments a=anomalies", the six sums of the
/// ordinary payments and, after "|", those of the violation ones, exact, in
/// stored units.
std::string descrivi(const GruppoRiepilogo& g) {
    std::string s = g.chiave;
    if (g.tipo != '\0') {
        s += ' ';
        s += g.tipo;
    }
    s += " n=" + std::to_string(g.versamenti) + " v=" + std::to_string(g.violazioni) +
         " a=" + std::to_string(g.anomalie);
    for (const auto* somme : {&g.ordinari, &g.violazione}) {
        s += somme == &g.violazione ? " |" : "";
        for (const SommaEsatta& i : *somme) {
            s += ' ' + testoEsatto(i.numero(), false);
        }
    }
    return s;
}

Esito<Riepilogo> riepilogaFile(const std::string& percorso, const Controllo& c = {},
                               std::size_t parti = 0, const AmbitoRiepilogo& ambito = {}) {
    auto a = ArchivioLavoro::apriarchivio(percorso);
    if (!a) {
        return a.errore();
    }
    return riepiloga(*a, c, parti, ambito);
}

// A payment that breaks rules is one anomaly however many it breaks, and so is a
// duplicate, whether or not it breaks a rule of its own.
TEST(Riepilogo, GroupsByEachKeyInAscendingOrderWithOrdinaryBeforeViolation) {
    const RigaVersamento primo = versamento("H501", "20030715", "03", '3', {10, 1, 2, 3, 5, 4});
    const RigaVersamento dueRegole =
        versamento("A001", "20030132", "02", '6', {1500, 100, 200, 300, 400, 500}).cf("XXX");
    CartellaTemporanea dir;
    const std::string w = dir.scrivi(
        "iciview.out",
        lavoro({primo, dueRegole,
                versamento("A001", "20040301", "02", ' ', {20, 2, 4, 6, 0, 8}),  // blank: ordinary
                versamento("H501", "20030702", "95", '3', {1000, 1000, 0, 0, 0, 0}), primo,
                dueRegole}));
    const auto r = riepilogaFile(w);
    ASSERT_TRUE(r.ok()) << r.errore().descrizione();
    const std::string violazioni = " | 3000 200 400 600 800 1000";
    const struct {
        Raggruppamento per;
        std::vector<std::string> attesi;
    } casi[] = {
        {Raggruppamento::anno,
         {"1995 O n=1 v=0 a=0 1000 1000 0 0 0 0 | 0 0 0 0 0 0",
          "2002 O n=1 v=0 a=0 20 2 4 6 0 8 | 0 0 0 0 0 0",
          "2002 V n=2 v=2 a=2 0 0 0 0 0 0" + violazioni,
          "2003 O n=2 v=0 a=1 20 2 4 6 10 8 | 0 0 0 0 0 0"}},
        // A violation payment's sums stay apart from the ordinary ones of its group.
        {Raggruppamento::mese,
         {"2003-01 n=2 v=2 a=2 0 0 0 0 0 0" + violazioni,
          "2003-07 n=3 v=0 a=1 1020 1002 4 6 10 8 | 0 0 0 0 0 0",
          "2004-03 n=1 v=0 a=0 20 2 4 6 0 8 | 0 0 0 0 0 0"}},
        {Raggruppamento::comune,
         {"A001 n=3 v=2 a=2 20 2 4 6 0 8" + violazioni,
          "H501 n=3 v=0 a=1 1020 1002 4 6 10 8 | 0 0 0 0 0 0"}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(std::string(nomeRaggruppamento(c.per)));
        std::vector<std::string> gruppi;
        for (const auto& g : r->per(c.per)) {
            gruppi.push_back(descrivi(g));
        }
        EXPECT_EQ(gruppi, c.attesi);
    }
    EXPECT_EQ(descrivi(r->totale), " n=6 v=2 a=3 1040 1004 8 12 10 16" + violazioni);
    EXPECT_FALSE(r->parziale);

    // Progress, cancel and a file changed meanwhile are the pass's; the summary
    // hands its error on and gives no totals of part of a file.
    std::atomic<bool> annulla{true};
    Controllo controllo;
    controllo.annulla = &annulla;
    const auto annullato = riepilogaFile(w, controllo);
    ASSERT_FALSE(annullato.ok());
    EXPECT_EQ(annullato.errore().codice, CodiceErrore::Annullato);
    EXPECT_EQ(annullato.errore().percorso, w);
}

TEST(Riepilogo, FieldsThatAreNotPlainDigitsFollowTheNumericValueRule) {
    // Payments of one group, total and deduction; each text that is not plain digits
    // has a plain amount in the other field of its payment.
    const std::pair<std::string_view, std::string_view> importi[] = {
        {"-0000000050", "00000100"}, {"      12.25", "00000003"}, {"           ", "00000000"},
        {"+0000000007", "00000000"}, {"00000012.05", "00000000"}, {"00000000100", "  -1.005"},
        {"00000000001", "12ab3456"}, {"00000000000", "0000000."}, {"00000000000", "000001:0"}};
    std::string dati;
    for (const auto& [totale, detrazione] : importi) {
        dati += versamento("H501", "20030715", "03", '3', {0, 0, 0, 0, 0, 0})
                    .campo(Campo::totale, totale)
                    .campo(Campo::detrazione, detrazione)
                    .record();
    }
    CartellaTemporanea dir;
    const auto r = riepilogaFile(dir.scrivi("iciview.out", dati));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(testoEsatto(r->totale.ordinari[0].numero(), false), "82.3");
    EXPECT_EQ(testoEsatto(r->totale.ordinari[4].numero(), false), "114.995");
}

TEST(Riepilogo, LargeSumsAreExactToTheUnitAcrossBlocksAndAStatementKeepsFileOrder) {
    // 11-digit totals over many blocks go far past what a double holds exactly
    // (2^53), with a negative or blank-padded amount now and then. Every seventh
    // payment is of the code of the statement, the next of that code one letter
    // short.
    constexpr std::int64_t kVersamenti = 3 * 4096 * 8 + 17;
    std::array<std::array<std::int64_t, 6>, 4> attese{};  // by year 2001-2003, then all
    std::array<std::vector<std::uint64_t>, 3> estratto;   // the statement's records, by year
    std::string dati;
    dati.reserve(static_cast<std::size_t>(kVersamenti) * Versamento::kLunghezzaRecord);
    for (std::int64_t i = 0; i < kVersamenti; ++i) {
        const std::array<std::int64_t, 6> importi = {
            99'999'999'999 - i, 9'999'999'999 - i, i, 1'234'567'890, 99'999'999 - i % 7, i % 1000};
        const auto anno = static_cast<std::size_t>(i % 3);
        RigaVersamento r = versamento("H501", "20040115",
                                      std::to_string(anno + 1).insert(0, 1, '0'), '3', importi);
        std::array<std::int64_t, 6> valori = importi;
        if (i % 997 == 0) {
            r.campo(Campo::terreni, cifre(i, 9).insert(0, 1, '-'));
            valori[1] = -i;
        } else if (i % 991 == 0) {
            const std::string v = std::to_string(i % 1000);
            r.campo(Campo::altrifabbricati, std::string(10 - v.size(), ' ') + v);
        }
        if (i % 7 == 0) {
            r.cf("RSSMRA80A01H501U");
            estratto[anno].push_back(static_cast<std::uint64_t>(i + 1));
        } else if (i % 7 == 1) {
            r.cf("RSSMRA80A01H501");
        }
        for (std::size_t j = 0; j < 6; ++j) {
            attese[anno][j] += valori[j];
            attese[3][j] += valori[j];
        }
        dati += r.record();
    }
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("iciview.out", dati);
    // One pass, or parts on threads of their own whose groups are added up after.
    for (std::size_t parti : {1, 3}) {
        SCOPED_TRACE(parti);
        const auto r = riepilogaFile(w, {}, parti);
        ASSERT_TRUE(r.ok());
        const auto& anni = r->per(Raggruppamento::anno);
        ASSERT_EQ(anni.size(), 3u);
        for (std::size_t a = 0; a < 4; ++a) {
            for (std::size_t j = 0; j < 6; ++j) {
                EXPECT_EQ(testoEsatto((a < 3 ? anni[a] : r->totale).ordinari[j].numero(), false),
                          std::to_string(attese[a][j]))
                    << "anno " << a << " campo " << j;
            }
        }
        EXPECT_EQ(r->totale.versamenti, static_cast<std::uint64_t>(kVersamenti));
        // The other groupings share out the same payments.
        EXPECT_EQ(descrivi(r->per(Raggruppamento::comune)[0]), "H501" + descrivi(r->totale));
        EXPECT_EQ(descrivi(r->per(Raggruppamento::mese)[0]), "2004-01" + descrivi(r->totale));

        // A statement totals one code and keeps its records in file order.
        AmbitoRiepilogo ambito;
        ambito.solo = Raggruppamento::anno;
        ambito.codiceFiscale = "RSSMRA80A01H501U  ";  // blanks at the end do not count
        const auto e = riepilogaFile(w, {}, parti, ambito);
        ASSERT_TRUE(e.ok());
        ASSERT_EQ(e->per(Raggruppamento::anno).size(), 3u);
        for (std::size_t a = 0; a < 3; ++a) {
            EXPECT_EQ(e->per(Raggruppamento::anno)[a].record, estratto[a]);
            EXPECT_EQ(e->per(Raggruppamento::anno)[a].versamenti, estratto[a].size());
        }
        EXPECT_TRUE(e->per(Raggruppamento::comune).empty());
        ambito.codiceFiscale = "RSSMRA80A01H501UX";  // longer than the field: no one
        EXPECT_EQ(riepilogaFile(w, {}, parti, ambito)->totale.versamenti, 0u);
    }
}

/// A summary of one group, by year and by municipality.
Riepilogo unGruppo(const std::string& chiave) {
    Riepilogo r;
    r.gruppi[static_cast<std::size_t>(Raggruppamento::anno)] = {test::gruppo(chiave, 'O')};
    r.gruppi[static_cast<std::size_t>(Raggruppamento::comune)] = {test::gruppo(chiave, '\0')};
    r.totale = test::gruppo("", '\0');
    return r;
}

TEST(TabellaRiepilogo, CsvHasHeadersRowsAndGrandTotalWithCommaDecimalsAndIsSavedWhole) {
    // The total of both kinds, then the ordinary payments' parts, then the violation
    // payments' parts: never one column for amounts of two meanings.
    const std::string colonne =
        "Versamenti;Versamenti su violazione;Totale;Terreni;Aree fabbricabili;"
        "Abitazione principale;Detrazione;Altri fabbricati;Imposta;Sanzioni;Pena pec.;"
        "Interessi;Altri fabbricati su violazione;Anomalie\r\n";
    const std::string lire = "3;1;124456;-1234;0;5;100;1;200;300;400;70;30;4\r\n";
    const std::string euro =
        "3;1;1244,56;-12,34;0,00;0,05;1,00;0,01;2,00;3,00;4,00;0,70;0,30;4\r\n";
    const auto tab = [](std::string s) {
        std::replace(s.begin(), s.end(), ';', '\t');
        return s;
    };
    const struct {
        Riepilogo riepilogo;
        Raggruppamento per;
        bool euro;
        char separatore;
        std::string atteso;
    } casi[] = {
        {unGruppo("2003"), Raggruppamento::anno, true, ';',
         "Anno;Tipo;" + colonne + "2003;O;" + euro + "Totale generale;;" + euro},
        {unGruppo("2003"), Raggruppamento::anno, false, ';',
         "Anno;Tipo;" + colonne + "2003;O;" + lire + "Totale generale;;" + lire},
        // A key is Windows-1252 as stored; quoted when it holds the separator or a quote.
        {unGruppo("A;B"), Raggruppamento::comune, false, ';',
         "Comune;" + colonne + "\"A;B\";" + lire + "Totale generale;" + lire},
        {unGruppo("A\"\xC0"), Raggruppamento::comune, false, ';',
         "Comune;" + colonne + "\"A\"\"\xC3\x80\";" + lire + "Totale generale;" + lire},
        // A key a spreadsheet would take for a formula stays text; numbers stay numbers.
        {unGruppo("=1+1"), Raggruppamento::comune, false, ';',
         "Comune;" + colonne + "\"'=1+1\";" + lire + "Totale generale;" + lire},
        {unGruppo("A;B"), Raggruppamento::comune, false, '\t',
         tab("Comune;" + colonne) + "A;B\t" + tab(lire + "Totale generale;" + lire)},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(testoCsv(c.riepilogo, c.per, c.euro, c.separatore), c.atteso);
    }

    // Saved, the table replaces the file whole, and never the work file.
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("iciview.out", "payments");
    Riepilogo r = unGruppo("2003");
    r.archivio = w;
    const std::string csv = dir.scrivi("riepilogo.csv", "old");

    ASSERT_TRUE(salvaCsv(r, Raggruppamento::anno, true, csv).ok());
    EXPECT_EQ(leggiFile(csv), testoCsv(r, Raggruppamento::anno, true));

    for (const auto& [destinazione, codice] :
         {std::pair{w, CodiceErrore::Uso},
          std::pair{dir.file("manca/riepilogo.csv"), CodiceErrore::InputOutput}}) {
        const EsitoVuoto e = salvaCsv(r, Raggruppamento::anno, true, destinazione);
        ASSERT_FALSE(e.ok()) << destinazione;
        EXPECT_EQ(e.errore().codice, codice);
        EXPECT_EQ(e.errore().percorso, destinazione);
    }
    EXPECT_EQ(leggiFile(w), "payments");
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "riepilogo.csv"}));
}

}  // namespace
}  // namespace pliventa
