#include "base/testo.h"

#include <gtest/gtest.h>

namespace pliventa {
namespace {

TEST(Cp1252, DecodesEveryByteAndEncodesItBack) {
    std::string tutti;
    for (int b = 1; b < 256; ++b) {
        tutti += static_cast<char>(b);
    }
    const std::string utf8 = daCp1252(tutti);
    EXPECT_EQ(aCp1252(utf8), tutti);
}

TEST(Utf8, OnlyWellFormedTextIsValidAndConverted) {
    const struct {
        std::string_view testo;
        bool valido;
    } casi[] = {
        {"", true},
        {"\x7F", true},
        {"\xC2\x80", true},           // U+0080, the first of two bytes
        {"\xDF\xBF", true},           // U+07FF
        {"\xE0\xA0\x80", true},       // U+0800, the first of three
        {"\xED\x9F\xBF", true},       // U+D7FF, just below the surrogates
        {"\xEE\x80\x80", true},       // U+E000, just above them
        {"\xF0\x90\x80\x80", true},   // U+10000, the first of four
        {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF, the last code point
        {"\xC1\x96", false},          // "V" in two bytes
        {"\xC0\x80", false},          // NUL in two bytes
        {"\xE0\x9F\xBF", false},      // U+07FF in three
        {"\xF0\x8F\xBF\xBF", false},  // U+FFFF in four
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xED\xBF\xBF", false},      // the last surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xF8\x88\x80\x80\x80", false},
        {"\xF8\x90\x80\x80", false},  // no lead byte past F7, whatever follows
        {"\xC3\xE0", false},          // a lead byte where a continuation belongs
        {"\xFF", false},
        {"a\xC3", false},  // cut short at the end
        {"\xE2\x82", false},
        {"\xC3"
         "a",
         false},                  // cut short by an ordinary character
        {"\x80", false},          // a continuation byte alone
        {"\xC3\xA0\xA0", false},  // one continuation too many
    };
    for (const auto& c : casi) {
        EXPECT_EQ(utf8Valido(c.testo), c.valido) << testing::PrintToString(c.testo);
        if (!c.valido) {
            EXPECT_EQ(aCp1252(c.testo), std::nullopt) << testing::PrintToString(c.testo);
        }
    }
}

}  // namespace
}  // namespace pliventa
