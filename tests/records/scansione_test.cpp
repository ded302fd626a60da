// The one pass over a work file: blocks in order, the trailing partial record, a
// file changed while it is read, cancel, and the parallel pass against the single one.
#include "records/scansione.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;

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

// The single pass (0 parts) and the parallel one, whose parts of each round are
// merged in part order, hand every whole record once, in order; progress is told
// from one thread, never going back, from none to all.
TEST_F(ScansioneTest, EveryWholeRecordInOrderAndThePartialOneLeftOut) {
    const struct {
        std::size_t record, coda;
    } casi[] = {{0, 0}, {0, 5}, {1, 0}, {kBlocco, 201}, {40 * kBlocco + 7, 3}};
    for (const auto& c : casi) {
        const ArchivioLavoro& a = archivio(c.record, c.coda);
        for (std::size_t parti : {0, 1, 2, 3, 8}) {
            SCOPED_TRACE(std::to_string(c.record) + " " + std::to_string(parti));
            std::vector<std::vector<std::uint64_t>> perParte(std::max<std::size_t>(parti, 1));
            std::vector<std::uint64_t> numeri;
            std::vector<std::pair<std::uint64_t, std::uint64_t>> avanzamento;
            Controllo controllo;
            controllo.progresso = [&](std::uint64_t f, std::uint64_t t) {
                EXPECT_TRUE(avanzamento.empty() || f >= avanzamento.back().first);
                avanzamento.emplace_back(f, t);
            };
            const auto unisci = [&] {
                for (auto& p : perParte) {
                    numeri.insert(numeri.end(), p.begin(), p.end());
                    p.clear();
                }
                return EsitoVuoto(Nulla{});
            };
            const auto per = [&](std::size_t k, const Blocco& b) {
                raccogli(b, perParte[k]);
                return EsitoVuoto(Nulla{});
            };
            const auto r = parti > 0 ? parallelo(a, controllo, parti, per, unisci)
                                     : scandisci(a, controllo, [&](const Blocco& b) {
                                           static_cast<void>(per(0, b));
                                           return unisci();
                                       });
            ASSERT_TRUE(r.ok()) << r.errore().descrizione();
            EXPECT_EQ(r->versamenti, c.record);
            EXPECT_EQ(r->parziale, c.coda > 0);
            ASSERT_EQ(numeri.size(), c.record);
            for (std::size_t i = 0; i < numeri.size(); ++i) {
                ASSERT_EQ(numeri[i], i + 1);
            }
            EXPECT_EQ(avanzamento.front(), std::make_pair(std::uint64_t{0}, c.record));
            EXPECT_EQ(avanzamento.back(), std::make_pair(c.record, c.record));
        }
    }
}

// A file changed while it is read is no longer one file: shorter or longer, the
// pass fails naming it. A cancel or the caller's error at the second block stops
// the pass there. One part or several; so does a failed merge of the first round.
TEST_F(ScansioneTest, AChangedFileACancelOrTheCallersErrorStopsThePass) {
    enum Caso { accorcia, allunga, annulla, sbaglia };
    const CodiceErrore codici[] = {CodiceErrore::InputOutput, CodiceErrore::InputOutput,
                                   CodiceErrore::Annullato, CodiceErrore::Uso};
    for (const std::size_t parti : {0, 4}) {  // 0: the single pass
        for (const Caso caso : {accorcia, allunga, annulla, sbaglia}) {
            SCOPED_TRACE(std::to_string(parti) + " " + std::to_string(caso));
            const ArchivioLavoro& a = archivio(40 * kBlocco);
            std::atomic<bool> annullato{false};
            Controllo controllo;
            controllo.annulla = &annullato;
            std::atomic<int> blocchi{0};
            const auto f = [&](std::size_t, const Blocco& b) -> EsitoVuoto {
                std::error_code ec;  // a failure shows as a pass that goes on
                if (b.primo() == 1 && caso == accorcia) {
                    std::filesystem::resize_file(percorso_,
                                                 (kBlocco + 1) * Versamento::kLunghezzaRecord, ec);
                } else if (b.primo() == 1 && caso == allunga) {
                    std::ofstream(percorso_, std::ios::app) << test::numerati(1, "XX");
                }
                const bool secondo = ++blocchi == 2;
                annullato = annullato || (secondo && caso == annulla);
                if (secondo && caso == sbaglia) {
                    return Errore{CodiceErrore::Uso, "x", "basta"};
                }
                return Nulla{};
            };
            const auto r = parti > 0
                               ? parallelo(a, controllo, parti, f)
                               : scandisci(a, controllo, [&](const Blocco& b) { return f(0, b); });
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.errore().codice, codici[caso]);
            if (caso == accorcia || caso == allunga) {
                EXPECT_EQ(r.errore().percorso, percorso_);
                EXPECT_EQ(r.errore().motivo, "il file di lavoro è cambiato durante la lettura");
            } else if (parti == 0) {
                EXPECT_EQ(blocchi, 2);
            }
        }
    }
    const ArchivioLavoro& a = archivio(40 * kBlocco);
    int giri = 0;
    const auto r = parallelo(
        a, {}, 2, [](std::size_t, const Blocco&) { return EsitoVuoto(Nulla{}); },
        [&]() -> EsitoVuoto {
            ++giri;
            return Errore{CodiceErrore::InputOutput, "out", "scrittura"};
        });
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().motivo, "scrittura");
    EXPECT_EQ(giri, 1);
}

TEST(ArchivioLavoro, ReadsPastFourGibibytes) {
    CartellaTemporanea dir;
    const std::string p = dir.file("grande.out");
    const std::uint64_t n = 25'000'000;  // record n starts past 5 GB
    {
        std::ofstream f(p, std::ios::binary);  // sparse: the gap costs no disk
        f.seekp(static_cast<std::streamoff>((n - 1) * Versamento::kLunghezzaRecord));
        if (!(f << test::RigaVersamento().cf("LONTANO").record() << std::flush)) {
            GTEST_SKIP() << "the file system does not take a 5 GB sparse file";
        }
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
