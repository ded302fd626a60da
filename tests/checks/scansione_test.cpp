// The checks over a whole work file: every rule a payment breaks, in record order,
// whether one thread or several read the file.
#include "checks/scansione.h"

#include <gtest/gtest.h>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::pulito;

TEST(CercaAnomalie, EveryRuleBrokenInRecordOrderOnOneThreadOrSeveral) {
    // Three payments repeated: clean, a bad codice fiscale on 31 February (two
    // rules), a total without parts; every repetition is a duplicate of the first
    // three, across rounds and parts. And a trailing partial record, not checked.
    const std::string tre = pulito().record() + pulito().cf("RSSXXX").data("20030231").record() +
                            pulito().campo(Campo::totale, "00000000100").record();
    constexpr std::uint32_t kVolte = 20000;
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(
        dir.scrivi("w", test::ripeti(tre, kVolte) + pulito().str().substr(0, 70)));
    ASSERT_TRUE(a.ok());
    std::vector<Anomalia> attese;
    for (std::uint32_t i = 0; i < kVolte; ++i) {
        if (i > 0) {
            attese.push_back({3 * i + 1, Regola::duplicato});
        }
        attese.push_back({3 * i + 2, Regola::codice_fiscale});
        attese.push_back({3 * i + 2, Regola::data_versamento});
        if (i > 0) {
            attese.push_back({3 * i + 2, Regola::duplicato});
        }
        attese.push_back({3 * i + 3, Regola::somma_parti});
        if (i > 0) {
            attese.push_back({3 * i + 3, Regola::duplicato});
        }
    }
    for (std::size_t parti : {1, 3}) {
        const auto r = cercaAnomalie(*a, {}, parti);
        ASSERT_TRUE(r.ok()) << parti;
        EXPECT_EQ(r->versamenti, 3u * kVolte) << parti;
        EXPECT_EQ(r->anomali, 3u * kVolte - 1) << parti;
        EXPECT_TRUE(r->parziale) << parti;
        EXPECT_EQ(r->anomalie, attese) << parti;
    }
}

}  // namespace
}  // namespace pliventa
