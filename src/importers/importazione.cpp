#include "importers/importazione.h"

#include "importers/lettore.h"
#include "importers/scrittore.h"

namespace pliventa {

Esito<Conteggi> importa(const std::string& input, const std::string& output, Trasformazione& t) {
    // The input is opened, and found readable, before anything is written: an
    // input that cannot be read leaves the previous work file alone.
    auto lettore = LettoreRighe::apri(input);
    if (!lettore.ok()) {
        return lettore.errore();
    }
    auto scrittore = ScrittoreArchivio::apri(output);
    if (!scrittore.ok()) {
        return scrittore.errore();
    }
    Conteggi conteggi;
    Riga riga;
    for (;;) {
        auto letta = lettore->prossima(riga);
        if (!letta.ok()) {
            return letta.errore();  // the writer removes its temporary file
        }
        if (!*letta) {
            break;
        }
        ++conteggi.righeLette;
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
    auto chiuso = scrittore->chiudi();
    if (!chiuso.ok()) {
        return chiuso.errore();
    }
    conteggi.versamenti = scrittore->righe();
    conteggi.completate = scrittore->completate();
    conteggi.troncate = scrittore->troncate();
    return conteggi;
}

}  // namespace pliventa
