// pliventa-cli: the imports, the record dump and the search of Pliventa for batch
// work, on the same core as the window.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/file.h"
#include "base/sistema.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"

namespace {

#define PLIVENTA_TESTO(x) #x
#define PLIVENTA_VERSIONE(a, b, c) PLIVENTA_TESTO(a) "." PLIVENTA_TESTO(b) "." PLIVENTA_TESTO(c)

constexpr pliventa::cli::Guida kGuida = {
    "",
    "COMANDO [ARGOMENTI]",
    "Versamenti ICI da riga di comando.\n"
    "\n"
    "Comandi:\n"
    "  import cnc2000|cnc1997|viol1997|f24|auto INPUT... [--belfiore CODE] [-o WORKFILE]\n"
    "        importa uno o più file di versamenti in un file di lavoro\n"
    "  dump WORKFILE [--valuta E|L] [--notice long|short]\n"
    "        i versamenti del file di lavoro in JSON, uno per riga\n"
    "  export WORKFILE -o BOOK.xlsx [--valuta E|L] [--notice long|short]\n"
    "        i versamenti del file di lavoro in una cartella di lavoro Excel\n"
    "  risconet INPUT --belfiore CODE [-o OUTPUT]\n"
    "        converte un'esportazione Risconet nel tracciato CNC (versunir.out)\n"
    "  search WORKFILE PREFIX\n"
    "        i numeri dei versamenti il cui codice fiscale inizia per PREFIX\n"
    "  list WORKFILE [--cf PREFIX] [--anno YEAR] [--tipo O|V] [--anomalie]\n"
    "       [--sort COLUMN[:desc]]\n"
    "        i numeri dei versamenti dell'elenco, filtrati e ordinati\n"
    "  statement WORKFILE CODICEFISCALE [--format text|csv|json] [--valuta E|L]\n"
    "        la scheda del contribuente: i suoi totali per anno d'imposta\n"
    "  check WORKFILE [--valuta E|L]\n"
    "        i versamenti che sembrano errati, un oggetto JSON per anomalia\n"
    "  summary WORKFILE --by anno|mese|comune [--format text|csv|json] [--valuta E|L]\n"
    "        i totali per anno d'imposta e tipo, per mese di versamento o per comune\n"
    "\n"
    "  -h, --help   questo aiuto; pliventa-cli COMANDO --help per ogni comando\n"
    "  --version    la versione\n"
    "\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

int esegui(const std::vector<std::string>& testi) {
    using namespace pliventa::cli;
    const std::vector<std::string_view> argomenti(testi.begin(), testi.end());
    if (argomenti.empty()) {
        return erroreUso(kGuida, "manca il comando");
    }
    const std::string_view comando = argomenti[0];
    const std::span<const std::string_view> resto(argomenti.begin() + 1, argomenti.end());
    if (comando == "dump") {
        return comandoDump(resto);
    }
    if (comando == "search") {
        return comandoSearch(resto);
    }
    if (comando == "list") {
        return comandoList(resto);
    }
    if (comando == "statement") {
        return comandoStatement(resto);
    }
    if (comando == "export") {
        return comandoExport(resto);
    }
    if (comando == "risconet") {
        return comandoRisconet(resto);
    }
    if (comando == "check") {
        return comandoCheck(resto);
    }
    if (comando == "summary") {
        return comandoSummary(resto);
    }
    if (comando == "import") {
        return comandoImport(resto);
    }
    if (comando == "-h" || comando == "--help" || comando == "help") {
        return aiuto(kGuida);
    }
    if (comando == "--version") {
        std::puts("pliventa-cli " PLIVENTA_VERSIONE(PLIVENTA_VERSION_MAJOR, PLIVENTA_VERSION_MINOR,
                                                    PLIVENTA_VERSION_PATCH));
        return kRiuscito;
    }
    return erroreUso(kGuida, "comando sconosciuto: " + std::string(comando));
}

}  // namespace

int main(int argc, char** argv) {
    // A Ctrl+C, the terminal closed or a shutdown: the new file of an unfinished
    // import or export goes with the program.
    pliventa::allaTerminazione(pliventa::rimuoviTemporaneiAperti);
    pliventa::flussiStandardInBinario();
    // With next to no memory left the runtime cannot even allocate the exception
    // that would say so, and aborts. A first allocation, below the size that malloc
    // maps apart and so kept in its heap once freed, tells that case apart.
    if (void* prova = std::malloc(std::size_t{64} << 10); prova != nullptr) {
        std::free(prova);
    } else {
        std::fputs("pliventa-cli: memoria insufficiente\n", stderr);
        return pliventa::cli::kErroreIO;
    }
    try {
        return esegui(pliventa::argomentiDelProgramma(argc, argv));
    } catch (const std::bad_alloc&) {
        // Unwinding has closed and removed the files of the work that failed. The
        // message is built without allocating.
        std::fputs("pliventa-cli: memoria insufficiente\n", stderr);
        return pliventa::cli::kErroreIO;
    }
}
