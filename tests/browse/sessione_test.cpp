#include "browse/sessione.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "righe.h"
#include "sostituisci.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;

// Work file of `n` whole records, record i with codice fiscale "CF<i>", and
// `coda` bytes of a partial record after them.
std::string archivio(std::size_t n, std::size_t coda = 0) {
    return test::numerati(n, "CF") + std::string(coda, ' ');
}

std::string cf(const Versamento& v) {
    return std::string(senzaSpazi(v.campo(Campo::codicefiscale)));
}

TEST(Sessione, MovesWithinTheFileInTheDirectionOfTheMoveOnly) {
    constexpr int kNessuno = -1;  // no work file open
    const struct {
        const char* caso;
        int record;        // records in the file
        std::size_t coda;  // bytes of a trailing partial record
        double da;         // recordcorrente before the press
        Movimento m;
        double numero;      // recordcorrente after the press
        const char* letto;  // codice fiscale read, or nullptr for the error
    } casi[] = {
        {"first", 5, 0, 3, Movimento::inizio, 1, "CF1"},
        {"previous", 5, 0, 3, Movimento::indietro, 2, "CF2"},
        {"previous on 1", 5, 0, 1, Movimento::indietro, 1, "CF1"},
        {"next", 5, 0, 3, Movimento::avanti, 4, "CF4"},
        {"next on the last", 5, 0, 5, Movimento::avanti, 5, "CF5"},
        {"last", 5, 0, 2, Movimento::fine, 5, "CF5"},
        // previous does not check the upper bound, next not the lower one
        {"previous past the end", 5, 0, 9, Movimento::indietro, 8, nullptr},
        {"next below 1", 5, 0, -3, Movimento::avanti, -2, nullptr},
        // an empty file: next and last give 0, which reads nothing
        {"next on empty", 0, 0, 0, Movimento::avanti, 0, nullptr},
        {"last on empty", 0, 0, 0, Movimento::fine, 0, nullptr},
        // 2121 bytes are 10.5 records: last keeps 10.5 and reads record 10
        {"last on 10.5", 10, 101, 1, Movimento::fine, 10.5, "CF10"},
        {"next on 10", 10, 101, 10, Movimento::avanti, 10.5, "CF10"},
        // without a file the number moves before the failure; last cannot count
        {"next without a file", kNessuno, 0, 2, Movimento::avanti, 3, nullptr},
        {"previous without a file", kNessuno, 0, 3, Movimento::indietro, 2, nullptr},
        {"last without a file", kNessuno, 0, 2, Movimento::fine, 2, nullptr},
        {"first without a file", kNessuno, 0, 2, Movimento::inizio, 1, nullptr},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        CartellaTemporanea dir;
        Sessione s;
        if (c.record != kNessuno) {
            auto a = ArchivioLavoro::apriarchivio(
                dir.scrivi("w", archivio(static_cast<std::size_t>(c.record), c.coda)));
            ASSERT_TRUE(a.ok());
            s.apri(std::move(*a), LetturaAtto::lunga);
        }
        s.impostaRecordcorrente(c.da);
        auto r = s.vai(c.m);
        EXPECT_EQ(s.recordcorrente(), c.numero);
        if (c.letto != nullptr) {
            ASSERT_TRUE(r.ok()) << r.errore().descrizione();
            EXPECT_EQ(cf(*r), c.letto);
        } else {
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.errore().codice, c.record == kNessuno ? CodiceErrore::NessunArchivio
                                                              : CodiceErrore::RecordInesistente);
        }
    }
}

// Closing forgets the file but not the number; the file closed opens again as it
// was, or says why not. A change on disk is told until the clerk goes on with the
// open file.
TEST(Sessione, ReopensTheWorkFileAsItWasAndTellsAChangeOnDisk) {
    CartellaTemporanea dir;
    const std::string p = dir.scrivi("iciview.out", archivio(3));
    Sessione s;
    EXPECT_FALSE(s.ripresa());
    EXPECT_FALSE(*s.cambiatoSulDisco());  // nothing open
    s.apri(std::move(*ArchivioLavoro::apriarchivio(p)), LetturaAtto::breve);
    s.impostaRecordcorrente(2);
    const std::optional<Sessione::Ripresa> r = s.ripresa();
    ASSERT_TRUE(r);
    s.chiudi();
    EXPECT_FALSE(s.aperto());
    EXPECT_EQ(s.recordcorrente(), 2);
    EXPECT_EQ(s.leggiCorrente().errore().codice, CodiceErrore::NessunArchivio);
    EXPECT_EQ(s.leggiCorrente().errore().descrizione(),
              "Aprire un file prima di effettuare ricerche");
    s.impostaRecordcorrente(0);

    ASSERT_TRUE(s.riprendi(*r).ok());
    EXPECT_EQ(s.lettura(), LetturaAtto::breve);
    EXPECT_EQ(s.recordcorrente(), 2.0);
    EXPECT_EQ(cf(*s.leggiCorrente()), "CF2");
    EXPECT_FALSE(*s.cambiatoSulDisco());
    // Written in place (its time), grown, replaced (another inode): each is told.
    const std::function<void()> cambi[] = {
        [&] {
            std::filesystem::last_write_time(
                p, std::filesystem::last_write_time(p) - std::chrono::hours(24 * 365));
        },
        [&] { std::filesystem::resize_file(p, 4 * 202); },
        [&] { ASSERT_TRUE(test::sostituisci(p, archivio(4)).ok()); },
    };
    for (const auto& cambia : cambi) {
        cambia();
        EXPECT_TRUE(*s.cambiatoSulDisco());
        s.ignoraDisco();
        EXPECT_FALSE(*s.cambiatoSulDisco());
    }
    std::filesystem::remove(p);  // gone: an error, until ignored; it cannot open again
    EXPECT_FALSE(s.cambiatoSulDisco().ok());
    s.ignoraDisco();
    EXPECT_FALSE(*s.cambiatoSulDisco());
    EXPECT_FALSE(s.riprendi(*r).ok());
    EXPECT_FALSE(s.aperto());
    // A file opened afresh has nothing ignored: its replacement is told.
    s.apri(std::move(*ArchivioLavoro::apriarchivio(dir.scrivi("iciview.out", ""))),
           LetturaAtto::lunga);
    ASSERT_TRUE(test::sostituisci(p, archivio(1)).ok());
    EXPECT_TRUE(*s.cambiatoSulDisco());
}

}  // namespace
}  // namespace pliventa
