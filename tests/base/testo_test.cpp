#include "base/testo.h"

#include <gtest/gtest.h>

namespace pliventa {
namespace {

TEST(Cp1252, DecodesEveryByteEncodesItBackAndUpperCasesItsLetters) {
    std::string tutti;
    for (int b = 1; b < 256; ++b) {
        tutti += static_cast<char>(b);
    }
    EXPECT_EQ(aCp1252(daCp1252(tutti)), tutti);
    EXPECT_EQ(daCp1252("\x80"), "€");
    EXPECT_EQ(daCp1252("citt\xE0"), "città");
    EXPECT_EQ(daCp1252("\x81"), "\xC2\x81");  // undefined byte kept as a control character
    EXPECT_EQ(aCp1252("perché €"), std::string("perch\xE9 \x80"));
    EXPECT_EQ(aCp1252("日本"), std::nullopt);
    EXPECT_EQ(maiuscolo("rss mra"), "RSS MRA");
    EXPECT_EQ(maiuscolo("àèìòù ÿ œ"), "ÀÈÌÒÙ Ÿ Œ");
    EXPECT_EQ(maiuscolo("÷ß1-"), "÷ß1-");
}

TEST(Utf8, OnlyWellFormedTextIsValidAndConverted) {
    // The first and last code points of one to four bytes, and those beside the
    // surrogates.
    for (const std::string_view buono :
         {"", "\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEE\x80\x80",
          "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(utf8Valido(buono)) << testing::PrintToString(buono);
    }
    // Overlong forms (V, NUL, U+07FF in three, U+FFFF in four), surrogates, past
    // U+10FFFF, lead bytes past F7, a lead byte where a continuation belongs, cut
    // short at the end or by an ordinary character, a continuation alone or too many.
    for (const std::string_view c :
         {"\xC1\x96", "\xC0\x80", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
          "\xED\xBF\xBF", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xF8\x90\x80\x80", "\xFF",
          "\xC3\xE0", "a\xC3", "\xE2\x82", "\xC3\x61", "\x80", "\xC3\xA0\xA0"}) {
        EXPECT_FALSE(utf8Valido(c)) << testing::PrintToString(c);
        EXPECT_EQ(aCp1252(c), std::nullopt) << testing::PrintToString(c);
    }
}

TEST(TestoNonFormula, TextASpreadsheetWouldReadAsAFormulaGetsAnApostrophe) {
    for (const std::string_view c : {"=1+1", "+39", "-5", "@SUM(A1)", "\tA", "\rA"}) {
        EXPECT_EQ(testoNonFormula(c), std::string("'").append(c)) << testing::PrintToString(c);
    }
    for (const std::string_view c : {"A=1", "H501", "", "'A", " =1"}) {
        EXPECT_EQ(testoNonFormula(c), c);
    }
}

}  // namespace
}  // namespace pliventa
