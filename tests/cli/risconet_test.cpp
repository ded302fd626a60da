#include <gtest/gtest.h>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::leggiFile;

TEST(CliRisconet, WritesVersunirBesideTheInputAndCountsOnStderr) {
    CartellaTemporanea dir;
    const std::string in =
        dir.scrivi("risconet.txt", "INTESTAZIONE\r\n1;2003-07-15 00:00:00\r\n2;;\r\n");
    const auto r = lancia({"risconet", in, "--belfiore", "A000"});
    EXPECT_EQ(r.codice, 0) << r.err;
    const std::string out = dir.file("versunir.out");
    EXPECT_EQ(r.err,
              "lette 3 righe, convertiti 2 versamenti, scartate 1 (intestazione compresa) in " +
                  out + "\n");
    const std::string scritto = leggiFile(out);
    ASSERT_EQ(scritto.size(), 2 * 202u);
    EXPECT_EQ(scritto.substr(0, 34), "   A000000000000000000001320030715");
}

}  // namespace
}  // namespace pliventa
