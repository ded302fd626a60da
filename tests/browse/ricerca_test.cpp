#include "browse/ricerca.h"

#include <gtest/gtest.h>

#include "righe.h"

namespace pliventa {
namespace {

TEST(Ricerca, MatchRule) {
    const struct {
        std::string_view campo;  // field 5 as stored, 16 bytes
        std::string_view cercato;
        bool atteso;
    } casi[] = {
        {"RSSMRA70A01H501U", "RSS", true},
        {"RSSMRA70A01H501U", "", true},
        {"                ", "", true},
        {"  RSSMRA        ", "RSS", true},                 // leading blanks of the field ignored
        {"rssmra70a01h501u", "RSS", false},                // the record's case is taken as stored
        {"RSSMRA70A01H501U", "RSSMRA70A01H501UX", false},  // key longer than the field
        {"RSS             ", "RSSM", false},               // longer than the trimmed field
        {"R SS            ", "RSS", false},                // inner blanks count
        {"\xC0"
         "BC           ",
         "\xC0", true},  // Windows-1252 bytes compare as bytes
    };
    for (const auto& c : casi) {
        EXPECT_EQ(corrisponde(c.campo, c.cercato), c.atteso)
            << "'" << c.campo << "' / '" << c.cercato << "'";
    }
}

TEST(Ricerca, KeyIsUpperCasedTrimmedAndInWindows1252) {
    const struct {
        std::string_view digitato;
        std::optional<std::string> atteso;
    } casi[] = {
        {"rss", "RSS"},
        {"", ""},
        {"    ", ""},
        {"\xC3\xA0"
         "b",
         "\xC0"
         "B"},                           // "àb" -> "ÀB" in Windows-1252
        {"\xE2\x82\xAC", "\x80"},        // the euro sign has a byte of its own
        {"\xE4\xB8\xAD", std::nullopt},  // a CJK character has no place in the code page
        {"\xC3", std::nullopt},          // malformed UTF-8
        {"\xC1\x96", std::nullopt},      // "V" in two bytes: never a "V"
    };
    for (const auto& c : casi) {
        EXPECT_EQ(chiaveRicerca(c.digitato), c.atteso) << c.digitato;
    }
}

}  // namespace
}  // namespace pliventa
