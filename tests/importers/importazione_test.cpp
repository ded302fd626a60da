// The import as a whole: files in, work file out, counts, and what happens on disk
// when something fails.
#include "importers/importazione.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <new>
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

// Several megabytes: lines cross the reader's blocks and the writer hands several
// buffers over; a FIFO as the output is written in place.
TEST(Importa, PadsAndCutsToWholeRecordsAcrossBlocksAndBuffersAndCounts) {
    CartellaTemporanea dir;
    const std::string piena = RigaVersamento().tipo('3').cf("PIENA").str();
    const std::string corta = piena.substr(0, 150);
    const std::string lunga = RigaVersamento().tipo('6').cf("LUNGA").str() + "eccedenza";
    std::string dati = "TESTA\r\n" + piena + "\r\n" + corta + "\n" + lunga + "\r";
    std::string atteso =
        piena + "\r\n" + corta + std::string(50, ' ') + "\r\n" + lunga.substr(0, 200) + "\r\n";
    for (int i = 0; i < 30000; ++i) {
        const std::string r =
            RigaVersamento().tipo(i % 7 == 0 ? '6' : '3').cf(std::to_string(i)).str();
        dati += r + (i % 3 == 0 ? "\n" : "\r\n");
        atteso += r + "\r\n";
        if (i % 1000 == 0) {
            dati += RigaVersamento().tipo('9').str() + "\r";
        }
    }
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string scritto;
    std::thread lettore([&] { scritto = leggiFile(fifo); });
    auto c = importaCon(Tracciato::cnc2000, dir.scrivi("in.txt", dati + "CODA"), fifo);
    lettore.join();
    ASSERT_TRUE(c.ok()) << c.errore().descrizione();
    EXPECT_EQ(c->righeLette, 30035u);
    EXPECT_EQ(c->righeScartate, 32u);
    EXPECT_EQ(c->versamenti, 30003u);
    EXPECT_EQ(c->completate, 1u);
    EXPECT_EQ(c->troncate, 1u);
    EXPECT_TRUE(fs::is_fifo(fifo));
    // Megabytes: compare by the offset of the first difference, not by dumping them.
    EXPECT_EQ(scritto.size(), atteso.size());
    const auto diversi =
        std::mismatch(scritto.begin(), scritto.end(), atteso.begin(), atteso.end());
    EXPECT_EQ(diversi.first - scritto.begin(), static_cast<std::ptrdiff_t>(scritto.size()));
}

// Whatever fails, on the input or the output side, or an output that would replace
// its own input, the error names the path and the previous work file stays as it
// was, with nothing else left beside it.
TEST(Importa, FailuresNameThePathAndLeaveTheOldWorkFile) {
    CartellaTemporanea dir;
    const std::string in =
        dir.scrivi("in.txt", test::ripeti(RigaVersamento().tipo('3').record(), 20000));
    const std::string out = dir.scrivi("iciview.out", "lavoro precedente");
    const struct {
        const char* caso;
        std::string in, out;
        std::uint64_t limite;  // largest file, 0: none
        std::string percorso, motivo;
    } casi[] = {
        {"missing input", dir.file("manca.txt"), out, 0, dir.file("manca.txt"),
         "file o directory inesistente"},
        {"missing output folder", in, dir.file("manca/iciview.out"), 0,
         dir.file("manca/iciview.out"), "file o directory inesistente"},
        {"full device", in, "/dev/full", 0, "/dev/full", "spazio esaurito sul dispositivo"},
        {"file too large midway", in, out, 1 << 20, out, "file troppo grande"},
        {"the input by another name", in, dir.file("./in.txt"), 0, dir.file("./in.txt"),
         "è il file da leggere \"" + in + "\": l'uscita deve essere un altro file"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        const auto r = [&] {
            const LimiteFile limite(c.limite > 0 ? c.limite : RLIM_INFINITY);
            return importaCon(Tracciato::cnc2000, c.in, c.out);
        }();
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errore().percorso, c.percorso);
        EXPECT_EQ(r.errore().motivo, c.motivo);
        EXPECT_EQ(leggiFile(out), "lavoro precedente");
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"}));
    }
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

/// Takes every line and runs out of memory at the line `dopo`.
class SenzaMemoria final : public Trasformazione {
public:
    explicit SenzaMemoria(std::uint64_t dopo) : dopo_(dopo) {}
    bool riga(const Riga& riga, Uscita& uscita) override {
        if (++viste_ == dopo_) {
            throw std::bad_alloc();
        }
        uscita.scrivi(riga.testo);
        return true;
    }

private:
    std::uint64_t dopo_;
    std::uint64_t viste_ = 0;
};

TEST(Importa, OutOfMemoryMidwayLeavesTheOldWorkFileAndNoOtherName) {
    // The named route: a file without a name could not be left behind anyway.
    ::setenv("PLIVENTA_TEMPORANEI_CON_NOME", "1", 1);
    CartellaTemporanea dir;
    const std::string in =
        dir.scrivi("in.txt", test::ripeti(RigaVersamento().tipo('3').record(), 20000));
    const std::string out = dir.scrivi("iciview.out", "lavoro precedente");
    // Past the first buffer handed to the writing thread, and before it.
    for (const std::uint64_t dopo : {15000u, 10u}) {
        SenzaMemoria t(dopo);
        EXPECT_THROW(importa(in, out, t), std::bad_alloc);
        EXPECT_EQ(leggiFile(out), "lavoro precedente");
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"})) << dopo;
    }
    ::unsetenv("PLIVENTA_TEMPORANEI_CON_NOME");
}

TEST(Importa, ReportsProgressOfTheInputAndStopsWhenCancelled) {
    CartellaTemporanea dir;
    const std::string dati = test::ripeti(RigaVersamento().tipo('3').record(), 40000);
    const std::string in = dir.scrivi("in.txt", dati);
    const std::string out = dir.file("iciview.out");
    using Coppia = std::pair<std::uint64_t, std::uint64_t>;
    std::vector<Coppia> visti;
    Controllo c;
    c.progresso = [&](std::uint64_t letti, std::uint64_t totale) {
        visti.emplace_back(letti, totale);
    };
    ASSERT_TRUE(importa(in, out, *nuovaTrasformazione(Tracciato::cnc2000), c).ok());
    ASSERT_GE(visti.size(), 3u);
    EXPECT_EQ(visti.front(), Coppia(0, dati.size()));
    EXPECT_EQ(visti.back(), Coppia(dati.size(), dati.size()));
    EXPECT_TRUE(std::is_sorted(visti.begin(), visti.end()));

    // A cancel midway, or one that comes after the last line is read: the previous
    // work file stays, no temporary file is left.
    std::atomic<bool> annulla{false};
    struct AnnullaAllaFine final : Trasformazione {
        std::atomic<bool>* annulla;
        bool riga(const Riga&, Uscita& u) override {
            u.scrivi("nuovo");
            return true;
        }
        void fine(Uscita&) override { *annulla = true; }
    } allaFine;
    allaFine.annulla = &annulla;
    Controllo soloAnnulla;
    soloAnnulla.annulla = c.annulla = &annulla;
    c.progresso = [&](std::uint64_t letti, std::uint64_t) { annulla = annulla || letti > 0; };
    for (const bool tardi : {false, true}) {
        SCOPED_TRACE(tardi);
        dir.scrivi("iciview.out", "lavoro precedente");
        annulla = false;
        const auto r = tardi ? importa(in, out, allaFine, soloAnnulla)
                             : importa(in, out, *nuovaTrasformazione(Tracciato::cnc2000), c);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errore().codice, CodiceErrore::Annullato);
        EXPECT_EQ(leggiFile(out), "lavoro precedente");
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"}));
    }
}

// Several inputs into one work file (their concatenation: the command line's
// auto import checks it): any input that fails, or a cancel while the second is
// read, keeps the old work file.
TEST(ImportaTutti, AFailureOrACancelOnAnyInputKeepsTheOldWorkFile) {
    const std::string f24 = std::string(PLIVENTA_SAMPLES_DIR) + "/f24.txt";
    CartellaTemporanea dir;
    const std::string out = dir.scrivi("iciview.out", "vecchio");
    const auto ingressi = [](const std::vector<std::string>& percorsi) {
        std::vector<Ingresso> v;
        for (const std::string& p : percorsi) {
            v.push_back({p, nuovaTrasformazione(Tracciato::f24)});
        }
        return v;
    };
    auto conMancante = ingressi({f24, dir.file("mancante")});
    const Esito<std::vector<Conteggi>> c = importaTutti(conMancante, out);
    ASSERT_FALSE(c.ok());
    EXPECT_EQ(c.errore().percorso, dir.file("mancante"));

    std::atomic<bool> annulla{false};
    Controllo controllo;
    controllo.annulla = &annulla;
    const std::uint64_t primo = leggiFile(f24).size();
    controllo.progresso = [&](std::uint64_t fatti, std::uint64_t totale) {
        EXPECT_EQ(totale, 2 * primo);
        annulla = fatti >= primo;
    };
    auto due = ingressi({f24, f24});
    const Esito<std::vector<Conteggi>> annullato = importaTutti(due, out, controllo);
    ASSERT_FALSE(annullato.ok());
    EXPECT_EQ(annullato.errore().codice, CodiceErrore::Annullato);
    EXPECT_EQ(leggiFile(out), "vecchio");
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"});
}

}  // namespace
}  // namespace pliventa
