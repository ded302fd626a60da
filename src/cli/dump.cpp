// pliventa-cli dump: every record of a work file as one JSON object per line.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "cli/flusso.h"
#include "cli/json.h"
#include "records/archivio.h"

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
    "un avviso su standard error; un file che si accorcia durante la lettura è un\n"
    "errore di lettura.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

constexpr std::string_view kOpzioni[] = {"--valuta", "--notice"};

// Records read with one system call.
constexpr std::size_t kRecordPerBlocco = 4096;

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
    const Esito<double> conteggio = archivio->numerorecord();
    if (!conteggio) {
        return erroreIO(conteggio.errore());
    }
    // The count is taken once: records appended meanwhile are not dumped.
    const auto interi = static_cast<std::uint64_t>(std::floor(*conteggio));

    Scrittore uscita(STDOUT_FILENO, "standard output");
    std::string blocco;
    std::uint64_t numero = 1;
    std::optional<std::uint64_t> accorciato;
    while (numero <= interi) {
        const auto quanti = static_cast<std::size_t>(
            std::min<std::uint64_t>(kRecordPerBlocco, interi - numero + 1));
        const Esito<std::size_t> letti = archivio->leggiblocco(numero, quanti, blocco);
        if (!letti) {
            (void)uscita.svuota();
            return erroreIO(letti.errore());
        }
        if (*letti == 0) {
            accorciato = numero - 1;  // cut short since the count was taken
            break;
        }
        for (std::size_t i = 0; i < *letti; ++i, ++numero) {
            const std::string_view record(blocco.data() + i * Versamento::kLunghezzaRecord,
                                          Versamento::kLunghezzaRecord);
            aggiungiVersamento(uscita.testo(), Versamento::daByte(record), numero, opzioni);
            uscita.testo() += '\n';
        }
        if (!uscita.forse()) {
            break;
        }
    }
    if (const EsitoVuoto fine = uscita.svuota(); !fine) {
        return erroreIO(fine.errore());
    }
    return fineLettura(percorso, *conteggio, accorciato);
}

}  // namespace pliventa::cli
