#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::leggiFile;
using test::RigaVersamento;

// An ANCI-CNC 2000 file: header, four payments (one short, one long), trailer,
// with mixed line ends and no end after the last line.
std::string file2000() {
    return RigaVersamento().tipo('0').str() + "\r\n" + RigaVersamento().tipo('3').cf("AAA").str() +
           "\n" + RigaVersamento().tipo('6').cf("BBB").str() + "\r" +
           RigaVersamento().tipo('3').cf("CCC").str().substr(0, 150) + "\r\n" +
           RigaVersamento().tipo('6').cf("DDD").str() + std::string(30, 'x') + "\r\n" +
           RigaVersamento().tipo('9').str();
}

TEST(CliImport, WritesTheDefaultWorkFileInTheCurrentDirectoryAndPrintsTheCounts) {
    CartellaTemporanea input;
    CartellaTemporanea lavoro;
    const std::string percorso = input.scrivi("versamenti.txt", file2000());
    // An old work file is replaced.
    lavoro.scrivi("iciview.out", "vecchio");
    const auto r = lancia({"import", "cnc2000", percorso}, lavoro.percorso().string());
    ASSERT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lette 6 righe, presi 4 versamenti, scartate 2, completate 1, troncate 1\n");
    EXPECT_EQ(leggiFile(lavoro.file("iciview.out")),
              RigaVersamento().tipo('3').cf("AAA").record() +
                  RigaVersamento().tipo('6').cf("BBB").record() +
                  RigaVersamento().tipo('3').cf("CCC").record() +
                  RigaVersamento().tipo('6').cf("DDD").record());
    EXPECT_FALSE(std::filesystem::exists(input.file("iciview.out")));

    const auto cerca = lancia({"search", lavoro.file("iciview.out"), "c"});
    EXPECT_EQ(cerca.out, "3\n");
}

TEST(CliImport, OutputOptionAndDefaultNamesOfEachLayout) {
    CartellaTemporanea dir;
    const std::string in2000 = dir.scrivi("in2000", file2000());
    // A 1997 line: the payment year has two digits in columns 27-28.
    std::string r97 = RigaVersamento().tipo('3').colonne(27, "030715").str().substr(0, 196);
    r97.replace(32, 16, "RSSMRA70A01H501U");  // the codice fiscale two columns earlier
    const std::string in1997 = dir.scrivi("in1997", r97 + "\r\n");
    const std::string inViol = dir.scrivi(
        "inviol",
        RigaVersamento().tipo('6').campo(Campo::estremiatto, "000000123456311220021").str() +
            "\r\n" + RigaVersamento().tipo('3').str() + "\r\n");
    const struct {
        std::vector<std::string> argomenti;
        const char* creato;  // file expected in the working folder
        const char* conteggi;
    } casi[] = {
        {{"import", "cnc2000", in2000, "-o", "altro.out"},
         "altro.out",
         "lette 6 righe, presi 4 versamenti, scartate 2, completate 1, troncate 1\n"},
        {{"import", "cnc1997", in1997},
         "iciview97.out",
         "lette 1 righe, presi 1 versamenti, scartate 0, completate 0, troncate 0\n"},
        {{"import", "viol1997", inViol},
         "iciview.out",
         "lette 2 righe, presi 1 versamenti, scartate 1, completate 0, troncate 0\n"},
    };
    for (const auto& c : casi) {
        CartellaTemporanea lavoro;
        const auto r = lancia(c.argomenti, lavoro.percorso().string());
        EXPECT_EQ(r.codice, 0) << c.creato << ": " << r.err;
        EXPECT_EQ(r.err, c.conteggi) << c.creato;
        std::vector<std::string> presenti;
        for (const auto& e : std::filesystem::directory_iterator(lavoro.percorso())) {
            presenti.push_back(e.path().filename().string());
        }
        EXPECT_EQ(presenti, std::vector<std::string>{c.creato});
        EXPECT_EQ(leggiFile(lavoro.file(c.creato)).size() % 202, 0u) << c.creato;
    }
}

TEST(CliImport, ViolationWorkFilesReadBackWithTheShortNotice) {
    CartellaTemporanea dir;
    const std::string viol =
        RigaVersamento().tipo('6').campo(Campo::estremiatto, "000000123456311220021").str();
    const auto r = lancia({"import", "viol1997", dir.scrivi("inv", viol), "-o", dir.file("wv")});
    ASSERT_EQ(r.codice, 0) << r.err;
    const auto d = lancia({"dump", dir.file("wv"), "--notice", "short"});
    EXPECT_NE(d.out.find(R"("numero_atto":"123456","data_atto":"31/12/2002")"), std::string::npos)
        << d.out;
}

TEST(CliImport, AnUnreadableInputChangesNothing) {
    CartellaTemporanea lavoro;
    lavoro.scrivi("iciview.out", "vecchio");
    const struct {
        std::string input;
        const char* motivo;
    } casi[] = {
        {lavoro.file("manca.txt"), "file o directory inesistente"},
        {lavoro.percorso().string(), "è una directory"},
    };
    for (const auto& c : casi) {
        const auto r = lancia({"import", "cnc2000", c.input}, lavoro.percorso().string());
        EXPECT_EQ(r.codice, 1);
        EXPECT_EQ(r.err, "pliventa-cli: " + c.input + ": " + c.motivo + "\n");
        EXPECT_EQ(leggiFile(lavoro.file("iciview.out")), "vecchio");
    }
}

}  // namespace
}  // namespace pliventa
