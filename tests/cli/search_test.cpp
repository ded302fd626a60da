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
