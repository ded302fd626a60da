// pliventa-cli list: the numbers of the payments the list window would show for a
// filter and an order, one per line.
#include <string>
#include <vector>

#include "base/sistema.h"
#include "base/testo.h"
#include "browse/filtro.h"
#include "browse/ordine.h"
#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "cli/flusso.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "list",
    "list WORKFILE [--cf PREFIX] [--anno YEAR] [--tipo O|V] [--anomalie] "
    "[--sort COLUMN[:desc]]",
    "Scrive su standard output, uno per riga, i numeri dei versamenti del file di\n"
    "lavoro WORKFILE che l'elenco dei versamenti mostra con lo stesso filtro, nel\n"
    "suo ordine.\n"
    "\n"
    "  --cf PREFIX        il codice fiscale inizia per PREFIX (come search)\n"
    "  --anno YEAR        anno d'imposta di due o quattro cifre\n"
    "  --tipo O|V         solo ordinari (O) o solo su violazione (V)\n"
    "  --anomalie         solo i versamenti che violano almeno un controllo\n"
    "  --sort COLUMN      ordina per COLUMN, crescente; COLUMN:desc decrescente.\n"
    "                     COLUMN: n (numero del versamento, predefinito), data\n"
    "                     (data di versamento; una data inesistente viene prima),\n"
    "                     cf, anno (le quattro cifre), totale, terreni,\n"
    "                     aree_fabbricabili, abitazione_principale,\n"
    "                     altri_fabbricati, detrazione (gli importi per valore).\n"
    "                     A parità di valore, l'ordine del file in entrambi i versi.\n"
    "  -h, --help         questo aiuto\n"
    "\n"
    "Un record finale incompleto viene ignorato con un avviso su standard error;\n"
    "un file che cambia lunghezza durante la lettura è un errore di lettura.\n"
    "Codici di uscita: 0 riuscito (anche senza risultati), 1 errore di lettura o\n"
    "scrittura, 2 uso errato.\n",
};

constexpr std::string_view kAmmesse[] = {"--cf", "--anno", "--tipo", "--sort"};
constexpr std::string_view kSoloAnomalie = "--anomalie";

/// The filter of the options, or the exit code of a usage error (printed).
std::variant<Filtro, int> filtroDi(const Argomenti& arg, bool anomalie) {
    Filtro f;
    f.soloAnomalie = anomalie;
    if (const auto cf = arg.valore("--cf")) {
        if (!utf8Valido(*cf)) {
            return erroreUso(kGuida, "il prefisso --cf non è testo UTF-8 valido");
        }
        f.prefisso = std::string(*cf);
    }
    if (const auto anno = arg.valore("--anno")) {
        if (!annoFiltroValido(*anno)) {
            return erroreUso(
                kGuida, "anno non valido: \"" + std::string(*anno) + "\" (due o quattro cifre)");
        }
        f.anno = std::string(*anno);
    }
    if (const auto tipo = arg.valore("--tipo")) {
        if (*tipo == "O") {
            f.tipo = TipoFiltro::ordinario;
        } else if (*tipo == "V") {
            f.tipo = TipoFiltro::violazione;
        } else {
            return erroreUso(kGuida,
                             "tipo non valido: \"" + std::string(*tipo) + "\" (ammessi O e V)");
        }
    }
    return f;
}

/// --anomalie takes no value, unlike every option the parser knows: it is taken
/// out of `argomenti` first (up to a "--", after which everything is an operand).
/// Returns whether it was there.
bool togliAnomalie(std::span<const std::string_view> argomenti,
                   std::vector<std::string_view>& resto) {
    bool anomalie = false;
    bool operandi = false;
    for (std::string_view a : argomenti) {
        operandi = operandi || a == "--";
        if (!operandi && a == kSoloAnomalie) {
            anomalie = true;
        } else {
            resto.push_back(a);
        }
    }
    return anomalie;
}

}  // namespace

int comandoList(std::span<const std::string_view> argomenti) {
    std::vector<std::string_view> resto;
    const bool anomalie = togliAnomalie(argomenti, resto);
    const auto preparato = preparaComando(resto, kAmmesse, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const Argomenti& arg = std::get<Argomenti>(preparato);
    if (const std::optional<int> esito = soloArchivio(arg, kGuida)) {
        return *esito;
    }
    const auto filtro = filtroDi(arg, anomalie);
    if (const int* esito = std::get_if<int>(&filtro)) {
        return *esito;
    }
    Ordine ordine;
    if (const auto sort = arg.valore("--sort")) {
        const std::optional<Ordine> o = ordineDaTesto(*sort);
        if (!o) {
            return erroreUso(kGuida, "ordine non valido: \"" + std::string(*sort) + "\" (ammessi " +
                                         std::string(nomiOrdine()) +
                                         ", con :desc per il verso decrescente)");
        }
        ordine = *o;
    }

    const std::string percorso(arg.operandi[0]);
    auto archivio = ArchivioLavoro::apriarchivio(percorso);
    if (!archivio) {
        return erroreIO(archivio.errore());
    }
    const Esito<std::uint64_t> byte = archivio->lunghezza();
    if (!byte) {
        return erroreIO(byte.errore());
    }
    const Esito<std::vector<std::uint32_t>> righe =
        righeElenco(*archivio, std::get<Filtro>(filtro), ordine);
    if (!righe) {
        return erroreIO(righe.errore());
    }

    Scrittore uscita(kUscitaStandard, "standard output");
    for (const std::uint32_t n : *righe) {
        uscita.testo() += std::to_string(n);
        uscita.testo() += '\n';
        if (!uscita.forse()) {
            break;
        }
    }
    if (const EsitoVuoto fine = uscita.svuota(); !fine) {
        return erroreIO(fine.errore());
    }
    if (*byte % Versamento::kLunghezzaRecord != 0) {
        avvisaParziale(percorso);
    }
    return kRiuscito;
}

}  // namespace pliventa::cli
