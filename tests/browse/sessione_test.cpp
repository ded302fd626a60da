#include "browse/sessione.h"

#include <gtest/gtest.h>

#include "righe.h"

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
    const struct {
        const char* caso;
        std::size_t record;  // records in the file
        std::size_t coda;    // bytes of a trailing partial record
        double da;           // recordcorrente before the press
        Movimento m;
        double numero;      // recordcorrente after the press
        const char* letto;  // codice fiscale read, or nullptr for RecordInesistente
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
    };
    for (const auto& c : casi) {
        CartellaTemporanea dir;
        auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", archivio(c.record, c.coda)));
        ASSERT_TRUE(a.ok());
        Sessione s;
        s.apri(std::move(*a), LetturaAtto::lunga);
        s.impostaRecordcorrente(c.da);
        auto r = s.vai(c.m);
        EXPECT_EQ(s.recordcorrente(), c.numero) << c.caso;
        if (c.letto != nullptr) {
            ASSERT_TRUE(r.ok()) << c.caso << ": " << r.errore().descrizione();
            EXPECT_EQ(cf(*r), c.letto) << c.caso;
        } else {
            ASSERT_FALSE(r.ok()) << c.caso;
            EXPECT_EQ(r.errore().codice, CodiceErrore::RecordInesistente) << c.caso;
        }
    }
}

}  // namespace
}  // namespace pliventa
