#include "export/riepilogo_libro.h"

#include <algorithm>
#include <memory>

#include "base/file.h"
#include "base/testo.h"
#include "export/libro.h"
#include "summary/tabella.h"

namespace pliventa {

namespace {

/// Row `riga` for `g`; `etichetta` replaces the key in the grand-total row.
EsitoVuoto scriviRiga(LibroExcel& libro, std::uint32_t riga, const GruppoRiepilogo& g,
                      Raggruppamento r, bool euro, const std::string* etichetta) {
    const bool totale = etichetta != nullptr;
    const Stile conto = totale ? Stile::grassetto : Stile::normale;
    const Stile importo = euro ? (totale ? Stile::totale : Stile::importo) : conto;
    Cella chiave;
    if (totale) {
        chiave = *etichetta;
    } else if (const std::optional<std::int64_t> anno = valoreCifre(g.chiave);
               r == Raggruppamento::anno && g.chiave.size() == 4 && anno) {
        // A year is a number the sheet can sort and filter on.
        chiave = static_cast<double>(*anno);
    } else {
        chiave = daCp1252(g.chiave);
    }
    int c = 0;
    if (EsitoVuoto e = libro.scrivi(riga, c++, chiave, conto); !e) {
        return e;
    }
    if (r == Raggruppamento::anno) {
        const Cella tipo = g.tipo == '\0' ? Cella{} : Cella{std::string(1, g.tipo)};
        if (EsitoVuoto e = libro.scrivi(riga, c++, tipo, conto); !e) {
            return e;
        }
    }
    for (const std::uint64_t conteggio : {g.versamenti, g.violazioni}) {
        if (EsitoVuoto e = libro.scrivi(riga, c++, static_cast<double>(conteggio), conto); !e) {
            return e;
        }
    }
    for (const SommaEsatta& s : importiRiepilogo(g)) {
        if (EsitoVuoto e = libro.scrivi(riga, c++, s.valore(euro ? 100 : 1), importo); !e) {
            return e;
        }
    }
    return libro.scrivi(riga, c, static_cast<double>(g.anomalie), conto);
}

}  // namespace

std::string nomeFoglioRiepilogo(Raggruppamento r) {
    return "Riepilogo per " + std::string(nomeRaggruppamento(r));
}

EsitoVuoto salvaRiepilogoExcel(const Riepilogo& riepilogo, Raggruppamento r, bool euro,
                               const std::string& destinazione,
                               const std::string& cartellaTemporanea) {
    if (EsitoVuoto e = destinazioneAmmessa(riepilogo, destinazione); !e) {
        return e;
    }
    // The library opens the new file again by its name.
    Esito<Sostituzione> nuovo = Sostituzione::prepara(destinazione, false);
    if (!nuovo) {
        return nuovo.errore();
    }
    const Esito<std::string> temporanei = pliventa::cartellaTemporanea(cartellaTemporanea);
    if (!temporanei) {
        return temporanei.errore();
    }
    Esito<std::unique_ptr<LibroExcel>> creato =
        LibroExcel::crea(nuovo->nome(), nomeFoglioRiepilogo(r), *temporanei, destinazione);
    if (!creato) {
        return creato.errore();
    }
    LibroExcel& libro = **creato;
    const std::vector<std::string_view> intestazioni = intestazioniRiepilogo(r);
    for (std::size_t i = 0; i < intestazioni.size(); ++i) {
        const int c = static_cast<int>(i);
        // Wide enough for the header and for "Totale generale" or a large amount.
        const double larghezza =
            std::max<double>(16, static_cast<double>(intestazioni[i].size()) + 2);
        if (EsitoVuoto e = libro.colonne(c, c, larghezza, Stile::normale); !e) {
            return e;
        }
        if (EsitoVuoto e = libro.scrivi(0, c, std::string(intestazioni[i]), Stile::grassetto); !e) {
            return e;
        }
    }
    std::uint32_t riga = 1;
    for (const GruppoRiepilogo& g : riepilogo.per(r)) {
        if (EsitoVuoto e = scriviRiga(libro, riga++, g, r, euro, nullptr); !e) {
            return e;
        }
    }
    const std::string etichetta(kTotaleGenerale);
    if (EsitoVuoto e = scriviRiga(libro, riga, riepilogo.totale, r, euro, &etichetta); !e) {
        return e;
    }
    if (EsitoVuoto e = libro.controllaTemporanei(); !e) {
        return e;
    }
    if (EsitoVuoto e = libro.chiudi(); !e) {
        return e;
    }
    return nuovo->completa();
}

}  // namespace pliventa
