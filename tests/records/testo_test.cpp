#include "records/testo.h"

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

TEST(Cp1252, KnownCharacters) {
    EXPECT_EQ(daCp1252("\x80"), "€");
    EXPECT_EQ(daCp1252("citt\xE0"), "città");
    EXPECT_EQ(daCp1252("\x81"), "\xC2\x81");  // undefined byte kept as a control character
    EXPECT_EQ(aCp1252("perché €"), std::string("perch\xE9 \x80"));
    EXPECT_EQ(aCp1252("日本"), std::nullopt);
    EXPECT_EQ(aCp1252("\xC3"), std::nullopt);  // truncated UTF-8
}

TEST(Maiuscolo, UpperCasesTheCodePageLetters) {
    EXPECT_EQ(maiuscolo("rss mra"), "RSS MRA");
    EXPECT_EQ(maiuscolo("àèìòù ÿ œ"), "ÀÈÌÒÙ Ÿ Œ");
    EXPECT_EQ(maiuscolo("÷ß1-"), "÷ß1-");
}

}  // namespace
}  // namespace pliventa
