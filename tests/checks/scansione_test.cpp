// The checks over a whole file: every rule a record breaks, in record order, and
// the scan's cancel. The rules themselves are controlli_test's.
#include "checks/scansione.h"

#include <gtest/gtest.h>

#include <atomic>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::pulito;

TEST(CercaAnomalie, EveryRuleBrokenInRecordOrderAndCancel) {
    // Record 2 breaks two rules; a partial record at the end is not checked.
    const std::string dati = pulito().record() +
                             pulito().data("20030231").cf("RSSMRA80A01H501 ").record() +
                             pulito().record() + pulito().campo(Campo::annoimposta, "04").record() +
                             pulito().record().substr(0, 100);
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", dati));
    ASSERT_TRUE(a.ok());
    std::uint64_t fatti = 0;
    const auto r = cercaAnomalie(*a, {.progresso = [&](std::uint64_t f, std::uint64_t totale) {
        fatti = f;
        EXPECT_EQ(totale, 4u);
    }});
    ASSERT_TRUE(r.ok()) << r.errore().descrizione();
    EXPECT_EQ(r->anomalie, (std::vector<Anomalia>{{2, Regola::codice_fiscale},
                                                  {2, Regola::data_versamento},
                                                  {4, Regola::anno_imposta}}));
    EXPECT_EQ(r->versamenti, 4u);
    EXPECT_EQ(r->anomali, 2u);
    EXPECT_TRUE(r->parziale);
    EXPECT_EQ(fatti, 4u);

    const std::atomic<bool> annulla = true;
    const auto annullato = cercaAnomalie(*a, {.progresso = {}, .annulla = &annulla});
    ASSERT_FALSE(annullato.ok());
    EXPECT_EQ(annullato.errore().codice, CodiceErrore::Annullato);
}

}  // namespace
}  // namespace pliventa
