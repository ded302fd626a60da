// The checks over a whole work file: every rule a payment breaks, in record order,
// whether one thread or several read the file; and the payment made twice: every
// later copy names the first, and a payment that differs in any one of the five
// fields is another payment, whatever the fingerprints.
#include "checks/duplicati.h"

#include <gtest/gtest.h>

#include "checks/scansione.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::pulito;

// Records 1 to 10: a payment, five payments that each differ from it in one
// field, then copies.
std::string conCopie() {
    return test::lavoro({
        pulito(),                                           // 1
        pulito().cf("VRDGNN75B02F205X"),                    // 2 another taxpayer
        pulito().data("20030701"),                          // 3 another day
        pulito().campo(Campo::annoimposta, "04"),           // 4 another tax year
        pulito().tipo('6'),                                 // 5 a violation payment
        pulito().campo(Campo::totale, "00000012346"),       // 6 another total
        pulito(),                                           // 7 copy of 1
        pulito().campo(Campo::totale, "      12345"),       // 8 1's total, spelled otherwise
        pulito().campo(Campo::totale, "00000012346"),       // 9 copy of 6
        pulito().campo(Campo::riservato2, "ALTRO AGENTE"),  // 10 copy of 1, by another agent
    });
}

const std::vector<Duplicato> kAttesi = {{7, 1}, {8, 1}, {9, 6}, {10, 1}};

// Half the range: on two threads its first slot is the first of the second share.
std::uint64_t sempreUguale(const ChiaveDuplicato&) {
    return std::uint64_t{1} << 63;
}

std::vector<Duplicato> trova(const ArchivioLavoro& a, std::size_t parti, Impronta impronta) {
    Esito<CercaDuplicati> c = CercaDuplicati::per(a, 10, parti, impronta);
    EXPECT_TRUE(c.ok());
    std::vector<Duplicato> trovati;
    const Esito<Lettura> letti = parallelo(
        a, {}, parti,
        [&](std::size_t k, const Blocco& b) {
            c->annota(k, b);
            return EsitoVuoto(Nulla{});
        },
        [&] {
            return c->fineGiro([&](const Duplicato& d, const Versamento& copia) {
                // The copy handed over is the later payment, as the file holds it.
                EXPECT_EQ(copia.byte(), a.leggirecord(d.numero)->byte()) << d.numero;
                trovati.push_back(d);
                return EsitoVuoto(Nulla{});
            });
        });
    EXPECT_TRUE(letti.ok());
    return trovati;
}

TEST(Duplicati, EveryLaterCopyNamesTheFirstAndOneFieldApartIsAnotherPayment) {
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", conCopie()));
    ASSERT_TRUE(a.ok());
    for (const std::size_t parti : {1, 2, 3}) {
        SCOPED_TRACE(parti);
        // With every fingerprint alike, each lookup meets payments that only share
        // it: they are told apart by reading them again.
        EXPECT_EQ(trova(*a, parti, &sempreUguale), kAttesi);
        // The checks' scan, with the true fingerprints, finds the same and tells
        // each copy's original.
        const auto r = cercaAnomalie(*a, {}, parti);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->duplicati, kAttesi);
        EXPECT_EQ(r->originale(9), 6u);
        EXPECT_EQ(r->originale(6), 0u);
    }
}

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
    const std::vector<Regola> regole[] = {
        {}, {Regola::codice_fiscale, Regola::data_versamento}, {Regola::somma_parti}};
    std::vector<Anomalia> attese;
    for (std::uint32_t n = 1; n <= 3 * kVolte; ++n) {
        for (const Regola r : regole[(n - 1) % 3]) {
            attese.push_back({n, r});
        }
        if (n > 3) {
            attese.push_back({n, Regola::duplicato});
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
