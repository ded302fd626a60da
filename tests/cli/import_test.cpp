#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::campione;
using test::CartellaTemporanea;
using test::lancia;
using test::leggiFile;
using test::nomi;

// The layouts and their counts are the importers' tests; here, the default names,
// -o (of risconet too), the count lines, and auto, whose work file is the concatenation of the
// single imports of the layouts it finds.
TEST(CliImport, SingleImportsAndAutoOverEveryLayout) {
    CartellaTemporanea dir;
    // The Risconet export is converted beside itself, then imported as ANCI-CNC 2000.
    const std::string risconet = dir.scrivi("risconet.txt", leggiFile(campione("risconet.txt")));
    const auto convertito = lancia({"risconet", risconet, "--belfiore", "H501"});
    ASSERT_EQ(convertito.codice, 0) << convertito.err;
    EXPECT_EQ(convertito.err,
              "lette 30 righe, convertiti 29 versamenti, scartate 1 (intestazione compresa) in " +
                  dir.file("versunir.out") + "\n");
    // With -o, the lines cut for being too long are counted.
    const std::string lunga = dir.scrivi(
        "r.txt", "TESTA\r\n1;" + std::string(std::size_t{1} << 20, 'x') + "\r\n2;2003-07-15\r\n");
    const auto tagliata =
        lancia({"risconet", lunga, "--belfiore", "A000", "-o", dir.file("r.out")});
    EXPECT_EQ(tagliata.err,
              "lette 3 righe, convertiti 2 versamenti, scartate 1 (intestazione compresa), "
              "tagliate 1 righe troppo lunghe in " +
                  dir.file("r.out") + "\n");
    EXPECT_EQ(leggiFile(dir.file("r.out")).size(), 2 * 202u);
    std::string atteso;
    for (const auto& [argomenti, creato] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"import", "cnc2000", campione("cnc2000.txt")}, "iciview.out"},
             {{"import", "cnc1997", campione("cnc1997.txt")}, "iciview97.out"},
             {{"import", "viol1997", campione("viol1997.txt")}, "iciview.out"},
             {{"import", "f24", campione("f24.txt")}, "iciview.out"},
             {{"import", "cnc2000", dir.file("versunir.out"), "-o", "altro.out"}, "altro.out"}}) {
        CartellaTemporanea solo;
        const auto r = lancia(argomenti, solo.percorso().string());
        EXPECT_EQ(r.codice, 0) << r.err;
        EXPECT_EQ(nomi(solo), std::vector<std::string>{creato});  // the only file written
        atteso += leggiFile(solo.file(creato));
        // One input named by its layout: one line, without the path.
        EXPECT_THAT(r.err, testing::StartsWith("lette "));
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }

    const auto r =
        lancia({"import", "auto", campione("cnc2000.txt"), campione("cnc1997.txt"),
                campione("viol1997.txt"), campione("f24.txt"), risconet, "--belfiore", "H501"},
               dir.percorso().string());
    ASSERT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(leggiFile(dir.file("iciview.out")), atteso);
    // A line per input, with the layout found, and the total.
    EXPECT_TRUE(r.err.ends_with(
        "\n" + risconet +
        " (risconet): lette 30 righe, presi 29 versamenti, scartate 1, completate 0, troncate 0, "
        "importi fuori formato 0\nin totale: lette 210 righe, presi 139 versamenti, scartate 50, "
        "completate 0, troncate 3, importi fuori formato 1\n"))
        << r.err;
}

#ifndef _WIN32
// The new work file is on the disk before it takes the old one's name: a power
// cut finds the old file or the new one whole, never an empty one.
TEST(CliImport, TheNewFileIsSyncedBeforeItIsRenamed) {
    CartellaTemporanea dir;
    const std::string out = dir.file("out");
    const std::string traccia = dir.file("traccia");
    const std::string comando = "strace -f -qq -o '" + traccia +
                                "' -e trace=fsync,fdatasync,rename,renameat,renameat2 '" +
                                PLIVENTA_CLI + "' import cnc2000 '" + campione("cnc2000.txt") +
                                "' -o '" + out + "' >/dev/null 2>&1";
    if (std::system(comando.c_str()) != 0 || leggiFile(out).empty()) {
        GTEST_SKIP() << "strace cannot trace the program here";
    }
    const std::string righe = leggiFile(traccia);
    const std::size_t rinomina = righe.find("rename");
    ASSERT_NE(rinomina, std::string::npos) << righe;
    EXPECT_LT(righe.find("sync("), rinomina) << righe;
}

// On the named route of the temporary files (a file without a name goes with the
// process anyway), a signal removes the new file and the program dies of it.
TEST(CliImport, AKilledImportLeavesNoFileBehind) {
    const std::string dati = test::ripeti(test::RigaVersamento().tipo('3').record(), 10000);
    for (const int segnale : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGKILL}) {
        CartellaTemporanea dir;
        dir.scrivi("iciview.out", "vecchio");
        // The input is a pipe, its read end the program's only.
        int tubo[2];
        ASSERT_EQ(::pipe2(tubo, O_CLOEXEC), 0);
        ::fcntl(tubo[0], F_SETFD, 0);
        const pid_t pid = test::avvia({"import", "cnc2000", "/dev/fd/" + std::to_string(tubo[0])},
                                      dir.percorso(), "/dev/null", "/dev/null", true);
        ::close(tubo[0]);
        ASSERT_GT(pid, 0);
        // Two megabytes through a pipe of a few kilobytes: when the write
        // returns, the program has read them and is writing its work file; it
        // then waits for more, midway, until the signal comes.
        ASSERT_EQ(::write(tubo[1], dati.data(), dati.size()), static_cast<ssize_t>(dati.size()));
        ::kill(pid, segnale);
        const int stato = test::attendi(pid);
        ::close(tubo[1]);
        EXPECT_TRUE(WIFSIGNALED(stato) && WTERMSIG(stato) == segnale) << segnale << ": " << stato;
        EXPECT_EQ(leggiFile(dir.file("iciview.out")), "vecchio");
        std::vector<std::string> presenti = nomi(dir);
        if (segnale == SIGKILL) {
            // Nothing can remove a named file on SIGKILL: the next new file in
            // the folder does, once the process is gone.
            ASSERT_EQ(presenti.size(), 2u);
            EXPECT_EQ(lancia({"import", "f24", campione("f24.txt")}, dir.percorso()).codice, 0);
            presenti = nomi(dir);
        }
        EXPECT_EQ(presenti, std::vector<std::string>{"iciview.out"}) << segnale;
    }
}

TEST(CliImport, OutOfMemoryIsAnErrorThatLeavesNothingBehind) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer reserves more address space than any limit tried";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
    GTEST_SKIP() << "the sanitizer reserves more address space than any limit tried";
#endif
#endif
    // Ever more memory, in quarters of a megabyte (the writer's buffers are a
    // megabyte each), from too little to start the program to enough for the
    // import: whichever allocation fails, the program ends with exit 1 and the
    // message, or could not start at all (127); never an abort, never a file left.
    bool vistoMessaggio = false;
    int codice = -1;
    for (rlim_t quarti = 16; quarti < 1024 && codice != 0; ++quarti) {
        SCOPED_TRACE(quarti);
        CartellaTemporanea dir;
        dir.scrivi("iciview.out", "vecchio");
        const std::string errore = dir.file("stderr");
        const int stato =
            test::attendi(test::avvia({"import", "cnc2000", campione("cnc2000.txt")},
                                      dir.percorso(), "/dev/null", errore, true, quarti << 18));
        ASSERT_TRUE(WIFEXITED(stato)) << stato << " " << leggiFile(errore);
        codice = WEXITSTATUS(stato);
        if (codice == 1) {
            EXPECT_EQ(leggiFile(errore), "pliventa-cli: memoria insufficiente\n");
            vistoMessaggio = true;
        } else if (codice != 0) {
            EXPECT_EQ(codice, 127) << leggiFile(errore);  // the loader gave up
        }
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "stderr"}));
        EXPECT_EQ(leggiFile(dir.file("iciview.out")) == "vecchio", codice != 0);
    }
    EXPECT_EQ(codice, 0);
    EXPECT_TRUE(vistoMessaggio);
}

#endif

}  // namespace
}  // namespace pliventa
