#include "importers/importazione.h"

#include <sys/stat.h>

#include <algorithm>

#include "base/file.h"
#include "importers/lettore.h"
#include "importers/scrittore.h"

namespace pliventa {

namespace {

// How often, in lines, progress is reported and a cancel looked for.
constexpr std::uint64_t kRighePerControllo = 16384;

}  // namespace

Esito<Conteggi> importa(const std::string& input, const std::string& output, Trasformazione& t,
                        const Controllo& controllo) {
    // The input is opened, and found readable, before anything is written: an
    // input that cannot be read leaves the previous work file alone.
    auto lettore = LettoreRighe::apri(input);
    if (!lettore.ok()) {
        return lettore.errore();
    }
    return importa(*lettore, output, t, controllo);
}

Esito<Conteggi> importa(LettoreRighe& lettore, const std::string& output, Trasformazione& t,
                        const Controllo& controllo) {
    // The output replaces its file once complete: written over its own input by
    // another name, the input would be read whole, then lost.
    if (EsitoVuoto e = uscitaDistinta(lettore.percorso(), output, "il file da leggere"); !e) {
        return e.errore();
    }
    auto scrittore = ScrittoreArchivio::apri(output);
    if (!scrittore.ok()) {
        return scrittore.errore();
    }
    lettore.rigaMassima(t.rigaMassima());
    // An input that waits for its writer is left at a cancel, not only between lines.
    lettore.seguiAnnullamento(controllo.annulla);
    struct stat st {};
    const std::uint64_t totale = ::stat(lettore.percorso().c_str(), &st) == 0 && S_ISREG(st.st_mode)
                                     ? static_cast<std::uint64_t>(st.st_size)
                                     : 0;
    std::uint64_t letti = 0;
    Conteggi conteggi;
    const std::uint64_t fuoriFormatoPrima = t.importiFuoriFormato();
    Riga riga;
    for (;;) {
        if (conteggi.righeLette % kRighePerControllo == 0) {
            if (controllo.annullato()) {
                // The writer removes its temporary file; the output stays as it was.
                return Errore{CodiceErrore::Annullato, output, "importazione annullata"};
            }
            controllo.avanza(std::min(letti, totale), totale);
        }
        auto letta = lettore.prossima(riga);
        if (!letta.ok()) {
            return letta.errore();  // the writer removes its temporary file
        }
        if (!*letta) {
            break;
        }
        ++conteggi.righeLette;
        letti += riga.lunghezza + 1;
        if (riga.lunghezza > riga.testo.size()) {
            ++conteggi.righeTagliate;
        }
        if (!t.riga(riga, *scrittore)) {
            ++conteggi.righeScartate;
        }
        if (scrittore->fallito()) {
            break;  // chiudi() reports it; reading further is pointless
        }
    }
    if (!scrittore->fallito()) {
        t.fine(*scrittore);
    }
    if (controllo.annullato()) {
        return Errore{CodiceErrore::Annullato, output, "importazione annullata"};
    }
    controllo.avanza(totale, totale);
    auto chiuso = scrittore->chiudi();
    if (!chiuso.ok()) {
        return chiuso.errore();
    }
    conteggi.versamenti = scrittore->righe();
    conteggi.completate = scrittore->completate();
    conteggi.troncate = scrittore->troncate();
    conteggi.importiFuoriFormato = t.importiFuoriFormato() - fuoriFormatoPrima;
    return conteggi;
}

}  // namespace pliventa
