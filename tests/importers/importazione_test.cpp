// The import as a whole: files in, work file out, counts, and what happens on disk
// when something fails.
#include "importers/importazione.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "importers/importatori.h"
#include "righe.h"

namespace pliventa {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::leggiFile;
using test::LimiteFile;
using test::nomi;
using test::RigaVersamento;

Esito<Conteggi> importaCon(Tracciato tracciato, const std::string& in, const std::string& out) {
    return importa(in, out, *nuovaTrasformazione(tracciato));
}

TEST(Importa, PadsAndCutsToWholeRecordsAndCounts) {
    CartellaTemporanea dir;
    const std::string piena = RigaVersamento().tipo('3').cf("PIENA").str();
    const std::string corta = piena.substr(0, 150);
    const std::string lunga = RigaVersamento().tipo('6').cf("LUNGA").str() + "eccedenza";
    const std::string in =
        dir.scrivi("in.txt", "TESTA\r\n" + piena + "\r\n" + corta + "\n" + lunga + "\r" + "CODA");
    const std::string out = dir.file("iciview.out");
    auto c = importaCon(Tracciato::cnc2000, in, out);
    ASSERT_TRUE(c.ok()) << c.errore().descrizione();
    EXPECT_EQ(c->righeLette, 5u);
    EXPECT_EQ(c->righeScartate, 2u);
    EXPECT_EQ(c->versamenti, 3u);
    EXPECT_EQ(c->completate, 1u);
    EXPECT_EQ(c->troncate, 1u);
    EXPECT_EQ(leggiFile(out), piena + "\r\n" + corta + std::string(50, ' ') + "\r\n" +
                                  lunga.substr(0, 200) + "\r\n");
}

TEST(Importa, LargeFileIsCopiedWholeAcrossBlocksAndBuffers) {
    // Several megabytes: lines cross the reader's blocks and the writer hands
    // several buffers over.
    CartellaTemporanea dir;
    std::string dati;
    std::string atteso;
    for (int i = 0; i < 30000; ++i) {
        const std::string r =
            RigaVersamento().tipo(i % 7 == 0 ? '6' : '3').cf(std::to_string(i)).str();
        dati += r + (i % 3 == 0 ? "\n" : "\r\n");
        atteso += r + "\r\n";
        if (i % 1000 == 0) {
            dati += RigaVersamento().tipo('9').str() + "\r";
        }
    }
    const std::string out = dir.file("iciview.out");
    auto c = importaCon(Tracciato::cnc2000, dir.scrivi("in.txt", dati), out);
    ASSERT_TRUE(c.ok()) << c.errore().descrizione();
    EXPECT_EQ(c->versamenti, 30000u);
    EXPECT_EQ(c->righeScartate, 30u);
    // Megabytes: compare by the offset of the first difference, not by dumping them.
    const std::string scritto = leggiFile(out);
    EXPECT_EQ(scritto.size(), atteso.size());
    const auto diversi =
        std::mismatch(scritto.begin(), scritto.end(), atteso.begin(), atteso.end());
    EXPECT_EQ(diversi.first - scritto.begin(), static_cast<std::ptrdiff_t>(scritto.size()));
}

TEST(Importa, EveryLayoutOnAnEmptyInputGivesAnEmptyWorkFile) {
    for (Tracciato t :
         {Tracciato::cnc2000, Tracciato::cnc1997, Tracciato::viol1997, Tracciato::f24}) {
        CartellaTemporanea dir;
        const std::string out = dir.scrivi("iciview.out", "vecchio contenuto");
        auto c = importaCon(t, dir.scrivi("vuoto.txt", ""), out);
        ASSERT_TRUE(c.ok()) << c.errore().descrizione();
        EXPECT_EQ(c->righeLette, 0u);
        EXPECT_EQ(c->versamenti, 0u);
        EXPECT_TRUE(fs::exists(out));
        EXPECT_EQ(fs::file_size(out), 0u);
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "vuoto.txt"}));
    }
}

TEST(Importa, ShortLinesOfTheOtherLayoutsArePadded) {
    // 1997 lines shorter than 196 characters and violation lines of any length
    // become whole records too.
    CartellaTemporanea dir;
    std::string breve97(150, '1');
    breve97[25] = '3';
    std::string viol = RigaVersamento().tipo('6').str().substr(0, 190);
    const struct {
        Tracciato tracciato;
        std::string riga;
        std::uint64_t completate;
    } casi[] = {{Tracciato::cnc1997, breve97, 1},
                {Tracciato::viol1997, viol, 1},
                {Tracciato::viol1997, viol + std::string(30, 'x'), 0}};
    for (const auto& c : casi) {
        const std::string out = dir.file("out");
        auto r = importaCon(c.tracciato, dir.scrivi("in", c.riga + "\r\n"), out);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->completate, c.completate);
        EXPECT_EQ(fs::file_size(out), 202u);
    }
}

TEST(Importa, UnreadableInputLeavesTheWorkFileAlone) {
    CartellaTemporanea dir;
    const std::string out = dir.scrivi("iciview.out", "lavoro precedente");
    const std::string negato = dir.scrivi("negato.txt", "x");
    ::chmod(negato.c_str(), 0);
    struct Caso {
        std::string percorso;
        const char* motivo;
    };
    std::vector<Caso> casi = {{dir.file("manca.txt"), "file o directory inesistente"},
                              {dir.percorso().string(), "è una directory"}};
    if (::access(negato.c_str(), R_OK) != 0) {  // root reads anything
        casi.push_back({negato, "permesso negato"});
    }
    for (const auto& c : casi) {
        auto r = importaCon(Tracciato::cnc2000, c.percorso, out);
        ASSERT_FALSE(r.ok()) << c.percorso;
        EXPECT_EQ(r.errore().percorso, c.percorso);
        EXPECT_EQ(r.errore().motivo, c.motivo);
        EXPECT_EQ(leggiFile(out), "lavoro precedente");
    }
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "negato.txt"}));
}

TEST(Importa, ReadOnlyFolderIsReportedWithTheOutputPath) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", RigaVersamento().tipo('3').str());
    const fs::path sola = dir.percorso() / "sola";
    fs::create_directory(sola);
    const std::string out = (sola / "iciview.out").string();
    std::ofstream(out) << "lavoro precedente";
    ::chmod(sola.c_str(), 0555);
    if (::access(sola.c_str(), W_OK) == 0) {
        GTEST_SKIP() << "this user writes into read-only folders";
    }
    auto r = importaCon(Tracciato::cnc2000, in, out);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().percorso, out);
    EXPECT_EQ(r.errore().motivo, "permesso negato");
    EXPECT_EQ(leggiFile(out), "lavoro precedente");
}

TEST(Importa, FullDeviceIsAnErrorNotASuccess) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", RigaVersamento().tipo('3').record());
    auto r = importaCon(Tracciato::cnc2000, in, "/dev/full");
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().percorso, "/dev/full");
    EXPECT_EQ(r.errore().motivo, "spazio esaurito sul dispositivo");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST(Importa, WriteFailureMidwayRemovesTheTemporaryFile) {
    CartellaTemporanea dir;
    std::string dati;
    for (int i = 0; i < 20000; ++i) {
        dati += RigaVersamento().tipo('3').record();
    }
    const std::string in = dir.scrivi("in.txt", dati);
    const std::string out = dir.scrivi("iciview.out", "lavoro precedente");
    const auto r = [&] {
        const LimiteFile limite(1 << 20);
        return importaCon(Tracciato::cnc2000, in, out);
    }();
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().percorso, out);
    EXPECT_EQ(r.errore().motivo, "file troppo grande");
    EXPECT_EQ(leggiFile(out), "lavoro precedente");
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"}));
}

TEST(Importa, NewWorkFileTakesTheUmaskAndReplacesTheOld) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", RigaVersamento().tipo('3').record());
    const std::string out = dir.scrivi("iciview.out", "lavoro precedente");
    ::chmod(out.c_str(), 0600);
    const mode_t prima = ::umask(022);
    auto r = importaCon(Tracciato::cnc2000, in, out);
    ::umask(prima);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(fs::status(out).permissions(), static_cast<fs::perms>(0644));
    EXPECT_EQ(leggiFile(out), RigaVersamento().tipo('3').record());
    // The same file as input and output: the input is read whole before the rename.
    auto again = importaCon(Tracciato::cnc2000, out, out);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(leggiFile(out), RigaVersamento().tipo('3').record());
}

TEST(Importa, SymbolicLinkStaysALink) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", RigaVersamento().tipo('3').record());
    const std::string vero = dir.scrivi("vero.out", "vecchio");
    const std::string link = dir.file("iciview.out");
    fs::create_symlink(vero, link);
    ASSERT_TRUE(importaCon(Tracciato::cnc2000, in, link).ok());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(leggiFile(vero), RigaVersamento().tipo('3').record());
}

TEST(Importa, FifoIsWrittenInPlace) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", RigaVersamento().tipo('6').record() + "CODA\r\n");
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string letto;
    std::thread lettore([&] { letto = leggiFile(fifo); });
    auto r = importaCon(Tracciato::cnc2000, in, fifo);
    lettore.join();
    ASSERT_TRUE(r.ok()) << r.errore().descrizione();
    EXPECT_EQ(letto, RigaVersamento().tipo('6').record());
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(Importa, OutputInAMissingFolderNamesTheOutput) {
    CartellaTemporanea dir;
    const std::string in = dir.scrivi("in.txt", "x");
    const std::string out = dir.file("manca/iciview.out");
    auto r = importaCon(Tracciato::cnc2000, in, out);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().percorso, out);
    EXPECT_EQ(r.errore().motivo, "file o directory inesistente");
}

}  // namespace
}  // namespace pliventa

namespace pliventa {
namespace {

TEST(Importa, ReportsProgressOfTheInputAndStopsWhenCancelled) {
    CartellaTemporanea dir;
    std::string dati;
    for (int i = 0; i < 40000; ++i) {
        dati += RigaVersamento().tipo('3').record();
    }
    const std::string in = dir.scrivi("in.txt", dati);
    const std::string out = dir.scrivi("iciview.out", "lavoro precedente");

    std::vector<std::pair<std::uint64_t, std::uint64_t>> visti;
    ControlloImportazione c;
    c.progresso = [&](std::uint64_t letti, std::uint64_t totale) {
        visti.emplace_back(letti, totale);
    };
    ASSERT_TRUE(importa(in, out, *nuovaTrasformazione(Tracciato::cnc2000), c).ok());
    ASSERT_GE(visti.size(), 3u);
    EXPECT_EQ(visti.front(), std::make_pair(std::uint64_t{0}, std::uint64_t{dati.size()}));
    EXPECT_EQ(visti.back(), std::make_pair(std::uint64_t{dati.size()}, std::uint64_t{dati.size()}));
    EXPECT_TRUE(std::is_sorted(visti.begin(), visti.end()));

    // A cancel midway: the previous work file stays, no temporary file is left.
    dir.scrivi("iciview.out", "lavoro precedente");
    std::atomic<bool> annulla{false};
    c.annulla = &annulla;
    c.progresso = [&](std::uint64_t letti, std::uint64_t) { annulla = letti > 0; };
    const auto r = importa(in, out, *nuovaTrasformazione(Tracciato::cnc2000), c);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().codice, CodiceErrore::Annullato);
    EXPECT_EQ(leggiFile(out), "lavoro precedente");
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"}));
}

}  // namespace
}  // namespace pliventa
