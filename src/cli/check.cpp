// pliventa-cli check: the payments of a work file that look wrong, one JSON
// object per rule a record breaks.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "checks/controlli.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "cli/flusso.h"
#include "cli/json.h"
#include "records/archivio.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "check",
    "check WORKFILE [--valuta E|L]",
    "Controlla i versamenti del file di lavoro WORKFILE e scrive su standard output\n"
    "un oggetto JSON per ogni anomalia, nell'ordine dei record, con le chiavi record\n"
    "(il numero del versamento), rule (la regola violata) e value (il testo o gli\n"
    "importi controllati). Un versamento compare una volta per ogni regola che viola,\n"
    "nell'ordine delle regole:\n"
    "\n"
    "  codice_fiscale    né un codice fiscale di persona fisica di 16 caratteri valido\n"
    "                    (omocodie comprese) né un codice numerico di 11 cifre valido\n"
    "  data_versamento   la data del versamento non è una data del calendario\n"
    "  anno_imposta      l'anno d'imposta è successivo all'anno del versamento\n"
    "  totale_negativo   il totale è negativo, salvo che venga da una compensazione\n"
    "                    di un credito su un F24\n"
    "  somma_parti       il totale differisce dalla somma delle sue parti\n"
    "\n"
    "  --valuta E|L   E: importi in centesimi di euro, scritti divisi per 100 con due\n"
    "                 decimali (predefinito); L: lire, come sono\n"
    "  -h, --help     questo aiuto\n"
    "\n"
    "Alla fine scrive su standard error il numero dei versamenti controllati e delle\n"
    "anomalie. Un record finale incompleto (lunghezza non multipla di 202) viene\n"
    "ignorato con un avviso su standard error.\n"
    "Codici di uscita: 0 riuscito (anche con anomalie), 1 errore di lettura o\n"
    "scrittura, 2 uso errato.\n",
};

// The notice is not looked at by any rule: only the currency is an option.
constexpr std::string_view kOpzioni[] = {"--valuta"};

// Records read with one system call.
constexpr std::size_t kRecordPerBlocco = 4096;

/// Appends one line per rule `v` breaks; returns how many.
std::uint64_t aggiungiAnomalie(std::string& out, const Versamento& v, std::uint64_t numero,
                               bool euro) {
    const Violazioni violazioni = controlla(v);
    if (violazioni == 0) {
        return 0;
    }
    std::uint64_t quante = 0;
    for (const Regola r : kRegole) {
        if (!viola(violazioni, r)) {
            continue;
        }
        out += "{\"record\":";
        out += std::to_string(numero);
        out += ",\"rule\":\"";
        out += nomeRegola(r);
        out += "\",\"value\":";
        aggiungiStringaUtf8(out, valoreControllato(v, r, euro));
        out += "}\n";
        ++quante;
    }
    return quante;
}

}  // namespace

int comandoCheck(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComandoArchivio(argomenti, kOpzioni, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const auto& [arg, lettura] = std::get<ComandoArchivio>(preparato);
    const bool euro = lettura.euro;

    const std::string percorso(arg.operandi[0]);
    auto archivio = ArchivioLavoro::apriarchivio(percorso);
    if (!archivio) {
        return erroreIO(archivio.errore());
    }
    const Esito<double> conteggio = archivio->numerorecord();
    if (!conteggio) {
        return erroreIO(conteggio.errore());
    }
    // The count is taken once: records appended meanwhile are not checked.
    const auto interi = static_cast<std::uint64_t>(std::floor(*conteggio));
    const bool parziale = *conteggio > std::floor(*conteggio);

    Scrittore uscita(STDOUT_FILENO, "standard output");
    std::string blocco;
    std::uint64_t numero = 1;
    std::uint64_t anomalie = 0;
    std::uint64_t conAnomalie = 0;
    while (numero <= interi) {
        const auto quanti = static_cast<std::size_t>(
            std::min<std::uint64_t>(kRecordPerBlocco, interi - numero + 1));
        const Esito<std::size_t> letti = archivio->leggiblocco(numero, quanti, blocco);
        if (!letti) {
            (void)uscita.svuota();
            return erroreIO(letti.errore());
        }
        if (*letti == 0) {
            break;  // cut short since the count was taken
        }
        for (std::size_t i = 0; i < *letti; ++i, ++numero) {
            const std::string_view record(blocco.data() + i * Versamento::kLunghezzaRecord,
                                          Versamento::kLunghezzaRecord);
            const std::uint64_t n =
                aggiungiAnomalie(uscita.testo(), Versamento::daByte(record), numero, euro);
            anomalie += n;
            conAnomalie += n > 0 ? 1 : 0;
        }
        if (!uscita.forse()) {
            break;
        }
    }
    if (const EsitoVuoto fine = uscita.svuota(); !fine) {
        return erroreIO(fine.errore());
    }
    // Anomalies are what the command is for, not a failure: the exit code stays 0.
    avviso("controllati " + std::to_string(numero - 1) + " versamenti, anomalie: " +
           std::to_string(anomalie) + " in " + std::to_string(conAnomalie) + " versamenti");
    if (parziale) {
        avviso("pliventa-cli: " + percorso +
               ": la lunghezza non è multipla di 202 byte, ignorato un record finale incompleto");
    }
    return kRiuscito;
}

}  // namespace pliventa::cli
