// pliventa-cli risconet: a Risconet export into CNC payment lines.
#include <string>

#include "base/testo.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "importers/importazione.h"
#include "risconet/risconet.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "risconet",
    "risconet INPUT --belfiore CODE [-o OUTPUT]",
    "Converte l'esportazione Risconet INPUT (una riga di intestazione, poi un\n"
    "versamento per riga, campi separati da \";\") in righe di 200 caratteri del\n"
    "tracciato CNC, che \"import cnc2000\" legge.\n"
    "\n"
    "  --belfiore CODE   il codice Belfiore dell'ente (come A000), nelle colonne\n"
    "                    4-7; tagliato a 4 caratteri, vuoto se \"\"\n"
    "  -o OUTPUT         il file da scrivere; predefinito \"versunir.out\" nella\n"
    "                    cartella di INPUT\n"
    "  -h, --help        questo aiuto\n"
    "\n"
    "OUTPUT è sostituito solo a conversione completata e non può essere INPUT. I\n"
    "conteggi sono scritti su standard error, con le righe più lunghe di 1 MiB,\n"
    "convertite solo fino a quel limite.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

constexpr std::string_view kOpzioni[] = {"--belfiore", "-o"};

}  // namespace

int comandoRisconet(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComando(argomenti, kOpzioni, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const Argomenti& arg = std::get<Argomenti>(preparato);
    if (arg.operandi.empty() || arg.operandi[0].empty()) {
        return erroreUso(kGuida, "manca il file da convertire INPUT");
    }
    if (arg.operandi.size() > 1) {
        return erroreUso(kGuida, "argomento in più: " + std::string(arg.operandi[1]));
    }
    const std::optional<std::string_view> belfiore = arg.valore("--belfiore");
    if (!belfiore) {
        return erroreUso(kGuida, "manca il codice Belfiore dell'ente (--belfiore CODE)");
    }
    if (const EsitoVuoto ammesso = controllaBelfiore(*belfiore); !ammesso) {
        return erroreUso(kGuida, ammesso.errore().motivo);
    }
    // The output file is single-byte text: the code must be written in its code page.
    const std::optional<std::string> codice = aCp1252(*belfiore);
    if (!codice) {
        return erroreUso(kGuida, "il codice Belfiore contiene caratteri non ammessi");
    }
    const std::string input(arg.operandi[0]);
    const std::string output(arg.valore("-o").value_or(percorsoConvertito(input)));
    if (output.empty()) {
        return erroreUso(kGuida, "il file OUTPUT non può essere vuoto");
    }
    const auto conversione = nuovaConversioneRisconet(*codice);
    const Esito<Conteggi> conteggi = importa(input, output, *conversione);
    if (!conteggi) {
        return erroreDi(kGuida, conteggi.errore());
    }
    // A line cut at the limit lost the fields past it: the count says so.
    const std::string tagliate =
        conteggi->righeTagliate == 0
            ? std::string()
            : ", tagliate " + std::to_string(conteggi->righeTagliate) + " righe troppo lunghe";
    avviso("lette " + std::to_string(conteggi->righeLette) + " righe, convertiti " +
           std::to_string(conteggi->versamenti) + " versamenti, scartate " +
           std::to_string(conteggi->righeScartate) + " (intestazione compresa)" + tagliate +
           " in " + output);
    return kRiuscito;
}

}  // namespace pliventa::cli
