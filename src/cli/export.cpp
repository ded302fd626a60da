// pliventa-cli export: a work file into an .xlsx workbook with its totals.
#include <string>

#include "cli/argomenti.h"
#include "cli/comandi.h"
#include "export/celle.h"
#include "export/esportazione.h"
#include "records/archivio.h"

namespace pliventa::cli {

namespace {

constexpr Guida kGuida = {
    "export",
    "export WORKFILE -o BOOK.xlsx [--valuta E|L] [--notice long|short]",
    "Scrive i versamenti del file di lavoro WORKFILE nella cartella di lavoro Excel\n"
    "BOOK.xlsx: intestazioni nella riga 1, totali nella riga 2, un versamento per\n"
    "riga dalla riga 3, su un foglio \"Estrazione gg-mm-aaaa hh.mm.ss\".\n"
    "\n"
    "  -o BOOK.xlsx          la cartella di lavoro da scrivere (obbligatoria)\n"
    "  --valuta E|L          E: importi in centesimi di euro, scritti divisi per 100\n"
    "                        con il formato #,##0.00 (predefinito); L: lire, come sono\n"
    "  --notice long|short   lettura degli estremi dell'atto di violazione: long\n"
    "                        (numero di 9 cifre, predefinita; file 2000, 1997, F24)\n"
    "                        o short (numero di 6 cifre; violazioni 1997)\n"
    "  -h, --help            questo aiuto\n"
    "\n"
    "Un foglio contiene al massimo 1.048.574 versamenti: gli altri sono esclusi e\n"
    "contati. BOOK.xlsx è sostituito solo a esportazione completata. Il numero dei\n"
    "versamenti esportati è scritto su standard error. I file temporanei vanno nella\n"
    "cartella $TMPDIR (altrimenti /tmp), che deve avere spazio per circa 1,2 GB per\n"
    "milione di versamenti.\n"
    "Codici di uscita: 0 riuscito, 1 errore di lettura o scrittura, 2 uso errato.\n",
};

constexpr std::string_view kOpzioni[] = {"-o", "--valuta", "--notice"};

}  // namespace

int comandoExport(std::span<const std::string_view> argomenti) {
    const auto preparato = preparaComandoArchivio(argomenti, kOpzioni, kGuida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    const auto& [arg, lettura] = std::get<ComandoArchivio>(preparato);
    const std::string_view libro = arg.valore("-o").value_or("");
    if (libro.empty()) {
        return erroreUso(kGuida, "manca la cartella di lavoro da scrivere (-o BOOK.xlsx)");
    }
    OpzioniEsportazione esportazione;
    esportazione.valuta = lettura.euro ? "E" : "L";
    esportazione.lettura = lettura.lettura;
    esportazione.nomeFoglio = nomeFoglioDiAdesso();

    const std::string percorso(arg.operandi[0]);
    const auto archivio = ArchivioLavoro::apriarchivio(percorso);
    if (!archivio) {
        return erroreIO(archivio.errore());
    }
    const std::string uscita(libro);
    const Esito<RiepilogoEsportazione> r = stampaexcel(*archivio, uscita, esportazione);
    if (!r) {
        return erroreDi(kGuida, r.errore());
    }
    avviso("esportati " + std::to_string(r->esportati) + " versamenti in " + uscita);
    if (r->esclusi > 0) {
        avviso("pliventa-cli: esclusi " + std::to_string(r->esclusi) +
               " versamenti che il foglio non può contenere (al massimo " +
               std::to_string(kRigheFoglio - 2) + ")");
    }
    if (r->celleRiparate > 0) {
        avviso("pliventa-cli: " + std::to_string(r->celleRiparate) +
               " celle di testo contenevano caratteri nulli, scritti come U+FFFD");
    }
    if (r->parziale) {
        avvisaParziale(percorso);
    }
    return kRiuscito;
}

}  // namespace pliventa::cli
