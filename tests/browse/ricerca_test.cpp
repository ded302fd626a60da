#include "browse/ricerca.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::RigaVersamento;

TEST(Ricerca, MatchRule) {
    const struct {
        std::string_view campo;  // field 5 as stored, 16 bytes
        std::string_view cercato;
        bool atteso;
    } casi[] = {
        {"RSSMRA70A01H501U", "RSS", true},
        {"RSSMRA70A01H501U", "RSSMRA70A01H501U", true},
        {"RSSMRA70A01H501U", "", true},
        {"                ", "", true},
        {"  RSSMRA        ", "RSS", true},                 // leading blanks of the field ignored
        {"rssmra70a01h501u", "RSS", false},                // the record's case is taken as stored
        {"RSSMRA70A01H501U", "RSSMRA70A01H501UX", false},  // key longer than the field
        {"RSS             ", "RSSM", false},               // longer than the trimmed field
        {"BNCLRA80B41F205X", "RSS", false},
        {"R SS            ", "RSS", false},  // inner blanks count
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
        {"  rSs  ", "RSS"},
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

// A work file of `n` records: record i has the codice fiscale "X<i>" unless listed
// in `cercati`, which get "RSS<i>".
std::string archivio(std::size_t n, const std::vector<std::uint64_t>& cercati) {
    std::string dati;
    dati.reserve(n * Versamento::kLunghezzaRecord);
    for (std::uint64_t i = 1; i <= n; ++i) {
        const bool preso = std::find(cercati.begin(), cercati.end(), i) != cercati.end();
        dati += RigaVersamento().tipo('3').cf((preso ? "RSS" : "X") + std::to_string(i)).record();
    }
    return dati;
}

std::vector<std::uint64_t> tutti(ScansioneRicerca& s) {
    std::vector<std::uint64_t> numeri;
    for (;;) {
        auto r = s.prossimo();
        EXPECT_TRUE(r.ok()) << r.errore().descrizione();
        if (!r.ok() || !r->has_value()) {
            return numeri;
        }
        EXPECT_EQ(senzaSpazi((*r)->versamento.campo(Campo::codicefiscale)),
                  "RSS" + std::to_string((*r)->numero));
        numeri.push_back((*r)->numero);
    }
}

// Which records the scan reads, block by block, is the file scan's to test; here
// the key reaches it and the matches come back in order, then none.
TEST(ScansioneRicerca, MatchesInOrderThenNoneAndAnUnrepresentableKeyFindsNothing) {
    const std::vector<std::uint64_t> cercati = {1, 4095, 4096, 4097, 9000};
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", archivio(9000, cercati)));
    ASSERT_TRUE(a.ok());
    ScansioneRicerca s(*a, " rss ");
    EXPECT_EQ(tutti(s), cercati);
    auto dopo = s.prossimo();
    ASSERT_TRUE(dopo.ok());
    EXPECT_FALSE(dopo->has_value());

    ScansioneRicerca nessuna(*a, "\xE4\xB8\xAD");
    auto r = nessuna.prossimo();
    ASSERT_TRUE(r.ok());
    EXPECT_FALSE(r->has_value());
}

}  // namespace
}  // namespace pliventa
