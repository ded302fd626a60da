// pliventa-cli check: the payments of a work file that look wrong, one JSON
// object per rule a record breaks.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/sistema.h"
#include "checks/controlli.h"
#include "checks/duplicati.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "cli/flusso.h"
#include "cli/json.h"
#include "records/archivio.h"
#include "records/scansione.h"

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
    "  duplicato         stesso codice fiscale, data di versamento, anno d'imposta,\n"
    "                    tipo e totale di un versamento precedente del file; value\n"
    "                    dice quale: \"uguale al versamento N\" (il primo)\n"
    "\n"
    "  --valuta E|L   E: importi in centesimi di euro, scritti divisi per 100 con due\n"
    "                 decimali (predefinito); L: lire, come sono\n"
    "  -h, --help     questo aiuto\n"
    "\n"
    "Alla fine scrive su standard error il numero dei versamenti controllati e delle\n"
    "anomalie. Un record finale incompleto (lunghezza non multipla di 202) viene\n"
    "ignorato con un avviso su standard error; un file che cambia lunghezza durante\n"
    "la lettura è un errore di lettura.\n"
    "Codici di uscita: 0 riuscito (anche con anomalie), 1 errore di lettura o\n"
    "scrittura, 2 uso errato.\n",
};

// The notice is not looked at by any rule: only the currency is an option.
constexpr std::string_view kOpzioni[] = {"--valuta"};

void aggiungiRiga(std::string& out, const Versamento& v, std::uint64_t numero, Regola r, bool euro,
                  std::uint32_t originale = 0) {
    out += "{\"record\":";
    out += std::to_string(numero);
    out += ",\"rule\":\"";
    out += nomeRegola(r);
    out += "\",\"value\":";
    aggiungiStringaUtf8(out, valoreControllato(v, r, euro, originale));
    out += "}\n";
}

/// Appends one line per rule `v` breaks on its own; returns how many.
std::uint64_t aggiungiAnomalie(std::string& out, const Versamento& v, std::uint64_t numero,
                               bool euro) {
    const Violazioni violazioni = controlla(v);
    if (violazioni == 0) {
        return 0;
    }
    std::uint64_t quante = 0;
    for (const Regola r : kRegole) {
        if (viola(violazioni, r)) {
            aggiungiRiga(out, v, numero, r, euro);
            ++quante;
        }
    }
    return quante;
}

/// The lines of one part's run in a round, and where each record's lines begin.
struct Parte {
    std::string testo;
    std::vector<std::pair<std::uint64_t, std::size_t>> inizi;  ///< record, offset in testo
    std::uint64_t anomalie = 0;
    std::uint64_t conAnomalie = 0;
};

/// Appends the round's lines of `parti` to `out` in record order, each duplicate's
/// line (from `duplicati`, in record order) after the other lines of its record.
void unisciGiro(std::string& out, std::vector<Parte>& parti,
                const std::vector<std::pair<std::uint64_t, std::string>>& duplicati) {
    auto d = duplicati.begin();
    for (Parte& p : parti) {
        std::size_t scritto = 0;
        for (const auto& [numero, inizio] : p.inizi) {
            // The lines before this record's, then the duplicates before it.
            for (; d != duplicati.end() && d->first < numero; ++d) {
                out.append(p.testo, scritto, inizio - scritto);
                scritto = inizio;
                out += d->second;
            }
        }
        out.append(p.testo, scritto);
        p.testo.clear();
        p.inizi.clear();
    }
    for (; d != duplicati.end(); ++d) {
        out += d->second;
    }
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
    // Each part writes the lines of its run; after each round they go out in part
    // order, which is record order, with the round's duplicates merged in, so the
    // output streams whatever the file's size.
    const Esito<std::uint64_t> byte = archivio->lunghezza();
    if (!byte) {
        return erroreIO(byte.errore());
    }
    const std::uint64_t versamenti = *byte / Versamento::kLunghezzaRecord;
    std::vector<Parte> parti(partiPerScansione(versamenti));
    Esito<CercaDuplicati> duplicati = CercaDuplicati::per(*archivio, versamenti, parti.size());
    if (!duplicati) {
        return erroreIO(duplicati.errore());
    }
    std::vector<std::pair<std::uint64_t, std::string>> delGiro;
    Scrittore uscita(kUscitaStandard, "standard output");
    std::uint64_t anomalie = 0;
    std::uint64_t conAnomalie = 0;
    const Esito<Lettura> letti = parallelo(
        *archivio, {}, parti.size(),
        [&](std::size_t k, const Blocco& blocco) {
            Parte& p = parti[k];
            for (std::size_t i = 0; i < blocco.size(); ++i) {
                const std::size_t inizio = p.testo.size();
                const std::uint64_t n =
                    aggiungiAnomalie(p.testo, blocco.versamento(i), blocco.numero(i), euro);
                if (n > 0) {
                    p.inizi.emplace_back(blocco.numero(i), inizio);
                }
                p.anomalie += n;
                p.conAnomalie += n > 0 ? 1 : 0;
            }
            duplicati->annota(k, blocco);
            return EsitoVuoto(Nulla{});
        },
        [&]() -> EsitoVuoto {
            delGiro.clear();
            EsitoVuoto trovati =
                duplicati->fineGiro([&](const Duplicato& d, const Versamento& copia) {
                    std::string riga;
                    aggiungiRiga(riga, copia, d.numero, Regola::duplicato, euro, d.originale);
                    delGiro.emplace_back(d.numero, std::move(riga));
                    ++anomalie;
                    conAnomalie += controlla(copia) == 0 ? 1 : 0;
                    return EsitoVuoto(Nulla{});
                });
            if (!trovati) {
                return trovati;
            }
            unisciGiro(uscita.testo(), parti, delGiro);
            for (Parte& p : parti) {
                anomalie += std::exchange(p.anomalie, 0);
                conAnomalie += std::exchange(p.conAnomalie, 0);
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
    // Anomalies are what the command is for, not a failure: the exit code stays 0.
    avviso("controllati " + std::to_string(letti->versamenti) + " versamenti, anomalie: " +
           std::to_string(anomalie) + " in " + std::to_string(conAnomalie) + " versamenti");
    if (letti->parziale) {
        avvisaParziale(percorso);
    }
    return kRiuscito;
}

}  // namespace pliventa::cli
