#include "records/archivio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::RigaVersamento;

std::string tre() {
    return RigaVersamento().tipo('3').cf("AAA").record() +
           RigaVersamento().tipo('6').cf("BBB").record() +
           RigaVersamento().tipo('3').cf("CCC").record();
}

TEST(ArchivioLavoro, CountsAndReadsRecordsByNumber) {
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("iciview.out", tre()));
    ASSERT_TRUE(a.ok()) << a.errore().descrizione();
    EXPECT_EQ(*a->numerorecord(), 3.0);
    auto r2 = a->leggirecord(2);
    ASSERT_TRUE(r2.ok());
    EXPECT_EQ(r2->byte(), tre().substr(202, 202));
    EXPECT_TRUE(r2->violazione());
}

TEST(ArchivioLavoro, FractionalNumbersRoundHalfToEven) {
    CartellaTemporanea dir;
    std::string dati;
    for (char c = 'A'; c <= 'E'; ++c) {
        dati += RigaVersamento().cf(std::string(3, c)).record();
    }
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", dati));
    ASSERT_TRUE(a.ok());
    const struct {
        double n;
        const char* cf;
    } casi[] = {{2.5, "BBB"}, {3.5, "DDD"}, {1.4, "AAA"}, {4.6, "EEE"}, {0.6, "AAA"}};
    for (const auto& c : casi) {
        auto r = a->leggirecord(c.n);
        ASSERT_TRUE(r.ok()) << c.n;
        EXPECT_EQ(senzaSpazi(r->campo(Campo::codicefiscale)), c.cf) << c.n;
    }
}

TEST(ArchivioLavoro, LengthNotAMultipleOfTheRecordGivesAFractionalCount) {
    CartellaTemporanea dir;
    const std::string dati = test::ripeti(RigaVersamento().record(), 10) + std::string(101, 'x');
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", dati));  // 2121 bytes
    ASSERT_TRUE(a.ok());
    EXPECT_DOUBLE_EQ(*a->numerorecord(), 10.5);
    auto corto = a->leggirecord(11);  // the cut record is padded with blanks
    ASSERT_TRUE(corto.ok());
    EXPECT_EQ(corto->byte().substr(0, 101), std::string(101, 'x'));
    EXPECT_EQ(corto->byte().substr(101, 99), std::string(99, ' '));
}

TEST(ArchivioLavoro, NumbersOutsideTheFileAreMissingRecords) {
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", tre()));
    ASSERT_TRUE(a.ok());
    for (double n : {0.0, -1.0, 0.4, 4.0, 1e300}) {
        auto r = a->leggirecord(n);
        ASSERT_FALSE(r.ok()) << n;
        EXPECT_EQ(r.errore().codice, CodiceErrore::RecordInesistente) << n;
    }
    auto vuoto = ArchivioLavoro::apriarchivio(dir.scrivi("vuoto", ""));
    ASSERT_TRUE(vuoto.ok());
    EXPECT_EQ(*vuoto->numerorecord(), 0.0);
    EXPECT_FALSE(vuoto->leggirecord(1).ok());
}

TEST(ArchivioLavoro, CountIsComputedAfresh) {
    CartellaTemporanea dir;
    const std::string p = dir.scrivi("w", tre());
    auto a = ArchivioLavoro::apriarchivio(p);
    ASSERT_TRUE(a.ok());
    dir.scrivi("w", tre() + tre());
    EXPECT_EQ(*a->numerorecord(), 6.0);
}

TEST(ArchivioLavoro, AnUnopenablePathIsReportedWithItsReason) {
    CartellaTemporanea dir;
    auto mancante = ArchivioLavoro::apriarchivio(dir.file("manca.out"));
    ASSERT_FALSE(mancante.ok());
    EXPECT_EQ(mancante.errore().percorso, dir.file("manca.out"));
    EXPECT_EQ(mancante.errore().motivo, "file o directory inesistente");
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

TEST(ArchivioLavoro, BlocksHoldOnlyWholeRecords) {
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", tre() + "spezzato"));
    ASSERT_TRUE(a.ok());
    std::string blocco;
    EXPECT_EQ(*a->leggiblocco(2, 100, blocco), 2u);
    EXPECT_EQ(blocco, tre().substr(202));
    EXPECT_EQ(*a->leggiblocco(4, 100, blocco), 0u);
}

}  // namespace
}  // namespace pliventa
