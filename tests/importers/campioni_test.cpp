// The sample files of the repository import with the counts they were made for.
#include <gtest/gtest.h>

#include "importers/importatori.h"
#include "importers/importazione.h"
#include "records/archivio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;

TEST(Campioni, EachSampleImportsWithItsCounts) {
    const struct {
        const char* file;
        Tracciato tracciato;
        std::uint64_t lette, scartate, versamenti, troncate, fuoriFormato;
    } casi[] = {
        {"cnc2000.txt", Tracciato::cnc2000, 40, 4, 36, 0, 0},
        // Three lines of 200 characters, blanks past column 196, are cut as any
        // line longer than a record is.
        {"cnc1997.txt", Tracciato::cnc1997, 30, 5, 25, 3, 0},
        {"viol1997.txt", Tracciato::viol1997, 30, 7, 23, 0, 0},
        // One violation payment has its interest (3905) as a credit: the eight
        // characters of the deduction field keep its digits, not its sign.
        {"f24.txt", Tracciato::f24, 80, 33, 26, 0, 1},
    };
    for (const auto& c : casi) {
        CartellaTemporanea dir;
        const std::string out = dir.file("iciview.out");
        auto r = importa(std::string(PLIVENTA_SAMPLES_DIR) + "/" + c.file, out,
                         *nuovaTrasformazione(c.tracciato));
        ASSERT_TRUE(r.ok()) << r.errore().descrizione();
        EXPECT_EQ(r->righeLette, c.lette) << c.file;
        EXPECT_EQ(r->righeScartate, c.scartate) << c.file;
        EXPECT_EQ(r->versamenti, c.versamenti) << c.file;
        EXPECT_EQ(r->completate, 0u) << c.file;
        EXPECT_EQ(r->troncate, c.troncate) << c.file;
        EXPECT_EQ(r->importiFuoriFormato, c.fuoriFormato) << c.file;

        // Every record is a payment of the file's municipality with a four-digit
        // payment year of the layout's period.
        auto a = ArchivioLavoro::apriarchivio(out);
        ASSERT_TRUE(a.ok());
        for (std::uint64_t n = 1; n <= c.versamenti; ++n) {
            auto v = a->leggirecord(static_cast<double>(n));
            ASSERT_TRUE(v.ok());
            EXPECT_EQ(v->campo(Campo::intestazione).substr(3, 4), "Z999") << c.file << " " << n;
            const double anno = valoreNumerico(v->campo(Campo::annoversamento));
            EXPECT_GE(anno, 1993) << c.file << " " << n;
            EXPECT_LE(anno, 2008) << c.file << " " << n;
            EXPECT_EQ(senzaSpazi(v->campo(Campo::codicefiscale)).size(), 16u) << c.file << " " << n;
        }
    }
}

}  // namespace
}  // namespace pliventa
