#include <gtest/gtest.h>

#include <vector>

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

// Wrong uses the core settles: each is exit 2 with the usage lines, nothing written.
TEST(CliRisconet, AnOutputThatIsTheInputAndAControlCharacterAreWrongUses) {
    CartellaTemporanea dir;
    const std::string risconet = "TESTA\r\n1;2003-07-15\r\n";
    dir.scrivi("r.txt", risconet);
    dir.scrivi("imp.txt", risconet);
    const struct {
        std::vector<std::string> argomenti;
        std::string messaggio;
    } casi[] = {
        {{"import", "cnc2000", "imp.txt", "-o", "./imp.txt"},
         "pliventa-cli import: ./imp.txt: è il file da leggere \"imp.txt\": l'uscita deve essere "
         "un altro file"},
        {{"risconet", "r.txt", "--belfiore", "A\n0\r"},
         "pliventa-cli risconet: il codice Belfiore contiene caratteri di controllo (a capo, "
         "tabulazioni o simili)"},
    };
    for (const auto& c : casi) {
        const auto r = lancia(c.argomenti, dir.percorso().string());
        EXPECT_EQ(r.codice, 2) << c.messaggio;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.messaggio);
    }
    EXPECT_EQ(test::leggiFile(dir.file("imp.txt")), risconet);
    EXPECT_EQ(test::nomi(dir), (std::vector<std::string>{"imp.txt", "r.txt"}));
}

// A line past the limit is told on the count line; -o names the output (a pipe
// named so is the file tests').
TEST(CliRisconet, ALineTooLongToConvertWholeIsToldAndTheOutputIsWhereOSays) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi(
        "r.txt", "TESTA\r\n1;" + std::string(std::size_t{1} << 20, 'x') + "\r\n2;2003-07-15\r\n");
    const std::string out = dir.file("altro.out");
    const auto r = lancia({"risconet", in, "--belfiore", "A000", "-o", out});
    EXPECT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(leggiFile(out).size(), 2 * 202u);
    EXPECT_EQ(r.err,
              "lette 3 righe, convertiti 2 versamenti, scartate 1 (intestazione compresa), "
              "tagliate 1 righe troppo lunghe in " +
                  out + "\n");
}

}  // namespace
}  // namespace pliventa
