// pliventa-cli import: a payment file of one of the four layouts into a work file.
#include <string>

#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "importers/importatori.h"
#include "importers/importazione.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "import",
    "import cnc2000|cnc1997|viol1997|f24 INPUT [-o WORKFILE]",
    "Legge il file di versamenti INPUT nel tracciato indicato e scrive il file di\n"
    "lavoro WORKFILE, un versamento di 200 caratteri per riga:\n"
    "\n"
    "  cnc2000    ANCI-CNC 2000, versamenti ordinari e su violazione (righe \"3\" e \"6\")\n"
    "  cnc1997    CNC tracciato 1997 (righe \"3\", anno a quattro cifre)\n"
    "  viol1997   violazioni 1997 (righe \"6\"; poi dump --notice short)\n"
    "  f24        dati di versamento F24 (righe G1 di tributo ICI)\n"
    "\n"
    "  -o WORKFILE   il file di lavoro da scrivere; predefinito \"iciview.out\"\n"
    "                (\"iciview97.out\" per cnc1997) nella cartella corrente\n"
    "  -h, --help    questo aiuto\n"
    "\n"
    "Il file di lavoro è sostituito solo a importazione completata e non può essere\n"
    "INPUT. I conteggi sono scritti su standard error; gli importi fuori formato\n"
    "(F24) hanno più cifre di quante il loro campo ne contenga e sono scritti senza\n"
    "le prime.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

constexpr std::string_view kOpzioni[] = {"-o"};

}  // namespace

int comandoImport(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComando(argomenti, kOpzioni, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const Argomenti& arg = std::get<Argomenti>(preparato);
    if (arg.operandi.empty()) {
        return erroreUso(kGuida, "manca il tracciato (cnc2000, cnc1997, viol1997 o f24)");
    }
    const std::optional<Tracciato> tracciato = tracciatoDaNome(arg.operandi[0]);
    if (!tracciato) {
        return erroreUso(kGuida, "tracciato sconosciuto: \"" + std::string(arg.operandi[0]) +
                                     "\" (ammessi cnc2000, cnc1997, viol1997, f24)");
    }
    if (arg.operandi.size() < 2 || arg.operandi[1].empty()) {
        return erroreUso(kGuida, "manca il file da importare INPUT");
    }
    if (arg.operandi.size() > 2) {
        return erroreUso(kGuida, "argomento in più: " + std::string(arg.operandi[2]));
    }
    const std::string_view destinazione = arg.valore("-o").value_or(nomeArchivio(*tracciato));
    if (destinazione.empty()) {
        return erroreUso(kGuida, "il file di lavoro WORKFILE non può essere vuoto");
    }

    const std::string input(arg.operandi[1]);
    const std::string output(destinazione);
    const auto trasformazione = nuovaTrasformazione(*tracciato);
    const Esito<Conteggi> conteggi = importa(input, output, *trasformazione);
    if (!conteggi) {
        return erroreDi(kGuida, conteggi.errore());
    }
    avviso("lette " + std::to_string(conteggi->righeLette) + " righe, presi " +
           std::to_string(conteggi->versamenti) + " versamenti, scartate " +
           std::to_string(conteggi->righeScartate) + ", completate " +
           std::to_string(conteggi->completate) + ", troncate " +
           std::to_string(conteggi->troncate) + ", importi fuori formato " +
           std::to_string(conteggi->importiFuoriFormato));
    return kRiuscito;
}

}  // namespace pliventa::cli
