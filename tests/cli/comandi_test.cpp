// The commands that read a work file or convert one, through the real program:
// what each adds to the core (its lines, counts and exit code); the rules
// themselves are the core's tests.
#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "lancio.h"
#include "libro_letto.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::leggiFile;
using test::RigaVersamento;

TEST(CliCheck, OneLinePerRuleBrokenInRecordOrder) {
    CartellaTemporanea dir;
    const RigaVersamento pulito = test::pulito();
    // Record 2 breaks two rules, its codice fiscale holding a quote, È and a byte
    // Windows-1252 leaves undefined; record 3 is a credit.
    const std::string w = dir.scrivi(
        "w", pulito.record() +
                 RigaVersamento(pulito).data("20030231").cf("RSS\"\xC8\x81          ").record() +
                 RigaVersamento(pulito)
                     .colonne(63, "0-0000012345")
                     .campo(Campo::abitazioneprincipale, "-000012345")
                     .record() +
                 pulito.record().substr(0, 100));  // a final record cut short
    const std::string primo = R"({"record":2,"rule":"codice_fiscale","value":"RSS\"È\u0081"})"
                              "\n"
                              R"({"record":2,"rule":"data_versamento","value":"31/02/2003"})"
                              "\n";
    const struct {
        std::vector<std::string> opzioni;
        std::string atteso;
    } casi[] = {
        {{}, primo + R"({"record":3,"rule":"totale_negativo","value":"-123.45"})" + "\n"},
        {{"--valuta", "L"},
         primo + R"({"record":3,"rule":"totale_negativo","value":"-12345"})" + "\n"},
    };
    for (const auto& c : casi) {
        std::vector<std::string> argomenti = {"check", w};
        argomenti.insert(argomenti.end(), c.opzioni.begin(), c.opzioni.end());
        const auto r = lancia(argomenti);
        EXPECT_EQ(r.codice, 0) << r.err;  // anomalies are data, not an error
        EXPECT_EQ(r.out, c.atteso);
        EXPECT_EQ(r.err,
                  "controllati 3 versamenti, anomalie: 3 in 2 versamenti\npliventa-cli: " + w +
                      ": la lunghezza non è multipla di 202 byte, ignorato un record "
                      "finale incompleto\n");
    }
}

TEST(CliExport, WritesTheBookAsTheOptionsSayAndCountsOnStderr) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi(
        "w.out",
        RigaVersamento().tipo('3').campo(Campo::totale, "00000012345").record() +
            RigaVersamento().tipo('6').campo(Campo::estremiatto, "100000123456789").record() +
            std::string(100, ' '));
    const std::string libro = dir.file("b.xlsx");
    const auto r = lancia({"export", w, "-o", libro, "--valuta", "L", "--notice", "short"});
    EXPECT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "esportati 2 versamenti in " + libro + "\npliventa-cli: " + w +
                         ": la lunghezza non è multipla di 202 byte, ignorato un record finale "
                         "incompleto\n");
    const test::LibroLetto l = test::leggiLibro(libro);
    ASSERT_EQ(l.fogli.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(l.fogli[0], std::regex(R"(Estrazione \d\d-\d\d-\d{4} \d\d\.\d\d\.\d\d)")))
        << l.fogli[0];
    EXPECT_EQ(l["D3"], "n\t12345.0\t-\tGeneral");
    EXPECT_EQ(l["K4"], "s\t123456\t-\tGeneral");
}

TEST(CliRisconet, WritesVersunirBesideTheInputAndCountsOnStderr) {
    CartellaTemporanea dir;
    const std::string in =
        dir.scrivi("risconet.txt", "INTESTAZIONE\r\n1;2003-07-15 00:00:00\r\n2;;\r\n");
    const auto r = lancia({"risconet", in, "--belfiore", "A000"});
    EXPECT_EQ(r.codice, 0) << r.err;
    const std::string out = dir.file("versunir.out");
    EXPECT_EQ(r.err,
              "lette 3 righe, convertiti 2 versamenti, scartate 1 (intestazione compresa) in " +
                  out + "\n");
    const std::string scritto = leggiFile(out);
    ASSERT_EQ(scritto.size(), 2 * 202u);
    EXPECT_EQ(scritto.substr(0, 34), "   A000000000000000000001320030715");
}

TEST(CliSearch, PrintsTheNumbersOfTheMatchingRecords) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("w", test::lavoro({RigaVersamento().cf("RSSMRA70A01H501U"),
                                                        RigaVersamento().cf("BNCLRA80B41F205X"),
                                                        RigaVersamento().cf("  RSSGNN")}));
    const struct {
        std::string prefisso;
        std::string atteso;
    } casi[] = {
        {"  rss ", "1\n3\n"},  // upper-cased and trimmed by the search's key
        {"", "1\n2\n3\n"},     // an empty prefix matches every record
    };
    for (const auto& c : casi) {
        const auto r = lancia({"search", w, c.prefisso});
        EXPECT_EQ(r.codice, 0) << c.prefisso << "\n" << r.err;
        EXPECT_EQ(r.out, c.atteso) << c.prefisso;
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliSearch, OperandsThatLookLikeOptionsAndMalformedPrefixes) {
    CartellaTemporanea dir;
    const std::string w =
        dir.scrivi("w", RigaVersamento().cf("-RSS").record() + RigaVersamento().cf("VRD").record());
    const struct {
        std::vector<std::string> argomenti;
        int codice;
        const char* out;
    } casi[] = {
        {{"search", w, "-"}, 0, "1\n"},  // a lone "-" is an operand
        {{"search", "--", w, "-R"}, 0, "1\n"}, {{"search", w, "--", "-RSS"}, 0, "1\n"},
        {{"search", w, "\xC1\x96"}, 2, ""},  // "V" in two bytes is no "V"
        {{"search", w, "\xC3"}, 2, ""},
    };
    for (const auto& c : casi) {
        const auto r = lancia(c.argomenti);
        EXPECT_EQ(r.codice, c.codice) << c.argomenti.back() << "\n" << r.err;
        EXPECT_EQ(r.out, c.out) << c.argomenti.back();
        if (c.codice == 2) {
            EXPECT_NE(r.err.find("non è testo UTF-8 valido"), std::string::npos) << r.err;
        }
    }
}

}  // namespace
}  // namespace pliventa
