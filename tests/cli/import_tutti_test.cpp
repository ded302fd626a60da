// import of several files: the work file is the concatenation of the single
// imports, auto finds each layout, and the command line is checked before anything.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::leggiFile;

std::string campione(const char* nome) {
    return std::string(PLIVENTA_SAMPLES_DIR) + "/" + nome;
}

/// The work file the single import of `argomenti` writes in a folder of its own.
std::string soloImport(const std::vector<std::string>& argomenti, const std::string& creato) {
    CartellaTemporanea dir;
    const auto r = lancia(argomenti, dir.percorso().string());
    EXPECT_EQ(r.codice, 0) << r.err;
    return leggiFile(dir.file(creato));
}

TEST(CliImportTutti, AutoOverEveryLayoutIsTheConcatenationOfTheSingleImports) {
    CartellaTemporanea dir;
    // The Risconet export is converted beside itself, then imported as ANCI-CNC 2000.
    const std::string risconet = dir.scrivi("risconet.txt", leggiFile(campione("risconet.txt")));
    ASSERT_EQ(lancia({"risconet", risconet, "--belfiore", "H501"}).codice, 0);
    const std::string atteso =
        soloImport({"import", "cnc2000", campione("cnc2000.txt")}, "iciview.out") +
        soloImport({"import", "cnc1997", campione("cnc1997.txt")}, "iciview97.out") +
        soloImport({"import", "viol1997", campione("viol1997.txt")}, "iciview.out") +
        soloImport({"import", "cnc2000", dir.file("versunir.out")}, "iciview.out") +
        soloImport({"import", "f24", campione("f24.txt")}, "iciview.out");

    CartellaTemporanea lavoro;
    const auto r =
        lancia({"import", "auto", campione("cnc2000.txt"), campione("cnc1997.txt"),
                campione("viol1997.txt"), risconet, campione("f24.txt"), "--belfiore", "H501"},
               lavoro.percorso().string());
    ASSERT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(leggiFile(lavoro.file("iciview.out")), atteso);
    EXPECT_NE(r.err.find(risconet + " (risconet): lette 30 righe, presi 29 versamenti"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("\nin totale: lette 210 righe, presi 139 versamenti, scartate 50, "
                         "completate 0, troncate 3, importi fuori formato 1\n"),
              std::string::npos)
        << r.err;
}

TEST(CliImportTutti, UsageErrorsAndUntoldLayoutsWriteNothing) {
    CartellaTemporanea dir;
    const std::string vecchio = dir.scrivi("iciview.out", "vecchio");
    const std::string corto = dir.scrivi("corto.txt", "3\r\n");
    const struct {
        std::vector<std::string> argomenti;
        int codice;
        std::string detto;
    } casi[] = {
        {{"import", "auto"}, 2, "pliventa-cli import: manca il file da importare INPUT\n"},
        {{"import", "cnc2000", campione("cnc2000.txt"), "--belfiore", "H501"},
         2,
         "pliventa-cli import: --belfiore vale solo con il tracciato auto\n"},
        {{"import", "auto", campione("cnc2000.txt"), campione("risconet.txt")},
         2,
         "pliventa-cli import: " + campione("risconet.txt") +
             " è un'esportazione Risconet: manca il codice Belfiore dell'ente (--belfiore CODE)\n"},
        {{"import", "auto", campione("cnc2000.txt"), corto},
         1,
         "pliventa-cli: " + corto +
             ": tracciato non riconosciuto: nessuna riga di versamento riconoscibile nelle prime "
             "righe\n"},
    };
    for (const auto& c : casi) {
        const auto r = lancia(c.argomenti, dir.percorso().string());
        EXPECT_EQ(r.codice, c.codice) << c.detto;
        EXPECT_EQ(r.err.substr(0, r.err.find("Uso:")), c.detto);
        EXPECT_EQ(leggiFile(vecchio), "vecchio") << c.detto;
    }
}

}  // namespace
}  // namespace pliventa
