// The strings of the dump's JSON. Its numbers are the exact text of the field as
// read, a rule of the records tested there.
#include "cli/json.h"

#include <gtest/gtest.h>

namespace pliventa::cli {
namespace {

TEST(Json, StringsAreDecodedFromWindows1252AndEscaped) {
    const struct {
        std::string_view cp1252;
        std::string_view atteso;
    } casi[] = {
        {"RSS  ", R"("RSS  ")"},
        {R"(a"b\c)", R"("a\"b\\c")"},
        {"\x01\t\r\n\x1F\x7F", R"("\u0001\u0009\u000d\u000a\u001f\u007f")"},
        {"\xC0\xE8", "\"\xC3\x80\xC3\xA8\""},  // À è
        {"\x80", "\"\xE2\x82\xAC\""},          // the euro sign
        {"\x81\x9D", R"("\u0081\u009d")"},     // undefined bytes: C1 controls, escaped
        {"\xA0", "\"\xC2\xA0\""},              // no-break space is text
        {std::string_view("a\0b", 3), R"("a\u0000b")"},
    };
    for (const auto& c : casi) {
        std::string out;
        aggiungiStringa(out, c.cp1252);
        EXPECT_EQ(out, c.atteso);
    }
}

}  // namespace
}  // namespace pliventa::cli
