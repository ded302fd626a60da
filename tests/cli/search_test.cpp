#include <gtest/gtest.h>

#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

// The match and the key are the search's own tests; here, that the typed prefix
// reaches them as it is and each match is printed by its number.
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

// The filter and the order are the core's tests; here, that each option reaches
// them, --anomalie without a value, and the rows are printed in the list's order.
TEST(CliList, OptionsReachTheFilterAndTheOrder) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi(
        "w", test::lavoro({test::pulito().data("20030201"),
                           test::pulito().cf("BNCLRA80B41F205X").data("20030101").tipo('6'),
                           test::pulito().cf("RSSGNN").data("20020101"),
                           test::pulito().data("20030301")}));
    const struct {
        std::vector<std::string> opzioni;
        std::string atteso;
    } casi[] = {
        {{}, "1\n2\n3\n4\n"},
        {{"--sort", "data"}, "3\n2\n1\n4\n"},
        {{"--sort", "data:desc", "--cf", "rss"}, "4\n1\n3\n"},
        {{"--tipo", "V"}, "2\n"},
        {{"--anomalie", "--sort", "n:desc"}, "3\n2\n"},  // a short code, a wrong check letter
    };
    for (const auto& c : casi) {
        std::vector<std::string> argomenti = {"list", w};
        argomenti.insert(argomenti.end(), c.opzioni.begin(), c.opzioni.end());
        const auto r = lancia(argomenti);
        EXPECT_EQ(r.codice, 0) << r.err;
        EXPECT_EQ(r.out, c.atteso) << testing::PrintToString(c.opzioni);
    }
}

TEST(CliSearch, StopsAtTheLastWholeRecordWithTheDumpsWarning) {
    CartellaTemporanea dir;
    const std::string riga = RigaVersamento().cf("RSS").record();
    const std::string w = dir.scrivi("w", riga + riga + riga.substr(0, 60));
    const auto r = lancia({"search", w, "R"});
    EXPECT_EQ(r.codice, 0);
    EXPECT_EQ(r.out, "1\n2\n");
    EXPECT_NE(r.err, "");
    EXPECT_EQ(r.err, lancia({"dump", w}).err);
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
        {{"search", "--", w, "-R"}, 0, "1\n"},
        {{"search", w, "\xC1\x96"}, 2, ""},  // "V" in two bytes is no "V"
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
