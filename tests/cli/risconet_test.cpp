#include <gtest/gtest.h>

#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::leggiFile;

// The conversion is the Risconet tests'; here, the output beside the input or
// where -o says, and the count line, with the lines cut for being too long.
TEST(CliRisconet, WritesVersunirBesideTheInputOrWhereOSaysAndCountsOnStderr) {
    test::CartellaTemporanea dir;
    const std::string in =
        dir.scrivi("risconet.txt", "INTESTAZIONE\r\n1;2003-07-15 00:00:00\r\n2;;\r\n");
    const std::string lunga = dir.scrivi(
        "r.txt", "TESTA\r\n1;" + std::string(std::size_t{1} << 20, 'x') + "\r\n2;2003-07-15\r\n");
    const std::string altro = dir.file("altro.out");
    const struct {
        std::vector<std::string> argomenti;
        std::string uscita;
        const char* tagliate;
    } casi[] = {
        {{"risconet", in, "--belfiore", "A000"}, dir.file("versunir.out"), ""},
        {{"risconet", lunga, "--belfiore", "A000", "-o", altro},
         altro,
         ", tagliate 1 righe troppo lunghe"},
    };
    for (const auto& c : casi) {
        const auto r = test::lancia(c.argomenti);
        EXPECT_EQ(r.codice, 0) << r.err;
        EXPECT_EQ(r.err,
                  "lette 3 righe, convertiti 2 versamenti, scartate 1 (intestazione "
                  "compresa)" +
                      std::string(c.tagliate) + " in " + c.uscita + "\n");
        EXPECT_EQ(leggiFile(c.uscita).size(), 2 * 202u);
    }
    EXPECT_EQ(leggiFile(dir.file("versunir.out")).substr(0, 34),
              "   A000000000000000000001320030715");
}

}  // namespace
}  // namespace pliventa
