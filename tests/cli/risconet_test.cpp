#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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
TEST(CliRisconet, AnOutputThatIsTheInputOrAShellFileAndAControlCharacterAreWrongUses) {
    CartellaTemporanea dir;
    const std::string risconet = "TESTA\r\n1;2003-07-15\r\n";
    dir.scrivi("r.txt", risconet);
    dir.scrivi("imp.txt", risconet);
    std::filesystem::create_directory(dir.file("d"));
    dir.scrivi("d/versunir.out", risconet);
    const std::string log = dir.file("log");
    const struct {
        std::vector<std::string> argomenti;
        std::string uscita;  ///< standard output, when a file
        std::string messaggio;
    } casi[] = {
        {{"import", "cnc2000", "imp.txt", "-o", "./imp.txt"},
         "",
         "pliventa-cli import: ./imp.txt: è il file da leggere \"imp.txt\": l'uscita deve essere "
         "un altro file"},
        {{"risconet", "d/versunir.out", "--belfiore", "A000"},  // the default output
         "",
         "pliventa-cli risconet: d/versunir.out: è il file da leggere \"d/versunir.out\": "
         "l'uscita deve essere un altro file"},
        {{"risconet", "r.txt", "--belfiore", "A\n0\r"},
         "",
         "pliventa-cli risconet: il codice Belfiore contiene caratteri di controllo (a capo, "
         "tabulazioni o simili)"},
        {{"risconet", "r.txt", "--belfiore", "A000", "-o", "/dev/stdout"},
         log,
         "pliventa-cli risconet: /dev/stdout: l'uscita è un file aperto dalla shell; indicare "
         "un nome di file"},
    };
    for (const auto& c : casi) {
        const auto r = lancia(c.argomenti, dir.percorso().string(), c.uscita);
        EXPECT_EQ(r.codice, 2) << c.messaggio;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.messaggio);
    }
    EXPECT_EQ(test::leggiFile(dir.file("imp.txt")), risconet);
    EXPECT_EQ(test::leggiFile(dir.file("d/versunir.out")), risconet);
    EXPECT_EQ(test::nomi(dir), (std::vector<std::string>{"d", "imp.txt", "log", "r.txt"}));
}

// A pipe is written as a stream; a line past the limit is told on the count line.
TEST(CliRisconet, ThroughAPipeWithALineTooLongToConvertWhole) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi(
        "r.txt", "TESTA\r\n1;" + std::string(std::size_t{1} << 20, 'x') + "\r\n2;2003-07-15\r\n");
    const std::string err = dir.file("err");
    FILE* tubo = ::popen((std::string(PLIVENTA_CLI) + " risconet '" + in +
                          "' --belfiore A000 -o /dev/stdout 2>'" + err + "'")
                             .c_str(),
                         "r");
    ASSERT_NE(tubo, nullptr);
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, tubo)) > 0;) {
        out.append(buffer, n);
    }
    EXPECT_EQ(::pclose(tubo), 0) << test::leggiFile(err);
    EXPECT_EQ(out.size(), 2 * 202u);
    EXPECT_EQ(test::leggiFile(err),
              "lette 3 righe, convertiti 2 versamenti, scartate 1 (intestazione compresa), "
              "tagliate 1 righe troppo lunghe in /dev/stdout\n");
}

}  // namespace
}  // namespace pliventa
