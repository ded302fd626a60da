#include "cli/json.h"

#include <gtest/gtest.h>

namespace pliventa::cli {
namespace {

TEST(Json, NumbersAreWrittenExactlyFromTheFieldText) {
    const struct {
        std::string_view campo;
        bool centesimi;
        std::string_view atteso;
    } casi[] = {
        {"00000123456", true, "1234.56"},  // never 1234.5599999999999
        {"00000123456", false, "123456"},
        {"00000000100", true, "1.00"},  // whole euros keep two decimals
        {"00000000005", true, "0.05"},
        {"00000000000", true, "0.00"},
        {"00000000000", false, "0"},
        {"           ", true, "0.00"},  // no digits
        {"-000001234", true, "-12.34"},
        {"-000001234", false, "-1234"},
        {"-000000000", true, "0.00"},    // no negative zero
        {"  12 34    ", false, "1234"},  // blanks are skipped anywhere
        {"99999999999", true, "999999999.99"},
        {"0000012X345", false, "12"},  // the first other character ends it
        {"+0000000007", false, "7"},
        {"12.5", true, "0.125"},  // a decimal point is honoured exactly
        {"12.50", false, "12.5"},
        {"--5", false, "0"},  // a second sign ends the number
        {"0003", false, "3"},
    };
    for (const auto& c : casi) {
        std::string out;
        aggiungiNumero(out, c.campo, c.centesimi);
        EXPECT_EQ(out, c.atteso) << "'" << c.campo << "' centesimi=" << c.centesimi;
    }
}

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
