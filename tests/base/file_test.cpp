// The opening of an input file and the replacement of an output file: what is on
// disk before, during and after, on every route the system has (on Linux a file
// without a name, and everywhere the named file of the file systems that cannot
// make one).
#include "base/file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "processo.h"
#include "righe.h"
#include "sostituisci.h"

namespace pliventa {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::leggiFile;
using test::nomi;
using test::sostituisci;

// Every reader opens its input, and every writer prepares its output, here: the
// error names the path with the system's reason.
TEST(File, WhatCannotBeReadReplacedOrUsedForTemporariesIsNamedWithItsReason) {
    CartellaTemporanea dir;
    const std::string cartella = test::utf8(dir.percorso());
    const std::string file = dir.scrivi("file", "x");
    struct Caso {
        bool scrittura;
        std::string percorso;
        const char* motivo;
    };
    const Caso casi[] = {
        {false, dir.file("manca"), "file o directory inesistente"},
        {false, cartella, "è una directory"},
        {true, dir.file("manca/out"), "file o directory inesistente"},
        {true, cartella, "è una directory"},
    };
    for (const auto& c : casi) {
        std::optional<Errore> e;
        if (c.scrittura) {
            // Without a descriptor asked for, nothing opens the output to object.
            if (Esito<Sostituzione> s = Sostituzione::prepara(c.percorso, false); !s) {
                e = s.errore();
            }
        } else if (const Esito<int> fd = apriInLettura(c.percorso); fd) {
            (void)chiudiDescrittore(*fd);
        } else {
            e = fd.errore();
        }
        ASSERT_TRUE(e) << c.percorso << " " << c.scrittura;
        EXPECT_EQ(e->codice, CodiceErrore::InputOutput);
        EXPECT_EQ(e->percorso, c.percorso);
        EXPECT_EQ(e->motivo, c.motivo);
    }

    // A TMPDIR that cannot be used is an error whatever the reason: never a quiet
    // fall back on the system's folder, which may lack the room the user set
    // TMPDIR for.
    const std::pair<std::string, const char*> tmpdir[] = {
        {dir.file("manca"), "file o directory inesistente"},
        {file, "non è una directory"},
        {cartella, nullptr},
    };
    const char* prima = std::getenv("TMPDIR");
    const std::string primaTesto = prima != nullptr ? prima : "";
    for (const auto& [scelta, motivo] : tmpdir) {
        test::impostaAmbiente("TMPDIR", scelta);
        const Esito<std::string> r = cartellaTemporanea();
        ASSERT_EQ(r.ok(), motivo == nullptr) << scelta;
        EXPECT_EQ(r.ok() ? *r : r.errore().descrizione(),
                  r.ok() ? scelta : scelta + ": cartella dei file temporanei: " + motivo);
    }
    test::impostaAmbiente("TMPDIR", primaTesto);
}

// The old file stays as it was while the new one is written, and a new file that
// is given up leaves nothing behind.
TEST(Sostituzione, TheOldFileStaysUntilTheNewOneIsComplete) {
#ifdef _WIN32
    const bool percorsi[] = {true};  // Windows has no file without a name
#else
    const bool percorsi[] = {false, true};
#endif
    for (const bool conNome : percorsi) {
        SCOPED_TRACE(conNome);
        test::impostaAmbiente("PLIVENTA_TEMPORANEI_CON_NOME", conNome ? "1" : "");
        CartellaTemporanea dir;
        const std::string out = dir.scrivi("out", "vecchio");
        {
            Esito<Sostituzione> s = Sostituzione::prepara(out);
            ASSERT_TRUE(s.ok()) << s.errore().descrizione();
            ASSERT_TRUE(scriviDescrittore(s->fd(), "nuovo", 5));
            EXPECT_EQ(leggiFile(out), "vecchio");
            // Only the named route shows a second name while it writes.
            EXPECT_EQ(nomi(dir).size(), conNome ? 2u : 1u);
            EXPECT_EQ(leggiFile(s->nome()), "nuovo") << "reopened by name";
        }
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"out"});
        EXPECT_EQ(leggiFile(out), "vecchio");
        for (const bool esiste : {false, true}) {
            fs::remove(test::daUtf8(out));
            if (esiste) {
                dir.scrivi("out", "vecchio");
            }
            ASSERT_TRUE(sostituisci(out, "nuovo").ok());
            EXPECT_EQ(leggiFile(out), "nuovo");
            EXPECT_EQ(nomi(dir), std::vector<std::string>{"out"});
        }
    }
    test::impostaAmbiente("PLIVENTA_TEMPORANEI_CON_NOME", "");
}

TEST(UscitaDistinta, TheInputByAnyNameIsRefusedNamingBoth) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", "dati");
    fs::create_directory(dir.file("sotto"));
    fs::create_hard_link(in, dir.file("fisso"));
#ifdef _WIN32
    // On Windows a name in another case, or with the other separator, is the same file.
    const char* const uscite[] = {"in.txt", "sotto/../in.txt", "sotto\\..\\IN.TXT", "fisso",
                                  "altro"};
#else
    fs::create_symlink(in, dir.file("simbolico"));
    const char* const uscite[] = {"in.txt", "sotto/../in.txt", "fisso", "simbolico", "altro"};
#endif
    for (const char* uscita : uscite) {
        const EsitoVuoto e = uscitaDistinta(in, dir.file(uscita), "il file da importare");
        ASSERT_EQ(e.ok(), uscita == std::string("altro")) << uscita;
        if (!e.ok()) {
            EXPECT_EQ(e.errore().codice, CodiceErrore::Uso);
            EXPECT_EQ(e.errore().descrizione(), dir.file(uscita) + ": è il file da importare \"" +
                                                    in + "\": l'uscita deve essere un altro file");
        }
    }
}

}  // namespace
}  // namespace pliventa
