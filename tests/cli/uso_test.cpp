#include <gtest/gtest.h>

#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

// The parser's rules (unknown options, missing values, extra operands, currency,
// notice) once each; then each command's own usage errors and input error.
TEST(CliUso, HelpUsageErrorsAndInputErrorsHaveTheirExitCodes) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("w", RigaVersamento().tipo('3').record());
    const std::string manca = dir.file("manca.out");
    const struct {
        std::vector<std::string> argomenti;
        int codice;
        const char* suStdout;  // expected in standard output, or nullptr for none
        const char* suStderr;  // expected in standard error, or nullptr for none
    } casi[] = {
        {{"--help"}, 0, "Uso: pliventa-cli COMANDO", nullptr},
        {{"-h"}, 0, "search WORKFILE PREFIX", nullptr},
        {{"--version"}, 0, "pliventa-cli 3.0.3", nullptr},
        {{"dump", "--help"}, 0, "Uso: pliventa-cli dump WORKFILE", nullptr},
        {{"search", "--help"}, 0, "Uso: pliventa-cli search WORKFILE PREFIX", nullptr},
        {{"import", "-h"}, 0, "Uso: pliventa-cli import cnc2000|cnc1997|viol1997|f24", nullptr},
        {{"export", "--help"}, 0, "Uso: pliventa-cli export WORKFILE -o BOOK.xlsx", nullptr},
        {{"risconet", "-h"}, 0, "Uso: pliventa-cli risconet INPUT --belfiore CODE", nullptr},
        {{w, "dump", "--help"}, 2, nullptr, "comando sconosciuto"},
        {{}, 2, nullptr, "manca il comando"},
        {{"stampa"}, 2, nullptr, "comando sconosciuto: stampa"},
        {{"list", w, "--sort", "cf:giu"}, 2, nullptr, "ordine non valido: \"cf:giu\""},
        {{"list", w, "--tipo", "o"}, 2, nullptr, "tipo non valido"},
        {{"list", w, "--anno", "3"}, 2, nullptr, "anno non valido"},
        {{"statement", w}, 2, nullptr, "manca il codice fiscale"},
        {{"import", "auto", w, "--belfiore", "A\n0"}, 2, nullptr, "caratteri di controllo"},
        {{"dump"}, 2, nullptr, "manca il file di lavoro"},
        {{"dump", w, "--x"}, 2, nullptr, "opzione sconosciuta: --x"},
        {{"dump", w, "--valuta"}, 2, nullptr, "manca il valore dell'opzione --valuta"},
        {{"dump", w, "--valuta", "e"}, 2, nullptr, "valuta non valida"},
        {{"dump", w, "--notice", "lunga"}, 2, nullptr, "lettura dell'atto non valida"},
        {{"dump", w, w}, 2, nullptr, "argomento in più"},
        {{"dump", ""}, 2, nullptr, "manca il file di lavoro"},
        {{"search", w}, 2, nullptr, "manca il prefisso"},
        {{"search", w, "A", "B"}, 2, nullptr, "argomento in più: B"},
        {{"import"}, 2, nullptr, "manca il tracciato"},
        {{"import", "cnc2001", w}, 2, nullptr, "tracciato sconosciuto: \"cnc2001\""},
        {{"import", "cnc2000"}, 2, nullptr, "manca il file da importare"},
        {{"export", w}, 2, nullptr, "manca la cartella di lavoro da scrivere (-o BOOK.xlsx)"},
        {{"risconet", w}, 2, nullptr, "manca il codice Belfiore"},
        {{"risconet", w, "--belfiore", "\u03A9"}, 2, nullptr, "caratteri non ammessi"},
        {{"summary", w, "--format", "json"},
         2,
         nullptr,
         "manca il raggruppamento --by anno|mese|comune"},
        {{"summary", w, "--by", "anno", "--format", "xml"},
         2,
         nullptr,
         "formato non valido: \"xml\""},
        {{"dump", manca}, 1, nullptr, "file o directory inesistente"},
        {{"risconet", manca, "--belfiore", "A000"}, 1, nullptr, "file o directory inesistente"},
        {{"export", manca, "-o", dir.file("b.xlsx")}, 1, nullptr, "file o directory inesistente"},
        {{"check", manca}, 1, nullptr, "file o directory inesistente"},
        {{"summary", manca, "--by", "anno"}, 1, nullptr, "file o directory inesistente"},
        {{"search", manca, "A"}, 1, nullptr, "file o directory inesistente"},
        {{"import", "cnc2000", manca, "-o", dir.file("out")},
         1,
         nullptr,
         "file o directory inesistente"},
    };
    for (const auto& c : casi) {
        std::string comando;
        for (const auto& a : c.argomenti) {
            comando += " " + a;
        }
        const auto r = lancia(c.argomenti);
        EXPECT_EQ(r.codice, c.codice) << comando << "\n" << r.err;
        if (c.suStdout != nullptr) {
            EXPECT_NE(r.out.find(c.suStdout), std::string::npos) << comando << "\n" << r.out;
        } else {
            EXPECT_EQ(r.out, "") << comando;
        }
        if (c.suStderr != nullptr) {
            EXPECT_NE(r.err.find(c.suStderr), std::string::npos) << comando << "\n" << r.err;
        } else {
            EXPECT_EQ(r.err, "") << comando;
        }
        if (c.codice == 1) {
            // One line naming the path and the reason.
            EXPECT_NE(r.err.find(c.argomenti[c.argomenti[0] == "import" ? 2 : 1] + ": "),
                      std::string::npos)
                << r.err;
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        }
        if (c.codice == 2) {
            EXPECT_NE(r.err.find("Uso: pliventa-cli"), std::string::npos) << r.err;
        }
    }
}

}  // namespace
}  // namespace pliventa
