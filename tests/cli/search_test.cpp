#include <gtest/gtest.h>

#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

// The match, the key, the filter and the order are the core's tests; here, that
// the typed prefix and each option reach them, operands that look like options,
// --anomalie without a value, the numbers printed in the list's order, and the
// warning about the final record cut short.
TEST(CliSearchList, OptionsReachTheCoreAndTheNumbersArePrinted) {
    test::CartellaTemporanea dir;
    const std::string w = dir.scrivi(
        "w", test::lavoro({test::pulito().data("20030201"),
                           test::pulito().cf("BNCLRA80B41F205X").data("20030101").tipo('6'),
                           test::pulito().cf("  RSSGNN").data("20020101"),
                           test::pulito().cf("-RSS").data("20030301")}) +
                 std::string(60, ' '));
    const struct {
        std::vector<std::string> argomenti;
        std::string atteso;
    } casi[] = {
        {{"search", w, "  rss "}, "1\n3\n"},  // upper-cased and trimmed by the search's key
        {{"search", w, ""}, "1\n2\n3\n4\n"},  // an empty prefix matches every record
        {{"search", w, "-"}, "4\n"},          // a lone "-" is an operand
        {{"search", "--", w, "-R"}, "4\n"},
        {{"list", w}, "1\n2\n3\n4\n"},
        {{"list", w, "--sort", "data"}, "3\n2\n1\n4\n"},
        {{"list", w, "--sort", "data:desc", "--cf", "rss"}, "1\n3\n"},
        {{"list", w, "--tipo", "V"}, "2\n"},
        {{"list", w, "--anomalie", "--sort", "n:desc"}, "4\n3\n2\n"},  // short codes, check letter
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(testing::PrintToString(c.argomenti));
        const auto r = test::lancia(c.argomenti);
        EXPECT_EQ(r.codice, 0) << r.err;
        EXPECT_EQ(r.out, c.atteso);
        EXPECT_EQ(r.err, test::avvisoParziale(w));
    }
}

}  // namespace
}  // namespace pliventa
