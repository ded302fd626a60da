// pliventa-cli import: payment files of one of the four layouts, or of layouts
// found from their content, into one work file.
#include <string>
#include <vector>

#include "base/testo.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "importers/importatori.h"
#include "importers/importazione.h"
#include "importers/riconoscimento.h"
#include "risconet/formati.h"
#include "risconet/risconet.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "import",
    "import cnc2000|cnc1997|viol1997|f24|auto INPUT... [--belfiore CODE] [-o WORKFILE]",
    "Legge i file di versamenti INPUT, nell'ordine dati, e scrive un solo file di\n"
    "lavoro WORKFILE, un versamento di 200 caratteri per riga: i versamenti di\n"
    "ciascun file come li scriverebbe la sua importazione da solo, uno dopo l'altro.\n"
    "\n"
    "  cnc2000    ANCI-CNC 2000, versamenti ordinari e su violazione (righe \"3\" e \"6\")\n"
    "  cnc1997    CNC tracciato 1997 (righe \"3\", anno a quattro cifre)\n"
    "  viol1997   violazioni 1997 (righe \"6\"; poi dump --notice short)\n"
    "  f24        dati di versamento F24 (righe G1 di tributo ICI)\n"
    "  auto       il tracciato di ciascun file riconosciuto dalle sue prime righe,\n"
    "             esportazioni Risconet comprese (convertite, con --belfiore)\n"
    "\n"
    "  --belfiore CODE   con auto: il codice Belfiore dell'ente per i file Risconet\n"
    "                    (obbligatorio se ce n'è uno)\n"
    "  -o WORKFILE       il file di lavoro da scrivere; predefinito \"iciview.out\"\n"
    "                    (\"iciview97.out\" se tutti i file sono cnc1997) nella\n"
    "                    cartella corrente\n"
    "  -h, --help        questo aiuto\n"
    "\n"
    "Il file di lavoro è sostituito solo a importazione completata di tutti i file e\n"
    "non può essere uno degli INPUT. I conteggi sono scritti su standard error, per\n"
    "file e in totale; gli importi fuori formato (F24) hanno più cifre di quante il\n"
    "loro campo ne contenga e sono scritti senza le prime. Un file di cui auto non\n"
    "riconosce il tracciato è indicato con il motivo, e non si scrive nulla.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura o tracciato non\n"
    "riconosciuto, 2 uso errato.\n",
};

constexpr std::string_view kOpzioni[] = {"-o", "--belfiore"};

std::string testoConteggi(const Conteggi& c) {
    return "lette " + std::to_string(c.righeLette) + " righe, presi " +
           std::to_string(c.versamenti) + " versamenti, scartate " +
           std::to_string(c.righeScartate) + ", completate " + std::to_string(c.completate) +
           ", troncate " + std::to_string(c.troncate) + ", importi fuori formato " +
           std::to_string(c.importiFuoriFormato);
}

/// The layout of every input, found from its content. Prints each input that
/// cannot be told with the reason; returns the exit code when one cannot.
std::variant<std::vector<Formato>, int> riconosciTutti(std::span<const std::string_view> input) {
    std::vector<Formato> formati;
    bool tutti = true;
    for (const std::string_view i : input) {
        const Esito<Riconoscimento> r = riconosciFile(std::string(i));
        if (!r) {
            return erroreIO(r.errore());
        }
        if (!r->formato) {
            avviso("pliventa-cli: " + std::string(i) +
                   ": tracciato non riconosciuto: " + r->motivo);
            tutti = false;
            continue;
        }
        formati.push_back(*r->formato);
    }
    if (!tutti) {
        return kErroreIO;
    }
    return formati;
}

/// The counts on standard error: one input named by its layout keeps the one line
/// it always had; several, or inputs whose layouts were found (`formati`, empty
/// otherwise), a line each, with the layout found, and the total.
void avvisaConteggi(const std::vector<Ingresso>& ingressi, const std::vector<Formato>& formati,
                    const std::vector<Conteggi>& conteggi) {
    if (conteggi.size() == 1 && formati.empty()) {
        avviso(testoConteggi(conteggi.front()));
        return;
    }
    Conteggi totale;
    for (std::size_t k = 0; k < conteggi.size(); ++k) {
        std::string riga = ingressi[k].percorso;
        if (!formati.empty()) {
            riga += " (" + std::string(nomeFormato(formati[k])) + ")";
        }
        avviso(riga + ": " + testoConteggi(conteggi[k]));
        totale += conteggi[k];
    }
    avviso("in totale: " + testoConteggi(totale));
}

}  // namespace

int comandoImport(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComando(argomenti, kOpzioni, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const Argomenti& arg = std::get<Argomenti>(preparato);
    if (arg.operandi.empty()) {
        return erroreUso(kGuida, "manca il tracciato (cnc2000, cnc1997, viol1997, f24 o auto)");
    }
    const bool automatico = arg.operandi[0] == "auto";
    const std::optional<Tracciato> tracciato = tracciatoDaNome(arg.operandi[0]);
    if (!tracciato && !automatico) {
        return erroreUso(kGuida, "tracciato sconosciuto: \"" + std::string(arg.operandi[0]) +
                                     "\" (ammessi cnc2000, cnc1997, viol1997, f24, auto)");
    }
    const std::span<const std::string_view> input(arg.operandi.begin() + 1, arg.operandi.end());
    if (input.empty()) {
        return erroreUso(kGuida, "manca il file da importare INPUT");
    }
    for (const std::string_view i : input) {
        if (i.empty()) {
            return erroreUso(kGuida, "il nome di un file INPUT non può essere vuoto");
        }
    }
    const std::optional<std::string_view> belfiore = arg.valore("--belfiore");
    if (belfiore && !automatico) {
        return erroreUso(kGuida, "--belfiore vale solo con il tracciato auto");
    }
    if (const EsitoVuoto ammesso = controllaBelfiore(belfiore.value_or("")); !ammesso) {
        return erroreUso(kGuida, ammesso.errore().motivo);
    }
    // The work file is single-byte text: the code must be written in its code page.
    const std::optional<std::string> codice = aCp1252(belfiore.value_or(""));
    if (!codice) {
        return erroreUso(kGuida, "il codice Belfiore contiene caratteri non ammessi");
    }

    std::vector<Formato> formati;
    if (automatico) {
        auto trovati = riconosciTutti(input);
        if (const int* esito = std::get_if<int>(&trovati)) {
            return *esito;
        }
        formati = std::move(std::get<std::vector<Formato>>(trovati));
    } else {
        formati.assign(input.size(), formatoDi(*tracciato));
    }
    std::vector<Tracciato> tracciati;
    std::vector<Ingresso> ingressi;
    tracciati.reserve(input.size());
    ingressi.reserve(input.size());
    for (std::size_t k = 0; k < input.size(); ++k) {
        if (formati[k] == Formato::risconet && !belfiore) {
            return erroreUso(kGuida, std::string(input[k]) +
                                         " è un'esportazione Risconet: manca il codice Belfiore "
                                         "dell'ente (--belfiore CODE)");
        }
        tracciati.push_back(tracciatoDi(formati[k]));
        ingressi.push_back({std::string(input[k]), nuovaImportazione(formati[k], *codice)});
    }
    const std::string_view destinazione = arg.valore("-o").value_or(nomeArchivio(tracciati));
    if (destinazione.empty()) {
        return erroreUso(kGuida, "il file di lavoro WORKFILE non può essere vuoto");
    }

    const Esito<std::vector<Conteggi>> conteggi = importaTutti(ingressi, std::string(destinazione));
    if (!conteggi) {
        return erroreDi(kGuida, conteggi.errore());
    }
    avvisaConteggi(ingressi, automatico ? formati : std::vector<Formato>(), *conteggi);
    return kRiuscito;
}

}  // namespace pliventa::cli
