// The replacement of a file where POSIX has rules of its own: permissions and
// owners, the leftovers of processes this user may not signal, symbolic links in
// shared folders, and the descriptors the shell opened.
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "base/file.h"
#include "righe.h"
#include "sostituisci.h"
#include "utente.h"

namespace pliventa {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::leggiFile;
using test::nomi;
using test::sostituisci;

TEST(FilePosix, WhatThisUserMayNotReadOrWriteInIsNamedWithItsReason) {
    PLIVENTA_COME_UTENTE_COMUNE();
    CartellaTemporanea dir;
    const std::string negato = dir.scrivi("negato", "x");
    ::chmod(negato.c_str(), 0);
    const Esito<int> fd = apriInLettura(negato);
    ASSERT_FALSE(fd.ok());
    EXPECT_EQ(fd.errore().descrizione(), negato + ": permesso negato");
    const std::string chiusa = dir.file("chiusa");
    fs::create_directory(chiusa);
    ::chmod(chiusa.c_str(), 0555);
    const std::string prima = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    const std::pair<std::string, const char*> tmpdir[] = {
        {"", nullptr},  // unset: /tmp
        {chiusa, "permesso negato"},
    };
    for (const auto& [cartella, motivo] : tmpdir) {
        ::setenv("TMPDIR", cartella.c_str(), 1);
        const Esito<std::string> r = cartellaTemporanea();
        ASSERT_EQ(r.ok(), motivo == nullptr) << cartella;
        EXPECT_EQ(r.ok() ? *r : r.errore().descrizione(),
                  r.ok() ? "/tmp" : cartella + ": cartella dei file temporanei: " + motivo);
    }
    ::setenv("TMPDIR", prima.c_str(), 1);
}

TEST(SostituzionePosix, TheNewFileKeepsThePermissionsOfTheOldOne) {
    const struct {
        bool esiste;
        mode_t modo;  // of the old file; of the new one when none
    } casi[] = {{false, 0644}, {true, 0440}, {true, 04755}, {true, 03750}};  // set-ID, sticky
    const mode_t umask = ::umask(022);
    for (const bool conNome : {false, true}) {  // the named route, or a file without a name
        SCOPED_TRACE(conNome);
        ::setenv("PLIVENTA_TEMPORANEI_CON_NOME", conNome ? "1" : "", 1);
        CartellaTemporanea dir;
        const std::string out = dir.file("out");
        for (const auto& c : casi) {
            fs::remove(out);
            if (c.esiste) {
                dir.scrivi("out", "vecchio");
                ::chmod(out.c_str(), c.modo);
            }
            ASSERT_TRUE(sostituisci(out, "nuovo").ok());
            EXPECT_EQ(fs::status(out).permissions(), static_cast<fs::perms>(c.modo))
                << std::oct << c.modo;
        }
    }
    ::unsetenv("PLIVENTA_TEMPORANEI_CON_NOME");
    ::umask(umask);
}

TEST(Sostituzione, KeepsTheLeftoverOfALiveProcessItMayNotSignal) {
    PLIVENTA_COME_UTENTE_COMUNE();
    // Process 1 belongs to root: a common user may not signal it, yet it runs.
    if (::kill(1, 0) == 0) {
        GTEST_SKIP() << "this user may signal process 1";
    }
    CartellaTemporanea dir;
    const std::string suo = nomeTemporaneo(1, 7);
    dir.scrivi(suo, "non nostro");
    ASSERT_TRUE(sostituisci(dir.file("out"), "nuovo").ok());
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{suo, "out"}));
}

// In a folder everyone writes in, another user may plant a link where a clerk's
// output will go, to have the clerk's program replace a file of the clerk's. Only
// root can plant a link of another user; the test then plays root and "nobody".
TEST(Sostituzione, ALinkPlantedInASharedFolderIsFollowedOnlyWhenItsOwnerMayBeTrusted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can plant a link of another user";
    }
    const uid_t io = 0, lui = ::getpwnam("nobody")->pw_uid, altro = 1;  // altro: "daemon"
    const struct {
        mode_t modo;  ///< of the folder
        uid_t cartella, collegamento, chiamante;
        bool seguito;
    } casi[] = {
        {01777, io, lui, io, false},  {01777, io, altro, lui, false},
        {01777, io, lui, lui, true},  {01777, altro, altro, lui, true},  // the folder's owner
        {0777, io, altro, lui, true},                                    // not sticky
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(testing::Message() << std::oct << c.modo << std::dec << " " << c.cartella
                                        << " " << c.collegamento << " " << c.chiamante);
        CartellaTemporanea dir;
        const fs::path condivisa = dir.percorso() / "condivisa";
        fs::create_directory(condivisa);
        // The caller's file: in a sticky folder no one else may replace it.
        const std::string vero = dir.scrivi("condivisa/vero", "suo");
        ASSERT_EQ(::chown(vero.c_str(), c.chiamante, static_cast<gid_t>(-1)), 0);
        ASSERT_EQ(::chmod(dir.percorso().c_str(), 0755), 0);
        fs::create_symlink("vero", condivisa / "out");
        fs::create_symlink(".", condivisa / "cartella");
        for (const char* l : {"out", "cartella"}) {
            ASSERT_EQ(::lchown((condivisa / l).c_str(), c.collegamento, static_cast<gid_t>(-1)), 0);
        }
        ASSERT_EQ(::chown(condivisa.c_str(), c.cartella, static_cast<gid_t>(-1)), 0);
        ASSERT_EQ(::chmod(condivisa.c_str(), c.modo), 0);
        // The output a link, then a folder on the way that is one.
        for (const char* uscita : {"out", "cartella/vero"}) {
            ASSERT_EQ(::seteuid(c.chiamante), 0);
            const EsitoVuoto r = sostituisci((condivisa / uscita).string(), "nuovo");
            ASSERT_EQ(::seteuid(0), 0);
            ASSERT_EQ(r.ok(), c.seguito) << uscita;
            if (!r.ok()) {
                EXPECT_EQ(r.errore().descrizione(),
                          (condivisa / *fs::path(uscita).begin()).string() +
                              ": collegamento simbolico di un altro utente in una cartella "
                              "condivisa: non viene seguito");
            }
        }
        EXPECT_EQ(leggiFile(vero), c.seguito ? "nuovo" : "suo");
    }
}

// /dev/stdout and /dev/fd/N name what the shell opened: a pipe is written as a
// stream; a regular file may be one opened to append to, so it is not replaced.
TEST(Sostituzione, ADescriptorOfTheShellIsAStreamOrRefused) {
    CartellaTemporanea dir;
    int tubo[2];
    ASSERT_EQ(::pipe(tubo), 0);
    const std::string log = dir.scrivi("log", "prima\n");
    const int aggiunta = ::open(log.c_str(), O_WRONLY | O_APPEND);
    for (const std::string radice : {"/dev/fd/", "/proc/self/fd/"}) {
        ASSERT_TRUE(sostituisci(radice + std::to_string(tubo[1]), "nel tubo").ok());
        char letto[16] = {};
        EXPECT_EQ(::read(tubo[0], letto, sizeof letto), 8);
        EXPECT_STREQ(letto, "nel tubo");
        const std::string file = radice + std::to_string(aggiunta);
        const EsitoVuoto rifiuto = sostituisci(file, "nuovo");
        ASSERT_FALSE(rifiuto.ok());
        EXPECT_EQ(rifiuto.errore().codice, CodiceErrore::Uso);
        EXPECT_EQ(rifiuto.errore().descrizione(),
                  file + ": l'uscita è un file aperto dalla shell; indicare un nome di file");
    }
    EXPECT_EQ(leggiFile(log), "prima\n");
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"log"});
    for (const int fd : {tubo[0], tubo[1], aggiunta}) {
        ::close(fd);
    }
}

}  // namespace
}  // namespace pliventa
