// The commands that read a work file and print what they find: check, search,
// list, summary and statement. What they find is the core's tests; here, that
// the options reach the core and what it finds is printed as each format says.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "lancio.h"
#include "righe.h"
#include "summary/tabella.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

std::string riga(int record, std::string_view regola, std::string_view valore) {
    return "{\"record\":" + std::to_string(record) + ",\"rule\":\"" + std::string(regola) +
           "\",\"value\":\"" + std::string(valore) + "\"}\n";
}

// The rules themselves are the checks' own tests; here only what the command
// adds: the lines, their order, the currency, the count and the exit code.
TEST(CliCheck, OneLinePerRuleBrokenInRecordOrderAcrossParts) {
    CartellaTemporanea dir;
    const RigaVersamento pulito = test::pulito();
    const RigaVersamento cattivo = RigaVersamento(pulito).data("20030231");
    // Record 2 breaks two rules, its codice fiscale holding a quote, È and a byte
    // Windows-1252 leaves undefined; record 3 is a credit; 4 and 5 copy 1 and 2.
    // Then enough payments for the pass to split them among the processors, each a
    // duplicate but the first bad one, so that the lines of a round come from every
    // part; and a final record cut short.
    constexpr int kVolte = 20000;
    const std::string due = RigaVersamento(cattivo).cf("RSS\"\xC8\x81          ").record();
    const std::string w = dir.scrivi(
        "w", pulito.record() + due +
                 RigaVersamento(pulito)
                     .colonne(63, "0-0000012345")
                     .campo(Campo::abitazioneprincipale, "-000012345")
                     .record() +
                 pulito.record() + due + test::ripeti(pulito.record() + cattivo.record(), kVolte) +
                 pulito.record().substr(0, 100));
    const auto righeDue = [](int n) {
        return riga(n, "codice_fiscale", R"(RSS\"È\u0081)") +
               riga(n, "data_versamento", "31/02/2003");
    };
    std::string copie = riga(4, "duplicato", "uguale al versamento 1") + righeDue(5) +
                        riga(5, "duplicato", "uguale al versamento 2");
    for (int n = 6; n < 6 + 2 * kVolte; n += 2) {
        copie += riga(n, "duplicato", "uguale al versamento 1") +
                 riga(n + 1, "data_versamento", "31/02/2003") +
                 (n > 6 ? riga(n + 1, "duplicato", "uguale al versamento 7") : "");
    }
    for (const std::string valuta : {"E", "L"}) {
        const auto r = lancia({"check", w, "--valuta", valuta});
        EXPECT_EQ(r.codice, 0) << r.err;  // anomalies are data, not an error
        const std::string atteso =
            righeDue(2) + riga(3, "totale_negativo", valuta == "L" ? "-12345" : "-123.45") + copie;
        // From the first difference only: a diff of outputs this long fills the memory.
        const auto da = static_cast<std::size_t>(
            std::mismatch(r.out.begin(), r.out.end(), atteso.begin(), atteso.end()).first -
            r.out.begin());
        EXPECT_EQ(r.out.substr(da, 300), atteso.substr(da, 300)) << "from byte " << da;
        EXPECT_EQ(r.err, "controllati 40005 versamenti, anomalie: 60006 in 40004 versamenti\n" +
                             test::avvisoParziale(w));
    }
}

// A payment of the codice fiscale the statement asks for.
RigaVersamento versamento(std::string_view comune, std::string_view data, char tipo) {
    return RigaVersamento().colonne(4, comune).tipo(tipo).data(data).cf("00000000000");
}

// Two payments of H501 in 2003 (an ordinary and a violation one) and an ordinary
// one of A001 with a wrong codice fiscale, then half a record. The amounts from
// column 64: total, land, building land, main dwelling, other buildings, deduction
// (of a violation: total, tax, penalties, pecuniary penalty, other buildings, interest).
std::string treVersamenti() {
    const std::string tre =
        versamento("H501", "20030715", '3')
            .campo(Campo::annoimposta, "03")
            .colonne(64, "00000123456000000100000000000000000100000000002245600010329")
            .record() +
        versamento("H501", "20030801", '6')
            .campo(Campo::annoimposta, "03")
            .colonne(64, "00000005700000000300000000010000000000500000000070000000500")
            .record() +
        versamento("A001", "20040110", '3')
            .cf("XXX")
            .campo(Campo::annoimposta, "02")
            .colonne(64, "000000001000000000100")
            .record();
    return tre + tre.substr(0, 101);
}

// The match, the key, the filter and the order are the core's tests; here, that
// the typed prefix and each option reach them, operands that look like options,
// --anomalie without a value, the numbers printed in the list's order; the
// summary's three formats and the statement's records; and the warning about the
// final record cut short.
TEST(CliLetture, OptionsReachTheCoreAndEachFormatIsPrinted) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi(
        "w", test::lavoro({test::pulito().data("20030201"),
                           test::pulito().cf("BNCLRA80B41F205X").data("20030101").tipo('6'),
                           test::pulito().cf("  RSSGNN").data("20020101"),
                           test::pulito().cf("-RSS").data("20030301")}) +
                 std::string(60, ' '));
    const std::string s = dir.scrivi("iciview.out", treVersamenti());
    const struct {
        std::vector<std::string> argomenti;
        testing::Matcher<const std::string&> atteso;
    } casi[] = {
        {{"search", w, "  rss "}, "1\n3\n"},  // upper-cased and trimmed by the search's key
        {{"search", w, ""}, "1\n2\n3\n4\n"},  // an empty prefix matches every record
        {{"search", w, "-"}, "4\n"},          // a lone "-" is an operand
        {{"search", w, "--", "-R"}, "4\n"},
        {{"list", w}, "1\n2\n3\n4\n"},
        {{"list", w, "--sort", "data"}, "3\n2\n1\n4\n"},
        {{"list", w, "--sort", "data:desc", "--cf", "rss"}, "1\n3\n"},
        {{"list", w, "--tipo", "V"}, "2\n"},
        {{"list", w, "--anno", "2002"}, ""},  // every payment's tax year is 2003
        {{"list", w, "--anomalie", "--sort", "n:desc"}, "4\n3\n2\n"},  // short codes, check letter
        {{"summary", s, "--by", "comune"},
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
        {{"summary", s, "--by=mese", "--format", "csv", "--valuta", "L"},
         testoCsv(*riepiloga(*ArchivioLavoro::apriarchivio(s)), Raggruppamento::mese, false)},
        // A grouping without a kind writes "tipo": null; of the two rows, the one
        // with every amount.
        {{"summary", s, "--format=json", "--by", "comune"},
         testing::EndsWith(
             R"({"group": "H501", "tipo": null, "versamenti": 2, "versamenti_violazione": 1, )"
             R"("totale": 1291.56, "terreni": 10.00, "aree_fabbricabili": 0.00, )"
             R"("abitazione_principale": 1000.00, "detrazione": 103.29, )"
             R"("altri_fabbricati": 224.56, "imposta": 30.00, "sanzioni": 10.00, )"
             R"("pena_pecuniaria": 5.00, "interessi": 5.00, "altri_fabbricati_violazione": 7.00, )"
             R"("anomalie": 0})"
             "\n")},
        // The statement: the code reaches the core and JSON rows carry their records.
        {{"statement", s, "00000000000", "--format", "json"},
         testing::HasSubstr(
             "\"records\": [1]}\n{\"group\": \"2003\", \"tipo\": \"V\", \"versamenti\": 1,")},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(testing::PrintToString(c.argomenti));
        const auto r = lancia(c.argomenti);
        EXPECT_EQ(r.codice, 0) << r.err;
        EXPECT_THAT(r.out, c.atteso);
        EXPECT_EQ(r.err, test::avvisoParziale(c.argomenti[1]));
    }
}

}  // namespace
}  // namespace pliventa
