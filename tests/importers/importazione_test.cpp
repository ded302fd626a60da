// The import as a whole: lines read whatever their ends, the layout told from the
// first lines, files in, work file out, counts, and what happens on disk when
// something fails.
#include "importers/importazione.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <thread>

#include "importers/importatori.h"
#include "importers/lettore.h"
#include "importers/riconoscimento.h"
#include "processo.h"
#include "righe.h"

namespace pliventa {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::leggiFile;
using test::LimiteFile;
using test::nomi;
using test::RigaVersamento;

/// A line as read: its start up to the limit and, unless that is the whole line,
/// "|" and its true length.
std::string letta(std::string_view testo, std::uint64_t lunghezza) {
    return std::string(testo) + (lunghezza != testo.size() ? "|" + std::to_string(lunghezza) : "");
}

std::vector<std::string> leggiTutto(const std::string& percorso, std::size_t blocco,
                                    std::size_t massimo = Riga::kMaxRiga) {
    auto lettore = LettoreRighe::apri(percorso, blocco);
    EXPECT_TRUE(lettore.ok()) << lettore.errore().descrizione();
    lettore->rigaMassima(massimo);
    std::vector<std::string> righe;
    Riga r;
    for (;;) {
        auto e = lettore->prossima(r);
        EXPECT_TRUE(e.ok());
        if (!e.ok() || !*e) {
            return righe;
        }
        righe.push_back(letta(r.testo, r.lunghezza));
    }
}

// Every input is read with every block size from 1 byte to the whole file, so each
// line end, the CR LF pair among them, falls on a block boundary at least once.
TEST(LettoreRighe, LineEndsWhateverTheBlockBoundaries) {
    const struct {
        const char* nome;
        std::string dati;
        std::vector<std::string> attese;
    } casi[] = {
        {"empty file", "", {}},
        {"CR LF", "ab\r\ncd\r\n", {"ab", "cd"}},
        {"mixed", "ab\r\ncd\nef\rgh\r\n", {"ab", "cd", "ef", "gh"}},
        {"no final line end", "ab\r\ncd", {"ab", "cd"}},
        {"empty lines", "\n\n\r\r\n", {"", "", "", ""}},
        {"LF then CR are two ends", "ab\n\rcd", {"ab", "", "cd"}},
        {"CR CR LF", "ab\r\r\ncd", {"ab", "", "cd"}},
        {"bytes above 127", "\xe8\xe0\xf9\r\n", {"\xe8\xe0\xf9"}},
    };
    CartellaTemporanea dir;
    for (const auto& c : casi) {
        const std::string p = dir.scrivi("in", c.dati);
        for (std::size_t blocco = 1; blocco <= c.dati.size() + 1; ++blocco) {
            EXPECT_EQ(leggiTutto(p, blocco), c.attese) << c.nome << ", block " << blocco;
        }
    }
}

TEST(LettoreRighe, LongLineKeepsItsStartUpToTheLimitAndItsTrueLength) {
    CartellaTemporanea dir;
    std::string lunga;
    for (std::size_t i = 0; i < Riga::kMaxRiga + 1000; ++i) {
        lunga += static_cast<char>('a' + i % 26);
    }
    // The last one without a line end, across blocks.
    const std::string p = dir.scrivi("in", "x\r\n" + lunga + "\r\ny\r\n" + lunga);
    // A line longer than the limit, and one within a limit set higher: whole.
    for (const std::size_t massimo : {Riga::kMaxRiga, lunga.size()}) {
        const std::string l = letta(lunga.substr(0, massimo), lunga.size());
        const std::vector<std::string> attese = {"x", l, "y", l};
        for (std::size_t blocco : {std::size_t{7}, std::size_t{1000}, LettoreRighe::kBlocco}) {
            EXPECT_EQ(leggiTutto(p, blocco, massimo), attese) << "block " << blocco;
        }
    }
}

// The layout told from the first lines of a file: each rule, the samples of every
// layout, and what cannot be told.

// A 1997 payment line: the year of the date in two digits, 196 characters.
std::string riga1997(std::string_view aammgg) {
    return RigaVersamento().tipo('3').colonne(27, aammgg).str().substr(0, 196) + "\r\n";
}

// A violation line whose notice date is at column `colonna`.
std::string violazione(std::size_t colonna) {
    return RigaVersamento().tipo('6').data("19990312").colonne(colonna, "15011998").record();
}

TEST(Riconoscimento, EachRuleWhatCannotBeToldTheNoticeOfMixedInputsAndAFilesBeginning) {
    const char* nessuna = "nessuna riga di versamento riconoscibile nelle prime righe";
    const std::string ordinaria = RigaVersamento().tipo('3').data("20030715").record();
    const struct {
        const char* caso;
        std::string inizio;
        bool intero;
        std::optional<Formato> formato;
        const char* motivo;
    } casi[] = {
        {"header and an ordinary line", RigaVersamento().tipo('1').record() + ordinaria, true,
         Formato::cnc2000, ""},
        {"long notice", ordinaria + violazione(184), true, Formato::cnc2000, ""},
        {"short notice", ordinaria + violazione(181), true, Formato::viol1997, ""},
        {"two-digit year", riga1997("970825") + riga1997("010920"), true, Formato::cnc1997, ""},
        {"F24", "A1 TESTA\r\nG1" + std::string(258, '0') + "\r\n", true, Formato::f24, ""},
        {"Risconet", "PROGR;DATA\r\n1;2003-07-15 00:00:00;\r\n", true, Formato::risconet, ""},
        {"blank lines", "  \r\n\r\n", true, std::nullopt, "il file è vuoto"},
        {"binary", ordinaria + std::string(1, '\0'), true, std::nullopt, "non è un file di testo"},
        {"a short line", "3\r\n", true, std::nullopt, nessuna},
        // Read as yymmdd, 20031315 would be a day of 2020.
        {"a date that is no day", RigaVersamento().tipo('3').data("20031315").record(), true,
         std::nullopt, nessuna},
        {"a 1997 line of a company", riga1997("97082501234567890"), true, std::nullopt, nessuna},
        // The last line, cut by the limit, is left out when the file goes on.
        {"cut last line", ordinaria.substr(0, 150), false, std::nullopt, nessuna},
        {"both kinds of year", ordinaria + riga1997("970825"), true, std::nullopt,
         "righe con l'anno del versamento di due cifre (tracciato 1997) e di quattro"},
        {"both notices", violazione(181) + violazione(184), true, std::nullopt,
         "estremi dell'atto di violazione sia nella disposizione breve (1997) sia in quella "
         "lunga"},
        {"a ';' on one line only", "PROGR;DATA\r\n" + ordinaria, true, Formato::cnc2000, ""},
    };
    for (const auto& c : casi) {
        const Riconoscimento r = riconosci(c.inizio, c.intero);
        EXPECT_EQ(r.formato, c.formato) << c.caso;
        EXPECT_EQ(r.motivo, c.motivo) << c.caso;
    }
    // Several inputs: the notice is read short only when every one is of the 1997
    // violations (the work file's name is the command line's tests).
    using T = Tracciato;
    EXPECT_EQ(letturaAtto(std::vector{T::viol1997, T::viol1997}), LetturaAtto::breve);
    EXPECT_EQ(letturaAtto(std::vector{T::viol1997, T::cnc2000}), LetturaAtto::lunga);

    // A file is told from its first bytes: a 1997 line after them is never read.
    CartellaTemporanea dir;
    std::string dati;
    while (dati.size() < kInizioLetto) {
        dati += RigaVersamento().tipo('3').data("20030715").record();
    }
    const Esito<Riconoscimento> r = riconosciFile(dir.scrivi("in", dati + riga1997("970825")));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->formato, Formato::cnc2000);
    const Esito<Riconoscimento> mancante = riconosciFile(dir.file("mancante"));
    ASSERT_FALSE(mancante.ok());
    EXPECT_EQ(mancante.errore().percorso, dir.file("mancante"));
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
#ifdef _WIN32
    // No FIFOs on Windows: the output is a file.
    const std::string fifo = dir.file("uscita.out");
    auto c = importa(dir.scrivi("in.txt", dati + "CODA"), fifo,
                     *nuovaTrasformazione(Tracciato::cnc2000));
    const std::string scritto = leggiFile(fifo);
#else
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string scritto;
    std::thread lettore([&] { scritto = leggiFile(fifo); });
    auto c = importa(dir.scrivi("in.txt", dati + "CODA"), fifo,
                     *nuovaTrasformazione(Tracciato::cnc2000));
    lettore.join();
    EXPECT_TRUE(fs::is_fifo(fifo));
#endif
    ASSERT_TRUE(c.ok()) << c.errore().descrizione();
    EXPECT_EQ(c->righeLette, 30035u);
    EXPECT_EQ(c->righeScartate, 32u);
    EXPECT_EQ(c->versamenti, 30003u);
    EXPECT_EQ(c->completate, 1u);
    EXPECT_EQ(c->troncate, 1u);
    // Megabytes: compare by the offset of the first difference, not by dumping them.
    EXPECT_EQ(scritto.size(), atteso.size());
    const auto diversi =
        std::mismatch(scritto.begin(), scritto.end(), atteso.begin(), atteso.end());
    EXPECT_EQ(diversi.first - scritto.begin(), static_cast<std::ptrdiff_t>(scritto.size()));
}

// Whatever fails, on the input or the output side, an output that would replace
// its own input, or memory running out, the error names the path and the previous
// work file stays as it was, with nothing else left beside it.
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
        {"full device", in, test::kDispositivoPieno, 0, test::kDispositivoPieno,
         "spazio esaurito sul dispositivo"},
        {"file too large midway", in, out, 1 << 20, out, "file troppo grande"},
        {"the input by another name", in, dir.file("./in.txt"), 0, dir.file("./in.txt"),
         "è il file da leggere \"" + in + "\": l'uscita deve essere un altro file"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        if (c.out.empty() || (c.limite > 0 && !LimiteFile::disponibile())) {
            continue;  // no full device or file size limit on this system
        }
        const auto r = [&] {
            const LimiteFile limite(c.limite > 0 ? c.limite : LimiteFile::kNessuno);
            return importa(c.in, c.out, *nuovaTrasformazione(Tracciato::cnc2000));
        }();
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errore().percorso, c.percorso);
        EXPECT_EQ(r.errore().motivo, c.motivo);
        EXPECT_EQ(leggiFile(out), "lavoro precedente");
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"}));
    }
    if (*test::kDispositivoPieno != '\0') {
        EXPECT_TRUE(fs::is_character_file(test::kDispositivoPieno));
    }

    // Out of memory past the first buffer handed to the writing thread, and before
    // it; on the named route, for a file without a name could not be left anyway.
    test::impostaAmbiente("PLIVENTA_TEMPORANEI_CON_NOME", "1");
    for (const std::uint64_t dopo : {15000u, 10u}) {
        // Takes every line and runs out of memory at the line `dopo`.
        struct SenzaMemoria final : Trasformazione {
            std::uint64_t dopo, viste = 0;
            bool riga(const Riga& riga, Uscita& uscita) override {
                if (++viste == dopo) {
                    throw std::bad_alloc();
                }
                uscita.scrivi(riga.testo);
                return true;
            }
        } t;
        t.dopo = dopo;
        EXPECT_THROW(importa(in, out, t), std::bad_alloc);
        EXPECT_EQ(leggiFile(out), "lavoro precedente");
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"})) << dopo;
    }
    test::impostaAmbiente("PLIVENTA_TEMPORANEI_CON_NOME", "");
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

    // A cancel midway, one that comes after the last line is read, or one while the
    // second of several inputs is read (their concatenation, and an input that
    // cannot be read, are the command line's tests): the previous work file stays,
    // no temporary file is left.
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
    std::uint64_t soglia = 0;  // the cancel comes once past this byte of the inputs
    c.progresso = [&](std::uint64_t letti, std::uint64_t totale) {
        EXPECT_EQ(totale, soglia + dati.size());
        annulla = annulla || letti > soglia;
    };
    dir.scrivi("iciview.out", "lavoro precedente");
    const auto annullato = [&](const auto& r) {
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.errore().codice, CodiceErrore::Annullato);
        EXPECT_EQ(leggiFile(out), "lavoro precedente");
        EXPECT_EQ(nomi(dir), (std::vector<std::string>{"iciview.out", "in.txt"}));
        annulla = false;
    };
    annullato(importa(in, out, *nuovaTrasformazione(Tracciato::cnc2000), c));
    annullato(importa(in, out, allaFine, soloAnnulla));
    std::vector<Ingresso> due;
    due.push_back({in, nuovaTrasformazione(Tracciato::cnc2000)});
    due.push_back({in, nuovaTrasformazione(Tracciato::cnc2000)});
    soglia = dati.size();
    annullato(importaTutti(due, out, c));
}

}  // namespace
}  // namespace pliventa
