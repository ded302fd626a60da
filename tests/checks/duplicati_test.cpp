// The payment made twice: every later copy names the first, and a payment that
// differs in any one of the five fields is another payment, whatever the
// fingerprints and however many parts read the file.
#include "checks/duplicati.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

std::uint64_t sempreUguale(const ChiaveDuplicato&) {
    return 42;
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
                EXPECT_EQ(copia.byte(), Versamento::daByte(copia.byte()).byte());
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
    // With every fingerprint alike, each lookup meets payments that only share
    // it: they are told apart by reading them again.
    for (const Impronta impronta : {&improntaDuplicato, &sempreUguale}) {
        for (const std::size_t parti : {1, 3}) {
            EXPECT_EQ(trova(*a, parti, impronta), kAttesi) << parti;
        }
    }
}

TEST(CercaAnomalie, ADuplicateFollowsTheOtherRulesOfItsRecord) {
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", conCopie()));
    ASSERT_TRUE(a.ok());
    for (const std::size_t parti : {1, 3}) {
        const auto r = cercaAnomalie(*a, {}, parti);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->duplicati, kAttesi);
        EXPECT_EQ(r->originale(9), 6u);
        EXPECT_EQ(r->originale(6), 0u);
        // 6 and 9 break somma_parti too: 9 is counted once, its duplicate row last.
        const std::vector<Anomalia> attese = {{6, Regola::somma_parti}, {7, Regola::duplicato},
                                              {8, Regola::duplicato},   {9, Regola::somma_parti},
                                              {9, Regola::duplicato},   {10, Regola::duplicato}};
        std::vector<Anomalia> senzaAltre;
        std::copy_if(r->anomalie.begin(), r->anomalie.end(), std::back_inserter(senzaAltre),
                     [](const Anomalia& x) { return x.numero >= 6; });
        EXPECT_EQ(senzaAltre, attese) << parti;
        std::set<std::uint32_t> conAnomalie;
        for (const Anomalia& x : r->anomalie) {
            conAnomalie.insert(x.numero);
        }
        EXPECT_EQ(r->anomali, conAnomalie.size()) << parti;
    }
}

}  // namespace
}  // namespace pliventa
