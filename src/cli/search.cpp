// pliventa-cli search: the numbers of the records whose codice fiscale begins
// with a given text, by the same rule as the window's search.
#include "base/sistema.h"
#include "base/testo.h"
#include "browse/ricerca.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "cli/flusso.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "search",
    "search WORKFILE PREFIX",
    "Scrive su standard output, uno per riga, i numeri dei versamenti del file di\n"
    "lavoro WORKFILE il cui codice fiscale inizia per PREFIX. PREFIX è portato in\n"
    "maiuscolo e privato degli spazi iniziali e finali; il codice fiscale del\n"
    "versamento è preso senza spazi ma così come è scritto (un codice in minuscolo\n"
    "non viene trovato). Un PREFIX vuoto (\"\") trova tutti i versamenti; un PREFIX\n"
    "che non è testo UTF-8 valido è un uso errato.\n"
    "\n"
    "  -h, --help   questo aiuto\n"
    "\n"
    "Un record finale incompleto viene ignorato con un avviso su standard error;\n"
    "un file che cambia lunghezza durante la lettura è un errore di lettura.\n"
    "Codici di uscita: 0 riuscito (anche senza risultati), 1 errore di lettura o\n"
    "scrittura, 2 uso errato.\n",
};

}  // namespace

int comandoSearch(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComando(argomenti, {}, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const Argomenti& arg = std::get<Argomenti>(preparato);
    if (arg.operandi.empty() || arg.operandi[0].empty()) {
        return erroreUso(kGuida, "manca il file di lavoro WORKFILE");
    }
    if (arg.operandi.size() < 2) {
        return erroreUso(kGuida, "manca il prefisso PREFIX (\"\" per tutti i versamenti)");
    }
    if (arg.operandi.size() > 2) {
        return erroreUso(kGuida, "argomento in più: " + std::string(arg.operandi[2]));
    }
    // Bytes that are not UTF-8 are a mistake of the caller, not a text that
    // happens to match nothing: decoding them leniently could find someone.
    if (!utf8Valido(arg.operandi[1])) {
        return erroreUso(kGuida, "il prefisso PREFIX non è testo UTF-8 valido");
    }

    auto archivio = ArchivioLavoro::apriarchivio(std::string(arg.operandi[0]));
    if (!archivio) {
        return erroreIO(archivio.errore());
    }
    ScansioneRicerca scansione(*archivio, arg.operandi[1]);
    Scrittore uscita(kUscitaStandard, "standard output");
    for (;;) {
        auto trovato = scansione.prossimo();
        if (!trovato) {
            (void)uscita.svuota();
            return erroreIO(trovato.errore());
        }
        if (!trovato->has_value()) {
            break;
        }
        uscita.testo() += std::to_string((*trovato)->numero);
        uscita.testo() += '\n';
        if (!uscita.forse()) {
            break;
        }
    }
    if (const EsitoVuoto fine = uscita.svuota(); !fine) {
        return erroreIO(fine.errore());
    }
    if (scansione.parziale()) {
        avvisaParziale(std::string(arg.operandi[0]));
    }
    return kRiuscito;
}

}  // namespace pliventa::cli
