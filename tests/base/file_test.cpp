// The opening of an input file and the replacement of an output file: what is on
// disk before, during and after, on both routes (a file without a name, and the
// named file of the file systems that cannot make one).
#include "base/file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "righe.h"
#include "utente.h"

namespace pliventa {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::leggiFile;
using test::nomi;

EsitoVuoto sostituisci(const std::string& percorso, const std::string& testo) {
    Esito<Sostituzione> s = Sostituzione::prepara(percorso);
    if (!s) {
        return s.errore();
    }
    if (::write(s->fd(), testo.data(), testo.size()) != static_cast<ssize_t>(testo.size())) {
        return erroreDiSistema(percorso, errno);
    }
    return s->completa();
}

// Every reader opens its input, and every writer prepares its output, here: the
// error names the path with the system's reason.
TEST(File, WhatCannotBeReadReplacedOrUsedForTemporariesIsNamedWithItsReason) {
    PLIVENTA_COME_UTENTE_COMUNE();
    CartellaTemporanea dir;
    const std::string negato = dir.scrivi("negato", "x");
    ::chmod(negato.c_str(), 0);
    struct Caso {
        bool scrittura;
        std::string percorso;
        const char* motivo;
    };
    std::vector<Caso> casi = {
        {false, dir.file("manca"), "file o directory inesistente"},
        {false, dir.percorso().string(), "è una directory"},
        {true, dir.file("manca/out"), "file o directory inesistente"},
        {true, dir.percorso().string(), "è una directory"},
        {false, negato, "permesso negato"},
    };
    for (const auto& c : casi) {
        std::optional<Errore> e;
        if (c.scrittura) {
            // Without a descriptor asked for, nothing opens the output to object.
            if (Esito<Sostituzione> s = Sostituzione::prepara(c.percorso, false); !s) {
                e = s.errore();
            }
        } else if (const Esito<int> fd = apriInLettura(c.percorso); fd) {
            ::close(*fd);
        } else {
            e = fd.errore();
        }
        ASSERT_TRUE(e) << c.percorso << " " << c.scrittura;
        EXPECT_EQ(e->codice, CodiceErrore::InputOutput);
        EXPECT_EQ(e->percorso, c.percorso);
        EXPECT_EQ(e->motivo, c.motivo);
    }

    // A TMPDIR that cannot be used is an error whatever the reason: never a quiet
    // fall back on /tmp, which may lack the room the user set TMPDIR for.
    const std::string chiusa = dir.file("chiusa");
    fs::create_directory(chiusa);
    ::chmod(chiusa.c_str(), 0555);
    const std::pair<std::string, const char*> tmpdir[] = {
        {"", nullptr},  // unset: /tmp
        {dir.file("manca"), "file o directory inesistente"},
        {negato, "non è una directory"},
        {chiusa, "permesso negato"},
    };
    const std::string prima = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    for (const auto& [cartella, motivo] : tmpdir) {
        ::setenv("TMPDIR", cartella.c_str(), 1);
        const Esito<std::string> r = cartellaTemporanea();
        ASSERT_EQ(r.ok(), motivo == nullptr) << cartella;
        EXPECT_EQ(r.ok() ? *r : r.errore().descrizione(),
                  r.ok() ? "/tmp" : cartella + ": cartella dei file temporanei: " + motivo);
    }
    ::setenv("TMPDIR", prima.c_str(), 1);
}

TEST(Sostituzione, TheOldFileStaysUntilTheNewOneIsCompleteAndKeepsItsPermissions) {
    const struct {
        bool esiste;
        mode_t modo;  // of the old file; of the new one when none
    } casi[] = {{false, 0644}, {true, 0440}, {true, 04755}, {true, 03750}};  // set-ID, sticky
    const mode_t umask = ::umask(022);
    for (const bool conNome : {false, true}) {  // the named route, or a file without a name
        SCOPED_TRACE(conNome);
        ::setenv("PLIVENTA_TEMPORANEI_CON_NOME", conNome ? "1" : "", 1);
        CartellaTemporanea dir;
        const std::string out = dir.scrivi("out", "vecchio");
        {
            Esito<Sostituzione> s = Sostituzione::prepara(out);
            ASSERT_TRUE(s.ok()) << s.errore().descrizione();
            ASSERT_EQ(::write(s->fd(), "nuovo", 5), 5);
            EXPECT_EQ(leggiFile(out), "vecchio");
            // Only the named route shows a second name while it writes.
            EXPECT_EQ(nomi(dir).size(), conNome ? 2u : 1u);
            EXPECT_EQ(leggiFile(s->nome()), "nuovo") << "reopened by name";
        }
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"out"});
        EXPECT_EQ(leggiFile(out), "vecchio");
        for (const auto& c : casi) {
            fs::remove(out);
            if (c.esiste) {
                dir.scrivi("out", "vecchio");
                ::chmod(out.c_str(), c.modo);
            }
            ASSERT_TRUE(sostituisci(out, "nuovo").ok());
            EXPECT_EQ(leggiFile(out), "nuovo");
            EXPECT_EQ(nomi(dir), std::vector<std::string>{"out"});
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

TEST(UscitaDistinta, TheInputByAnyNameIsRefusedNamingBoth) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", "dati");
    fs::create_directory(dir.file("sotto"));
    fs::create_hard_link(in, dir.file("fisso"));
    fs::create_symlink(in, dir.file("simbolico"));
    for (const char* uscita : {"in.txt", "sotto/../in.txt", "fisso", "simbolico", "altro"}) {
        const EsitoVuoto e = uscitaDistinta(in, dir.file(uscita), "il file da importare");
        ASSERT_EQ(e.ok(), uscita == std::string("altro")) << uscita;
        if (!e.ok()) {
            EXPECT_EQ(e.errore().codice, CodiceErrore::Uso);
            EXPECT_EQ(e.errore().descrizione(), dir.file(uscita) + ": è il file da importare \"" +
                                                    in + "\": l'uscita deve essere un altro file");
        }
    }
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
