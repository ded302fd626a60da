// pliventa-cli summary: the three formats and the options reach the core; the
// grouping and the sums themselves are the core's tests.
#include <gtest/gtest.h>

#include "lancio.h"
#include "righe.h"
#include "summary/tabella.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

RigaVersamento versamento(std::string_view comune, std::string_view data, char tipo) {
    return RigaVersamento().colonne(4, comune).tipo(tipo).data(data).cf("00000000000");
}

// Two payments of H501 in 2003 (an ordinary and a violation one) and an ordinary
// one of A001 with a wrong codice fiscale, then half a record.
std::string treVersamenti() {
    const std::string tre = versamento("H501", "20030715", '3')
                                .campo(Campo::annoimposta, "03")
                                .campo(Campo::totale, "00000123456")
                                .campo(Campo::terreni, "0000001000")
                                .campo(Campo::areefabbricabili, "0000000000")
                                .campo(Campo::abitazioneprincipale, "0000100000")
                                .campo(Campo::altrifabbricati, "0000022456")
                                .campo(Campo::detrazione, "00010329")
                                .record() +
                            versamento("H501", "20030801", '6')
                                .campo(Campo::annoimposta, "03")
                                .campo(Campo::totale, "00000005700")
                                .campo(Campo::terreni, "0000003000")
                                .campo(Campo::areefabbricabili, "0000001000")
                                .campo(Campo::abitazioneprincipale, "0000000500")
                                .campo(Campo::altrifabbricati, "0000000700")
                                .campo(Campo::detrazione, "00000500")
                                .record() +
                            versamento("A001", "20040110", '3')
                                .cf("XXX")
                                .campo(Campo::annoimposta, "02")
                                .campo(Campo::totale, "00000000100")
                                .campo(Campo::terreni, "0000000100")
                                .record();
    return tre + tre.substr(0, 101);
}

TEST(CliSummary, TextCsvAndJsonWithTheirOptions) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("iciview.out", treVersamenti());
    const struct {
        std::vector<std::string> argomenti;
        std::string atteso;
    } casi[] = {
        {{"summary", w, "--by", "comune"},
         "Comune           Versamenti  Versamenti su violazione   Totale  Terreni  "
         "Aree fabbricabili  Abitazione principale  Detrazione  Altri fabbricati  Imposta  "
         "Sanzioni  Pena pec.  Interessi  Altri fabbricati su violazione  Anomalie\n"
         "A001                      1                         0     1.00     1.00  "
         "             0.00                   0.00        0.00              0.00     0.00  "
         "    0.00       0.00       0.00                            0.00         1\n"
         "H501                      2                         1  1291.56    10.00  "
         "             0.00                1000.00      103.29            224.56    30.00  "
         "   10.00       5.00       5.00                            7.00         0\n"
         "Totale generale           3                         1  1292.56    11.00  "
         "             0.00                1000.00      103.29            224.56    30.00  "
         "   10.00       5.00       5.00                            7.00         1\n"},
        // The core's CSV, with the grouping and the currency asked.
        {{"summary", w, "--by=mese", "--format", "csv", "--valuta", "L"},
         testoCsv(*riepiloga(*ArchivioLavoro::apriarchivio(w)), Raggruppamento::mese, false)},
        // A grouping without a kind writes "tipo": null; of the two rows, the one
        // with every amount.
        {{"summary", w, "--format=json", "--by", "comune"},
         R"({"group": "H501", "tipo": null, "versamenti": 2, "versamenti_violazione": 1, )"
         R"("totale": 1291.56, "terreni": 10.00, "aree_fabbricabili": 0.00, )"
         R"("abitazione_principale": 1000.00, "detrazione": 103.29, "altri_fabbricati": 224.56, )"
         R"("imposta": 30.00, "sanzioni": 10.00, "pena_pecuniaria": 5.00, "interessi": 5.00, )"
         R"("altri_fabbricati_violazione": 7.00, "anomalie": 0})"
         "\n"},
    };
    for (const auto& c : casi) {
        const auto r = lancia(c.argomenti);
        EXPECT_EQ(r.codice, 0) << r.err;
        EXPECT_NE(r.out.find(c.atteso), std::string::npos) << r.out;
        EXPECT_EQ(r.err, test::avvisoParziale(w));
    }
}

// The statement is the summary's pass over one code: here, that the code reaches
// it, JSON rows carry their records, and no payment is told on standard error.
TEST(CliStatement, OneCodesRowsWithTheirRecords) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("w", treVersamenti());
    const auto r = test::lancia({"statement", w, "00000000000", "--format", "json"});
    EXPECT_EQ(r.codice, 0) << r.err;
    EXPECT_NE(r.out.find("\"tipo\": \"O\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"anomalie\": 0, \"records\": [1]}\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"records\": [2]}\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\"group\": \"2002\""), std::string::npos) << r.out;

    const auto nessuno = test::lancia({"statement", w, "YYY", "--format", "json"});
    EXPECT_EQ(nessuno.codice, 0);
    EXPECT_EQ(nessuno.out, "");
    EXPECT_NE(nessuno.err.find("nessun versamento del codice fiscale YYY"), std::string::npos);
}

}  // namespace
}  // namespace pliventa
