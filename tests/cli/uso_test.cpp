#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#ifndef _WIN32
#include "fifo.h"
#endif
#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::campione;
using test::RigaVersamento;

// The parser's rules (unknown options, missing values, extra operands, currency,
// notice) once each; then each command's own usage errors and input errors, none
// of which writes a file.
TEST(CliUso, HelpUsageErrorsAndInputErrorsHaveTheirExitCodes) {
    test::CartellaTemporanea dir;
    const std::string w = dir.scrivi("w", RigaVersamento().tipo('3').record());
    const std::string manca = dir.file("manca.out");
    const std::string corto = dir.scrivi("corto.txt", "3\r\n");
#ifdef _WIN32
    // A device as the work file is refused: it cannot be read by record number.
    const std::string nonRegolare = "NUL";
#else
    // A FIFO as the work file is refused before it is opened: never waited on.
    const test::FifoSenzaScrittore fifo(dir, "fifo");
    const std::string nonRegolare = fifo.percorso();
#endif
    struct Caso {
        std::vector<std::string> argomenti;
        int codice;
        std::string suStdout, suStderr;  // expected in each, or "" for nothing at all
    };
    std::vector<Caso> casi = {
        {{"dump", nonRegolare}, 1, "", "non è un file regolare"},  // first: not waited on
        {{"--help"}, 0, "Uso: pliventa-cli COMANDO", ""},
        {{"-h"}, 0, "search WORKFILE PREFIX", ""},
        {{"--version"}, 0, "pliventa-cli 3.0.3", ""},
        {{"dump", "--help"}, 0, "Uso: pliventa-cli dump WORKFILE", ""},
        {{"import", "-h"}, 0, "Uso: pliventa-cli import cnc2000|cnc1997|viol1997|f24", ""},
        {{w, "dump", "--help"}, 2, "", "comando sconosciuto"},
        {{}, 2, "", "manca il comando"},
        {{"stampa"}, 2, "", "comando sconosciuto: stampa"},
        {{"list", w, "--sort", "cf:giu"}, 2, "", "ordine non valido: \"cf:giu\""},
        {{"list", w, "--tipo", "o"}, 2, "", "tipo non valido"},
        {{"list", w, "--anno", "3"}, 2, "", "anno non valido"},
        {{"statement", w}, 2, "", "manca il codice fiscale"},
        {{"statement", w, "Y", "--format=json"}, 0, "", "nessun versamento del codice fiscale Y"},
        {{"dump"}, 2, "", "manca il file di lavoro"},
        {{"dump", w, "--x"}, 2, "", "opzione sconosciuta: --x"},
        {{"dump", w, "--valuta"}, 2, "", "manca il valore dell'opzione --valuta"},
        {{"dump", w, "--valuta", "e"}, 2, "", "valuta non valida"},
        {{"dump", w, "--notice", "lunga"}, 2, "", "lettura dell'atto non valida"},
        {{"dump", w, w}, 2, "", "argomento in più"},
        {{"dump", ""}, 2, "", "manca il file di lavoro"},
        {{"search", w}, 2, "", "manca il prefisso"},
        {{"search", w, "A", "B"}, 2, "", "argomento in più: B"},
        {{"import"}, 2, "", "manca il tracciato"},
        {{"import", "cnc2001", w}, 2, "", "tracciato sconosciuto: \"cnc2001\""},
        {{"import", "cnc2000"}, 2, "", "manca il file da importare INPUT"},
        {{"import", "cnc2000", w, "-o", dir.file("./w")}, 2, "", "deve essere un altro file"},
        {{"import", "auto", w, "--belfiore", "A\n0"}, 2, "", "caratteri di controllo"},
        {{"import", "cnc2000", w, "--belfiore", "H501"}, 2, "", "vale solo con il tracciato"},
        {{"import", "auto", campione("cnc2000.txt"), campione("risconet.txt")},
         2,
         "",
         campione("risconet.txt") + " è un'esportazione Risconet: manca il codice Belfiore"},
        {{"export", w}, 2, "", "manca la cartella di lavoro da scrivere (-o BOOK.xlsx)"},
        {{"risconet", w}, 2, "", "manca il codice Belfiore"},
        {{"risconet", w, "--belfiore", "\u03A9"}, 2, "", "caratteri non ammessi"},
        {{"risconet", w, "--belfiore", "A\n0\r"}, 2, "", "caratteri di controllo"},
        {{"summary", w, "--format", "json"}, 2, "", "manca il raggruppamento --by"},
        {{"summary", w, "--by", "anno", "--format", "xml"}, 2, "", "formato non valido"},
        {{"risconet", manca, "--belfiore", "A000"}, 1, "", "file o directory inesistente"},
        {{"import", "cnc2000", manca}, 1, "", "file o directory inesistente"},
        {{"import", "auto", campione("cnc2000.txt"), corto}, 1, "", "tracciato non riconosciuto"},
    };
    // Each reader of a work file: one that is missing, and (where the kernel has it) an
    // attribute file that says it holds a page and gives a few bytes, to each reader a
    // work file cut short after its records were counted.
    const std::string sys = "/sys/devices/system/cpu/online";
    std::error_code ec;
    const auto dimensione = std::filesystem::file_size(sys, ec);
    const bool conSys = !ec && dimensione >= 202 && test::leggiFile(sys).size() < dimensione;
    for (auto argomenti :
         std::vector<std::vector<std::string>>{{"dump", manca},
                                               {"search", manca, ""},
                                               {"check", manca},
                                               {"summary", manca, "--by", "anno"},
                                               {"export", manca, "-o", dir.file("b.xlsx")}}) {
        casi.push_back({argomenti, 1, "", "file o directory inesistente"});
        argomenti[1] = test::percorsoDaLinux(sys);
        if (conSys) {
            casi.push_back({argomenti, 1, "", "il file di lavoro è cambiato durante la lettura"});
        }
    }
    const auto contiene = [](const std::string& testo, const std::string& atteso) {
        return atteso.empty() ? testo.empty() : testo.find(atteso) != std::string::npos;
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(testing::PrintToString(c.argomenti));
        const auto r = test::lancia(c.argomenti, dir.percorso().string());
        EXPECT_EQ(r.codice, c.codice) << r.err;
        EXPECT_TRUE(contiene(r.out, c.suStdout)) << r.out;
        EXPECT_TRUE(contiene(r.err, c.suStderr)) << r.err;
        if (c.codice == 1) {
            // One line naming the path and the reason.
            EXPECT_TRUE(std::any_of(c.argomenti.begin(), c.argomenti.end(), [&](const auto& a) {
                return r.err.starts_with("pliventa-cli: " + a + ": ");
            })) << r.err;
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        }
        if (c.codice == 2) {
            EXPECT_NE(r.err.find("Uso: pliventa-cli"), std::string::npos) << r.err;
        }
    }
    EXPECT_EQ(test::leggiFile(w), RigaVersamento().tipo('3').record());
#ifdef _WIN32
    EXPECT_EQ(test::nomi(dir), (std::vector<std::string>{"corto.txt", "w"}));
#else
    EXPECT_EQ(test::nomi(dir), (std::vector<std::string>{"corto.txt", "fifo", "w"}));
    EXPECT_FALSE(fifo.sbloccato());
#endif
}

}  // namespace
}  // namespace pliventa
