// The opening of an input file and the replacement of an output file: what is on
// disk before, during and after, on both routes (a file without a name, and the
// named file of the file systems that cannot make one).
#include "base/file.h"

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

/// While it lives, new files are made by the named route.
class SoloConNome {
public:
    explicit SoloConNome(bool attivo) {
        if (attivo) {
            ::setenv("PLIVENTA_TEMPORANEI_CON_NOME", "1", 1);
        }
    }
    ~SoloConNome() { ::unsetenv("PLIVENTA_TEMPORANEI_CON_NOME"); }
};

constexpr bool kPercorsi[] = {false, true};

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
TEST(File, WhatCannotBeReadOrReplacedIsNamedWithItsReason) {
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
}

TEST(Sostituzione, TheOldFileStaysUntilTheNewOneIsCompleteAndNothingElseIsLeft) {
    for (const bool conNome : kPercorsi) {
        const SoloConNome percorso(conNome);
        CartellaTemporanea dir;
        const std::string out = dir.scrivi("out", "vecchio");
        {
            Esito<Sostituzione> s = Sostituzione::prepara(out);
            ASSERT_TRUE(s.ok()) << s.errore().descrizione();
            ASSERT_EQ(::write(s->fd(), "nuovo", 5), 5);
            EXPECT_EQ(leggiFile(out), "vecchio");
            // Only the named route shows a second name while it writes.
            EXPECT_EQ(nomi(dir).size(), conNome ? 2u : 1u) << conNome;
            EXPECT_EQ(leggiFile(s->nome()), "nuovo") << "reopened by name";
        }
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"out"}) << conNome;
        EXPECT_EQ(leggiFile(out), "vecchio");

        ASSERT_TRUE(sostituisci(out, "nuovo").ok());
        EXPECT_EQ(leggiFile(out), "nuovo");
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"out"}) << conNome;
    }
}

TEST(Sostituzione, KeepsThePermissionsOfTheFileReplaced) {
    const struct {
        bool esiste;
        mode_t modo;  // of the old file; of the new one when none
    } casi[] = {{false, 0644}, {true, 0440}, {true, 04755}, {true, 03750}};  // set-ID, sticky
    const mode_t umask = ::umask(022);
    for (const bool conNome : kPercorsi) {
        const SoloConNome percorso(conNome);
        for (const auto& c : casi) {
            CartellaTemporanea dir;
            const std::string out = dir.file("out");
            if (c.esiste) {
                dir.scrivi("out", "vecchio");
                ::chmod(out.c_str(), c.modo);
            }
            ASSERT_TRUE(sostituisci(out, "nuovo").ok());
            EXPECT_EQ(leggiFile(out), "nuovo");
            EXPECT_EQ(fs::status(out).permissions(), static_cast<fs::perms>(c.modo))
                << std::oct << c.modo << " " << conNome;
        }
    }
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

}  // namespace
}  // namespace pliventa
