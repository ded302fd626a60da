// The one pass over a work file: blocks in order, the trailing partial record, a
// file changed while it is read, cancel, and the parallel pass against the single one.
#include "records/scansione.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <thread>
#include <vector>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::RigaVersamento;

constexpr std::uint64_t kBlocco = Scansione::kRecordPerBlocco;

class ScansioneTest : public ::testing::Test {
protected:
    /// Writes `n` numbered records, then `coda` bytes of a partial one, and opens them.
    const ArchivioLavoro& archivio(std::size_t n, std::size_t coda = 0) {
        percorso_ = dir.scrivi("iciview.out", test::numerati(n, "CF") + std::string(coda, 'x'));
        auto a = ArchivioLavoro::apriarchivio(percorso_);
        EXPECT_TRUE(a.ok());
        archivio_.emplace(std::move(*a));
        return *archivio_;
    }
    void tronca(std::uint64_t record) const {
        ASSERT_EQ(::truncate(percorso_.c_str(),
                             static_cast<off_t>(record * Versamento::kLunghezzaRecord)),
                  0);
    }
    void aggiungi() const {
        std::ofstream(percorso_, std::ios::app | std::ios::binary) << test::numerati(1, "XX");
    }

    CartellaTemporanea dir;
    std::string percorso_;
    std::optional<ArchivioLavoro> archivio_;
};

/// The numbers of the records in `b`, each checked against the record it names:
/// record i of numerati() holds the codice fiscale "CF" and i.
void raccogli(const Blocco& b, std::vector<std::uint64_t>& numeri) {
    for (std::size_t i = 0; i < b.size(); ++i) {
        const std::string cf = "CF" + std::to_string(b.numero(i));
        EXPECT_EQ(b.versamento(i).campo(Campo::codicefiscale).substr(0, cf.size()), cf);
        numeri.push_back(b.numero(i));
    }
}

TEST_F(ScansioneTest, EveryWholeRecordInOrderAndThePartialOneLeftOut) {
    const struct {
        std::size_t record, coda;
    } casi[] = {{0, 0}, {0, 5}, {1, 0}, {kBlocco, 201}, {2 * kBlocco + 3, 0}};
    for (const auto& c : casi) {
        const ArchivioLavoro& a = archivio(c.record, c.coda);
        std::vector<std::uint64_t> numeri;
        std::vector<std::pair<std::uint64_t, std::uint64_t>> avanzamento;
        Controllo controllo;
        controllo.progresso = [&](std::uint64_t f, std::uint64_t t) {
            avanzamento.emplace_back(f, t);
        };
        const auto r = scandisci(a, controllo, [&](const Blocco& b) -> EsitoVuoto {
            raccogli(b, numeri);
            return Nulla{};
        });
        ASSERT_TRUE(r.ok()) << r.errore().descrizione();
        EXPECT_EQ(r->versamenti, c.record);
        EXPECT_EQ(r->parziale, c.coda > 0);
        ASSERT_EQ(numeri.size(), c.record);
        for (std::size_t i = 0; i < numeri.size(); ++i) {
            ASSERT_EQ(numeri[i], i + 1);
        }
        EXPECT_EQ(avanzamento.front(), std::make_pair(std::uint64_t{0}, std::uint64_t{c.record}));
        EXPECT_EQ(avanzamento.back(),
                  std::make_pair(std::uint64_t{c.record}, std::uint64_t{c.record}));
    }
}

// A file changed while it is read is no longer one file: shorter or longer, the
// pass fails naming it, whichever operation reads it.
TEST_F(ScansioneTest, AFileThatShrinksOrGrowsWhileReadIsAnError) {
    for (const bool parallela : {false, true}) {
        for (const bool accorcia : {true, false}) {
            SCOPED_TRACE(std::to_string(parallela) + std::to_string(accorcia));
            const ArchivioLavoro& a = archivio(40 * kBlocco);
            const auto cambia = [&](const Blocco& b) -> EsitoVuoto {
                if (b.primo() == 1) {
                    if (accorcia) {
                        tronca(kBlocco + 1);
                    } else {
                        aggiungi();
                    }
                }
                return Nulla{};
            };
            const auto r =
                parallela
                    ? parallelo(a, {}, 2, [&](std::size_t, const Blocco& b) { return cambia(b); })
                    : scandisci(a, {}, cambia);
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.errore().codice, CodiceErrore::InputOutput);
            EXPECT_EQ(r.errore().percorso, percorso_);
            EXPECT_EQ(r.errore().motivo, "il file di lavoro è cambiato durante la lettura");
        }
    }
}

TEST_F(ScansioneTest, CancelAndTheCallersErrorStopThePass) {
    const ArchivioLavoro& a = archivio(3 * kBlocco);
    std::atomic<bool> annulla{false};
    Controllo controllo;
    controllo.annulla = &annulla;
    int blocchi = 0;
    auto r = scandisci(a, controllo, [&](const Blocco&) -> EsitoVuoto {
        annulla = ++blocchi == 2;
        return Nulla{};
    });
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().codice, CodiceErrore::Annullato);
    EXPECT_EQ(blocchi, 2);

    blocchi = 0;
    r = scandisci(a, {}, [&](const Blocco&) -> EsitoVuoto {
        return ++blocchi == 2 ? EsitoVuoto(Errore{CodiceErrore::Uso, "x", "basta"}) : Nulla{};
    });
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().motivo, "basta");
    EXPECT_EQ(blocchi, 2);
}

TEST_F(ScansioneTest, ThePartsOfEachRoundMergeIntoTheSinglePass) {
    const std::uint64_t n = 40 * kBlocco + 7;  // rounds of several parts, the last one short
    const ArchivioLavoro& a = archivio(n, 3);
    for (std::size_t parti : {1, 2, 3, 8}) {
        SCOPED_TRACE(parti);
        std::vector<std::vector<std::uint64_t>> perParte(parti);
        std::vector<std::uint64_t> tutti;
        std::uint64_t ultimo = 0;
        Controllo controllo;
        controllo.progresso = [&](std::uint64_t f, std::uint64_t t) {
            EXPECT_GE(f, ultimo);  // told from one thread, never going back
            EXPECT_EQ(t, n);
            ultimo = f;
        };
        const auto r = parallelo(
            a, controllo, parti,
            [&](std::size_t k, const Blocco& b) {
                raccogli(b, perParte[k]);
                return EsitoVuoto(Nulla{});
            },
            [&] {
                for (auto& p : perParte) {
                    tutti.insert(tutti.end(), p.begin(), p.end());
                    p.clear();
                }
                return EsitoVuoto(Nulla{});
            });
        ASSERT_TRUE(r.ok());
        EXPECT_TRUE(r->parziale);
        ASSERT_EQ(tutti.size(), n);
        for (std::size_t i = 0; i < tutti.size(); ++i) {
            ASSERT_EQ(tutti[i], i + 1);
        }
        EXPECT_EQ(ultimo, n);
    }
}

TEST_F(ScansioneTest, AnErrorInOnePartIsThePassesAndCancelStopsEveryPart) {
    const ArchivioLavoro& a = archivio(40 * kBlocco);
    auto r = parallelo(a, {}, 4, [](std::size_t k, const Blocco&) -> EsitoVuoto {
        if (k == 2) {
            return Errore{CodiceErrore::Uso, "x", "parte 2"};
        }
        return Nulla{};
    });
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().motivo, "parte 2");

    // The first round's merge fails: the pass stops there.
    int giri = 0;
    r = parallelo(
        a, {}, 2, [](std::size_t, const Blocco&) { return EsitoVuoto(Nulla{}); },
        [&]() -> EsitoVuoto {
            ++giri;
            return Errore{CodiceErrore::InputOutput, "out", "scrittura"};
        });
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().motivo, "scrittura");
    EXPECT_EQ(giri, 1);

    std::atomic<bool> annulla{true};
    Controllo controllo;
    controllo.annulla = &annulla;
    r = parallelo(a, controllo, 4, [](std::size_t, const Blocco&) -> EsitoVuoto {
        ADD_FAILURE() << "a cancelled pass reads nothing";
        return Nulla{};
    });
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().codice, CodiceErrore::Annullato);
}

TEST(ArchivioLavoro, ReadsPastFourGibibytes) {
    CartellaTemporanea dir;
    const std::string p = dir.file("grande.out");
    const std::uint64_t n = 25'000'000;  // record n starts past 5 GB
    const int fd = ::open(p.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    const std::string riga = RigaVersamento().cf("LONTANO").record();
    const auto da = static_cast<off_t>((n - 1) * Versamento::kLunghezzaRecord);
    const bool scritto = ::pwrite(fd, riga.data(), riga.size(), da) ==
                         static_cast<ssize_t>(riga.size());  // sparse: costs no disk
    ::close(fd);
    if (!scritto) {
        GTEST_SKIP() << "the file system does not take a 5 GB sparse file";
    }
    auto a = ArchivioLavoro::apriarchivio(p);
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(*a->numerorecord(), static_cast<double>(n));
    auto r = a->leggirecord(static_cast<double>(n));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(senzaSpazi(r->campo(Campo::codicefiscale)), "LONTANO");
    std::string blocco;
    auto quanti = a->leggiblocco(n - 1, 10, blocco);
    ASSERT_TRUE(quanti.ok());
    EXPECT_EQ(*quanti, 2u);
}

}  // namespace
}  // namespace pliventa
