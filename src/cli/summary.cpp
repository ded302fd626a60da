// pliventa-cli summary: the totals of a work file grouped by tax year and kind, by
// payment month or by municipality, as aligned text, CSV or JSON Lines.
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "base/sistema.h"
#include "base/testo.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "cli/flusso.h"
#include "cli/json.h"
#include "records/archivio.h"
#include "summary/riepilogo.h"
#include "summary/tabella.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "summary",
    "summary WORKFILE --by anno|mese|comune [--format text|csv|json] [--valuta E|L]",
    "Scrive su standard output i totali dei versamenti del file di lavoro WORKFILE,\n"
    "un gruppo per riga in ordine crescente: numero dei versamenti e, tra questi, di\n"
    "quelli su violazione; totale versato (di entrambi i tipi); per i versamenti\n"
    "ordinari terreni, aree fabbricabili, abitazione principale, detrazione, altri\n"
    "fabbricati; per i versamenti su violazione, a parte, imposta, sanzioni, pena\n"
    "pecuniaria, interessi, altri fabbricati; numero dei versamenti con anomalie\n"
    "(quelli che pliventa-cli check segnala, contati una volta ciascuno).\n"
    "\n"
    "  --by anno|mese|comune    raggruppamento, obbligatorio: anno d'imposta di\n"
    "                           quattro cifre e tipo (O ordinario, V violazione), mese\n"
    "                           di versamento (aaaa-mm) o codice Belfiore del comune\n"
    "  --format text|csv|json   text: colonne allineate con intestazioni e una riga\n"
    "                           finale di totale generale (predefinito); csv: campi\n"
    "                           separati da \";\", importi con la virgola decimale,\n"
    "                           intestazioni e totale generale, righe terminate da\n"
    "                           CR LF; json: un oggetto per gruppo con le chiavi group,\n"
    "                           tipo (null se non per anno), versamenti,\n"
    "                           versamenti_violazione, totale, terreni,\n"
    "                           aree_fabbricabili, abitazione_principale, detrazione,\n"
    "                           altri_fabbricati (questi cinque dei soli versamenti\n"
    "                           ordinari), imposta, sanzioni, pena_pecuniaria,\n"
    "                           interessi, altri_fabbricati_violazione (dei versamenti\n"
    "                           su violazione), anomalie, senza totale generale\n"
    "  --valuta E|L             E: importi in centesimi di euro, scritti divisi per\n"
    "                           100 con due decimali (predefinito); L: lire, come sono\n"
    "  -h, --help               questo aiuto\n"
    "\n"
    "Gli importi sono somme esatte, senza arrotondamenti.\n"
    "Un record finale incompleto (lunghezza non multipla di 202) viene ignorato con\n"
    "un avviso su standard error; un file che cambia lunghezza durante la lettura è\n"
    "un errore di lettura.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

constexpr std::string_view kOpzioni[] = {"--by", "--format", "--valuta"};

constexpr Guida kGuidaScheda = {
    "statement",
    "statement WORKFILE CODICEFISCALE [--format text|csv|json] [--valuta E|L]",
    "Scrive su standard output la scheda del contribuente: i totali di summary --by\n"
    "anno calcolati sui soli versamenti del file di lavoro WORKFILE il cui codice\n"
    "fiscale è esattamente CODICEFISCALE (gli spazi finali non contano), negli\n"
    "stessi formati e con le stesse chiavi JSON; in JSON ogni riga ha anche la\n"
    "chiave records, i numeri dei suoi versamenti nell'ordine del file.\n"
    "\n"
    "  --format text|csv|json   come summary (predefinito text)\n"
    "  --valuta E|L             come summary (predefinito E)\n"
    "  -h, --help               questo aiuto\n"
    "\n"
    "Nessun versamento: nessuna riga, un avviso su standard error, codice 0.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

constexpr std::string_view kOpzioniScheda[] = {"--format", "--valuta"};

enum class Formato { testo, csv, json };

/// The keys of the amounts of importiRiepilogo(), in its order.
constexpr std::array<std::string_view, kColonneImporto> kChiaviJson = {
    "totale",
    "terreni",
    "aree_fabbricabili",
    "abitazione_principale",
    "detrazione",
    "altri_fabbricati",
    "imposta",
    "sanzioni",
    "pena_pecuniaria",
    "interessi",
    "altri_fabbricati_violazione",
};

void aggiungiJson(std::string& out, const GruppoRiepilogo& g, bool euro, bool conRecord) {
    out += "{\"group\": ";
    aggiungiStringa(out, g.chiave);
    out += ", \"tipo\": ";
    if (g.tipo == '\0') {
        out += "null";
    } else {
        out += '"';
        out += g.tipo;
        out += '"';
    }
    out += ", \"versamenti\": ";
    out += std::to_string(g.versamenti);
    out += ", \"versamenti_violazione\": ";
    out += std::to_string(g.violazioni);
    const std::array<SommaEsatta, kColonneImporto> importi = importiRiepilogo(g);
    for (std::size_t j = 0; j < importi.size(); ++j) {
        out += ", \"";
        out += kChiaviJson[j];
        out += "\": ";
        out += testoImporto(importi[j], euro, '.');
    }
    out += ", \"anomalie\": ";
    out += std::to_string(g.anomalie);
    if (conRecord) {
        out += ", \"records\": [";
        for (std::size_t i = 0; i < g.record.size(); ++i) {
            out += i > 0 ? ", " : "";
            out += std::to_string(g.record[i]);
        }
        out += ']';
    }
    out += "}\n";
}

/// Characters of UTF-8 text, for the alignment: bytes that do not continue one.
std::size_t caratteri(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

/// The table as aligned columns two blanks apart: the key columns to the left,
/// the numbers to the right.
std::string testoAllineato(const Riepilogo& riepilogo, Raggruppamento r, bool euro) {
    const std::vector<std::string_view> intestazioni = intestazioniRiepilogo(r);
    std::vector<std::vector<std::string>> righe;
    righe.emplace_back(intestazioni.begin(), intestazioni.end());
    for (const GruppoRiepilogo& g : riepilogo.per(r)) {
        righe.push_back(celleRiepilogo(g, r, euro, '.'));
    }
    righe.push_back(celleTotaleGenerale(riepilogo, r, euro, '.'));
    const std::size_t chiavi = r == Raggruppamento::anno ? 2 : 1;
    std::vector<std::size_t> larghezze(intestazioni.size(), 0);
    for (const auto& riga : righe) {
        for (std::size_t c = 0; c < riga.size(); ++c) {
            larghezze[c] = std::max(larghezze[c], caratteri(riga[c]));
        }
    }
    std::string out;
    for (const auto& riga : righe) {
        for (std::size_t c = 0; c < riga.size(); ++c) {
            const std::string spazi(larghezze[c] - caratteri(riga[c]), ' ');
            out += c > 0 ? "  " : "";
            out += c < chiavi ? riga[c] + spazi : spazi + riga[c];
        }
        out += '\n';
    }
    return out;
}

/// The format of "--format", or the exit code of a usage error (printed).
std::variant<Formato, int> formatoDi(const Argomenti& arg, const Guida& guida) {
    const std::string_view nome = arg.valore("--format").value_or("text");
    if (nome == "text") {
        return Formato::testo;
    }
    if (nome == "csv") {
        return Formato::csv;
    }
    if (nome == "json") {
        return Formato::json;
    }
    return erroreUso(
        guida, "formato non valido: \"" + std::string(nome) + "\" (ammessi text, csv e json)");
}

/// Reads the work file at `percorso`, totals what `ambito` covers by `r` and
/// writes it in `formato` on standard output; the exit code.
int scrivi(const std::string& percorso, const AmbitoRiepilogo& ambito, Raggruppamento r,
           Formato formato, bool euro) {
    auto archivio = ArchivioLavoro::apriarchivio(percorso);
    if (!archivio) {
        return erroreIO(archivio.errore());
    }
    const Esito<Riepilogo> riepilogo = riepiloga(*archivio, {}, 0, ambito);
    if (!riepilogo) {
        return erroreIO(riepilogo.errore());
    }

    Scrittore uscita(kUscitaStandard, "standard output");
    switch (formato) {
        case Formato::testo:
            uscita.testo() = testoAllineato(*riepilogo, r, euro);
            break;
        case Formato::csv:
            uscita.testo() = testoCsv(*riepilogo, r, euro);
            break;
        case Formato::json:
            for (const GruppoRiepilogo& g : riepilogo->per(r)) {
                aggiungiJson(uscita.testo(), g, euro, ambito.codiceFiscale.has_value());
            }
            break;
    }
    if (const EsitoVuoto fine = uscita.svuota(); !fine) {
        return erroreIO(fine.errore());
    }
    if (riepilogo->parziale) {
        avvisaParziale(percorso);
    }
    if (ambito.codiceFiscale && riepilogo->totale.versamenti == 0) {
        std::fprintf(stderr, "pliventa-cli statement: nessun versamento del codice fiscale %s\n",
                     daCp1252(*ambito.codiceFiscale).c_str());
    }
    return kRiuscito;
}

}  // namespace

int comandoSummary(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComandoArchivio(argomenti, kOpzioni, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const auto& [arg, lettura] = std::get<ComandoArchivio>(preparato);
    const std::optional<std::string_view> per = arg.valore("--by");
    if (!per) {
        return erroreUso(kGuida, "manca il raggruppamento --by anno|mese|comune");
    }
    std::optional<Raggruppamento> raggruppamento;
    for (Raggruppamento r : kRaggruppamenti) {
        if (*per == nomeRaggruppamento(r)) {
            raggruppamento = r;
        }
    }
    if (!raggruppamento) {
        return erroreUso(kGuida, "raggruppamento non valido: \"" + std::string(*per) +
                                     "\" (ammessi anno, mese e comune)");
    }
    const auto formato = formatoDi(arg, kGuida);
    if (const int* esito = std::get_if<int>(&formato)) {
        return *esito;
    }
    AmbitoRiepilogo ambito;
    ambito.solo = raggruppamento;
    return scrivi(std::string(arg.operandi[0]), ambito, *raggruppamento, std::get<Formato>(formato),
                  lettura.euro);
}

int comandoStatement(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComando(argomenti, kOpzioniScheda, kGuidaScheda);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const Argomenti& arg = std::get<Argomenti>(preparato);
    if (arg.operandi.empty() || arg.operandi[0].empty()) {
        return erroreUso(kGuidaScheda, "manca il file di lavoro WORKFILE");
    }
    if (arg.operandi.size() < 2) {
        return erroreUso(kGuidaScheda, "manca il codice fiscale CODICEFISCALE");
    }
    if (arg.operandi.size() > 2) {
        return erroreUso(kGuidaScheda, "argomento in più: " + std::string(arg.operandi[2]));
    }
    // The code is looked for as the work file writes it; one that Windows-1252
    // cannot write is in no record.
    const std::optional<std::string> codice = aCp1252(arg.operandi[1]);
    if (!codice) {
        return erroreUso(kGuidaScheda,
                         "il codice fiscale non è testo UTF-8 valido o non è "
                         "scrivibile nel file di lavoro");
    }
    const auto lettura = opzioniLettura(arg, kGuidaScheda);
    if (const int* esito = std::get_if<int>(&lettura)) {
        return *esito;
    }
    const auto formato = formatoDi(arg, kGuidaScheda);
    if (const int* esito = std::get_if<int>(&formato)) {
        return *esito;
    }
    AmbitoRiepilogo ambito;
    ambito.solo = Raggruppamento::anno;
    ambito.codiceFiscale = *codice;
    return scrivi(std::string(arg.operandi[0]), ambito, Raggruppamento::anno,
                  std::get<Formato>(formato), std::get<OpzioniLettura>(lettura).euro);
}

}  // namespace pliventa::cli
