// pliventa-cli dump: every record of a work file as one JSON object per line.
#include <cstdint>

#include "base/sistema.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "cli/flusso.h"
#include "cli/json.h"
#include "records/archivio.h"
#include "records/scansione.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "dump",
    "dump WORKFILE [--valuta E|L] [--notice long|short]",
    "Scrive su standard output i versamenti del file di lavoro WORKFILE, un oggetto\n"
    "JSON per riga, con le chiavi record, tipo, violazione, data_versamento,\n"
    "codice_fiscale, numero_fabbricati, totale, terreni, aree_fabbricabili,\n"
    "abitazione_principale, detrazione, altri_fabbricati, anno, numero_atto, data_atto.\n"
    "\n"
    "  --valuta E|L          E: importi in centesimi di euro, scritti divisi per 100\n"
    "                        con due decimali (predefinito); L: lire, come sono\n"
    "  --notice long|short   lettura degli estremi dell'atto di violazione: long\n"
    "                        (numero di 9 cifre, predefinita; file 2000, 1997, F24)\n"
    "                        o short (numero di 6 cifre; violazioni 1997)\n"
    "  -h, --help            questo aiuto\n"
    "\n"
    "Un record finale incompleto (lunghezza non multipla di 202) viene ignorato con\n"
    "un avviso su standard error; un file che cambia lunghezza durante la lettura è\n"
    "un errore di lettura.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

constexpr std::string_view kOpzioni[] = {"--valuta", "--notice"};

}  // namespace

int comandoDump(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComandoArchivio(argomenti, kOpzioni, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const auto& [arg, lettura] = std::get<ComandoArchivio>(preparato);
    const OpzioniJson opzioni = lettura;

    const std::string percorso(arg.operandi[0]);
    auto archivio = ArchivioLavoro::apriarchivio(percorso);
    if (!archivio) {
        return erroreIO(archivio.errore());
    }
    Scrittore uscita(kUscitaStandard, "standard output");
    const Esito<Lettura> letti = scandisci(*archivio, {}, [&](const Blocco& blocco) -> EsitoVuoto {
        for (std::size_t i = 0; i < blocco.size(); ++i) {
            aggiungiVersamento(uscita.testo(), blocco.versamento(i), blocco.numero(i), opzioni);
            uscita.testo() += '\n';
        }
        if (!uscita.forse()) {
            return uscita.svuota();  // the write's error, which stops the pass
        }
        return Nulla{};
    });
    if (const EsitoVuoto fine = uscita.svuota(); !fine) {
        return erroreIO(fine.errore());
    }
    if (!letti) {
        return erroreIO(letti.errore());
    }
    if (letti->parziale) {
        avvisaParziale(percorso);
    }
    return kRiuscito;
}

}  // namespace pliventa::cli
