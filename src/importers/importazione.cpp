#include "importers/importazione.h"

#include <algorithm>
#include <cerrno>

#include "base/file.h"
#include "importers/lettore.h"
#include "importers/scrittore.h"

namespace pliventa {

namespace {

// How often, in lines, progress is reported and a cancel looked for.
constexpr std::uint64_t kRighePerControllo = 16384;

/// The size of a regular file, 0 for anything else (a FIFO has none to tell).
std::uint64_t dimensione(const std::string& percorso) {
    StatoFile st;
    return statoPercorso(percorso, st) && st.tipo == TipoFile::Regolare ? st.identita.lunghezza : 0;
}

/// Finds `percorso` readable without reading it. A FIFO or a device is left for
/// the import to open: opening one here would wait for its writer, and closing it
/// would lose what it was given.
EsitoVuoto leggibile(const std::string& percorso) {
    StatoFile st;
    if (!statoPercorso(percorso, st)) {
        return erroreDiSistema(percorso, errno);
    }
    if (st.tipo == TipoFile::Altro) {
        return Nulla{};
    }
    const Esito<int> fd = apriInLettura(percorso);
    if (!fd) {
        return fd.errore();
    }
    (void)chiudiDescrittore(*fd);
    return Nulla{};
}

Errore annullata(const std::string& output) {
    return Errore{CodiceErrore::Annullato, output, "importazione annullata"};
}

/// Passes every line of `lettore` through `t` into `scrittore`. The progress told
/// is `prima` (the bytes of the inputs before this one) plus the bytes read, of
/// `totale`. Returns this input's counts, or the error or cancel that stopped it:
/// the caller's writer then removes its new file.
Esito<Conteggi> travasa(LettoreRighe& lettore, Trasformazione& t, ScrittoreArchivio& scrittore,
                        const Controllo& controllo, std::uint64_t prima, std::uint64_t totale) {
    lettore.rigaMassima(t.rigaMassima());
    // An input that waits for its writer is left at a cancel, not only between lines.
    lettore.seguiAnnullamento(controllo.annulla);
    std::uint64_t letti = 0;
    Conteggi conteggi;
    const std::uint64_t fuoriFormatoPrima = t.importiFuoriFormato();
    const std::uint64_t righePrima = scrittore.righe();
    const std::uint64_t completatePrima = scrittore.completate();
    const std::uint64_t troncatePrima = scrittore.troncate();
    Riga riga;
    for (;;) {
        if (conteggi.righeLette % kRighePerControllo == 0) {
            if (controllo.annullato()) {
                return annullata(scrittore.percorso());
            }
            controllo.avanza(std::min(prima + letti, totale), totale);
        }
        auto letta = lettore.prossima(riga);
        if (!letta.ok()) {
            return letta.errore();
        }
        if (!*letta) {
            break;
        }
        ++conteggi.righeLette;
        letti += riga.lunghezza + 1;
        if (riga.lunghezza > riga.testo.size()) {
            ++conteggi.righeTagliate;
        }
        if (!t.riga(riga, scrittore)) {
            ++conteggi.righeScartate;
        }
        if (scrittore.fallito()) {
            break;  // chiudi() reports it; reading further is pointless
        }
    }
    if (!scrittore.fallito()) {
        t.fine(scrittore);
    }
    if (controllo.annullato()) {
        return annullata(scrittore.percorso());
    }
    conteggi.versamenti = scrittore.righe() - righePrima;
    conteggi.completate = scrittore.completate() - completatePrima;
    conteggi.troncate = scrittore.troncate() - troncatePrima;
    conteggi.importiFuoriFormato = t.importiFuoriFormato() - fuoriFormatoPrima;
    return conteggi;
}

}  // namespace

Conteggi& Conteggi::operator+=(const Conteggi& altri) {
    righeLette += altri.righeLette;
    righeScartate += altri.righeScartate;
    righeTagliate += altri.righeTagliate;
    versamenti += altri.versamenti;
    completate += altri.completate;
    troncate += altri.troncate;
    importiFuoriFormato += altri.importiFuoriFormato;
    return *this;
}

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
    const std::uint64_t totale = dimensione(lettore.percorso());
    Esito<Conteggi> conteggi = travasa(lettore, t, *scrittore, controllo, 0, totale);
    if (!conteggi) {
        return conteggi;  // the writer removes its new file
    }
    controllo.avanza(totale, totale);
    if (auto chiuso = scrittore->chiudi(); !chiuso.ok()) {
        return chiuso.errore();
    }
    return conteggi;
}

Esito<std::vector<Conteggi>> importaTutti(std::span<Ingresso> ingressi, const std::string& output,
                                          const Controllo& controllo) {
    // Every input is found readable before anything is written, so a name typed
    // wrong is told at once, not after the files before it.
    std::uint64_t totale = 0;
    for (const Ingresso& i : ingressi) {
        if (const EsitoVuoto ok = leggibile(i.percorso); !ok) {
            return ok.errore();
        }
        // The output replaces its file once complete: written over one of its own
        // inputs by another name, that input would be lost.
        if (EsitoVuoto e = uscitaDistinta(i.percorso, output, "il file da leggere"); !e) {
            return e.errore();
        }
        totale += dimensione(i.percorso);
    }
    auto scrittore = ScrittoreArchivio::apri(output);
    if (!scrittore.ok()) {
        return scrittore.errore();
    }
    std::vector<Conteggi> tutti;
    tutti.reserve(ingressi.size());
    std::uint64_t prima = 0;
    // One input open at a time: each reader holds a block of its own.
    for (Ingresso& i : ingressi) {
        auto lettore = LettoreRighe::apri(i.percorso);
        if (!lettore.ok()) {
            return lettore.errore();
        }
        Esito<Conteggi> conteggi =
            travasa(*lettore, *i.trasformazione, *scrittore, controllo, prima, totale);
        if (!conteggi) {
            return conteggi.errore();  // the writer removes its new file
        }
        tutti.push_back(*conteggi);
        prima += dimensione(i.percorso);
    }
    controllo.avanza(totale, totale);
    if (auto chiuso = scrittore->chiudi(); !chiuso.ok()) {
        return chiuso.errore();
    }
    return tutti;
}

}  // namespace pliventa
