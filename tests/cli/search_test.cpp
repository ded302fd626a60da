#include <gtest/gtest.h>

#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

TEST(CliSearch, PrintsTheNumbersOfTheMatchingRecords) {
    CartellaTemporanea dir;
    const std::string w =
        dir.scrivi("w", RigaVersamento().tipo('3').cf("RSSMRA70A01H501U").record() +
                            RigaVersamento().tipo('6').cf("  RSSGNN").record() +
                            RigaVersamento().tipo('3').cf("rssmra70a01h501u").record() +
                            RigaVersamento().tipo('3').cf("BNCLRA80B41F205X").record() +
                            RigaVersamento().tipo('3').cf("\xC0RSS").record() +
                            RigaVersamento().tipo('3').cf("RSS").record());
    const struct {
        std::string prefisso;
        std::string atteso;
    } casi[] = {
        {"RSS", "1\n2\n6\n"},
        {"rss", "1\n2\n6\n"},        // the prefix is upper-cased, the record is not
        {"  rssm ", "1\n"},          // and trimmed
        {"", "1\n2\n3\n4\n5\n6\n"},  // an empty prefix matches every record
        {"RSSMRA70A01H501U0", ""},   // longer than the field
        {"\xC3\xA0rss", "5\n"},      // "àrss" is "ÀRSS" in the work file's code page
        {"\xE4\xB8\xAD", ""},        // a character the work file cannot hold
        {"ZZZ", ""},
    };
    for (const auto& c : casi) {
        const auto r = lancia({"search", w, c.prefisso});
        EXPECT_EQ(r.codice, 0) << c.prefisso << "\n" << r.err;
        EXPECT_EQ(r.out, c.atteso) << c.prefisso;
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliSearch, StopsAtTheLastWholeRecord) {
    CartellaTemporanea dir;
    const std::string riga = RigaVersamento().cf("RSS").record();
    const auto r = lancia({"search", dir.scrivi("w", riga + riga + riga.substr(0, 60)), "R"});
    EXPECT_EQ(r.codice, 0);
    EXPECT_EQ(r.out, "1\n2\n");
}

}  // namespace
}  // namespace pliventa
