#include <gtest/gtest.h>

#include <regex>

#include "lancio.h"
#include "libro_letto.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

TEST(CliExport, WritesTheBookAsTheOptionsSayAndCountsOnStderr) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi(
        "w.out",
        RigaVersamento()
                .tipo('3')
                .cf(std::string("A\0B", 3))
                .campo(Campo::totale, "00000012345")
                .record() +
            RigaVersamento().tipo('6').campo(Campo::estremiatto, "100000123456789").record() +
            std::string(100, ' '));
    const std::string libro = dir.file("b.xlsx");
    const auto r = lancia({"export", w, "-o", libro, "--valuta", "L", "--notice", "short"});
    EXPECT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "esportati 2 versamenti in " + libro +
                         "\npliventa-cli: 1 celle di testo contenevano caratteri nulli, scritti "
                         "come U+FFFD\n" +
                         test::avvisoParziale(w));
    const test::LibroLetto l = test::leggiLibro(libro);
    ASSERT_EQ(l.fogli.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(l.fogli[0], std::regex(R"(Estrazione \d\d-\d\d-\d{4} \d\d\.\d\d\.\d\d)")))
        << l.fogli[0];
    EXPECT_EQ(l["D3"], "n\t12345.0\t-\tGeneral");
    EXPECT_EQ(l["K4"], "s\t123456\t-\tGeneral");
}

}  // namespace
}  // namespace pliventa
