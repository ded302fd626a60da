#include "export/esportazione.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "base/file.h"
#include "export/celle.h"
#include "export/libro.h"

namespace pliventa {

namespace {

// Column widths in characters: a date, a codice fiscale, amounts with grouping.
constexpr double kLarghezze[12] = {12, 19, 9, 15, 15, 15, 15, 15, 15, 7, 11, 11};

Errore annullato(const std::string& destinazione) {
    return Errore{CodiceErrore::Annullato, destinazione, "esportazione annullata"};
}

/// Row 1, the column widths and formats, and row 2.
EsitoVuoto intestazione(LibroExcel& libro, const Totali& totali, bool euro,
                        std::uint64_t ultimaRiga) {
    for (int c = 0; c < 12; ++c) {
        // The amounts of rows the user adds later take the format too, as in a
        // column formatted whole.
        const Stile stile = euro && c >= 3 && c <= 8 ? Stile::importo : Stile::normale;
        if (EsitoVuoto e = libro.colonne(c, c, kLarghezze[c], stile); !e) {
            return e;
        }
    }
    for (int c = 0; c < 12; ++c) {
        if (EsitoVuoto e = libro.scrivi(0, c, std::string(kIntestazioni[c]), Stile::normale); !e) {
            return e;
        }
    }
    // A2 and C2 stay empty, though bold, when there is no payment.
    const bool vuoto = totali.versamenti() == 0;
    const Cella a2 = vuoto ? Cella{} : Cella{static_cast<double>(totali.versamenti())};
    const Cella c2 = vuoto ? Cella{} : Cella{totali.fabbricati()};
    if (EsitoVuoto e = libro.scrivi(1, 0, a2, Stile::grassetto); !e) {
        return e;
    }
    if (EsitoVuoto e = libro.scrivi(1, 2, c2, Stile::grassetto); !e) {
        return e;
    }
    for (int c = 3; c <= 8; ++c) {
        if (EsitoVuoto e = libro.formula(1, c, formulaTotale(c, ultimaRiga),
                                         totali.importo(static_cast<std::size_t>(c - 3), euro),
                                         euro ? Stile::totale : Stile::grassetto);
            !e) {
            return e;
        }
    }
    return Nulla{};
}

Stile stileDi(int colonna, const Cella& cella, bool euro) {
    if (std::holds_alternative<Giorno>(cella)) {
        return Stile::data;
    }
    return euro && colonna >= 3 && colonna <= 8 ? Stile::importo : Stile::normale;
}

/// One row per payment, records 1 to `quanti` from row 3 on, in a second reading.
Esito<Lettura> scriviRighe(LibroExcel& libro, const ArchivioLavoro& archivio,
                           const Controllo& controllo, std::uint64_t quanti, bool euro,
                           const OpzioniEsportazione& opzioni) {
    return scandisci(
        archivio, controllo,
        [&](const Blocco& blocco) -> EsitoVuoto {
            // A full disk under the temporary rows is seen once a block.
            if (EsitoVuoto t = libro.controllaTemporanei(); !t) {
                return t;
            }
            for (std::size_t i = 0; i < blocco.size(); ++i) {
                // Record n goes to row n + 2, the (0-based) index n + 1.
                const auto riga = static_cast<std::uint32_t>(blocco.numero(i) + 1);
                const std::array<Cella, 12> celle =
                    celleVersamento(blocco.versamento(i), euro, opzioni.lettura);
                for (int c = 0; c < 12; ++c) {
                    const Cella& cella = celle[static_cast<std::size_t>(c)];
                    if (std::holds_alternative<std::monostate>(cella)) {
                        continue;
                    }
                    if (EsitoVuoto e = libro.scrivi(riga, c, cella, stileDi(c, cella, euro)); !e) {
                        return e;
                    }
                }
            }
            return Nulla{};
        },
        quanti);
}

}  // namespace

Esito<RiepilogoEsportazione> stampaexcel(const ArchivioLavoro& archivio,
                                         const std::string& destinazione,
                                         const OpzioniEsportazione& opzioni,
                                         const Controllo& controllo) {
    const Esito<std::uint64_t> byte = archivio.lunghezza();
    if (!byte) {
        return byte.errore();
    }
    RiepilogoEsportazione riepilogo;
    const std::uint64_t interi = *byte / Versamento::kLunghezzaRecord;
    const std::uint64_t capienza = opzioni.righeFoglio > 2 ? opzioni.righeFoglio - 2 : 0;
    const std::uint64_t quanti = std::min(interi, capienza);
    riepilogo.esclusi = interi - quanti;

    if (EsitoVuoto e =
            uscitaDistinta(archivio.percorso(), destinazione, "il file di lavoro da esportare");
        !e) {
        return e.errore();
    }
    // The library falls back on other folders on its own when the one it is given
    // cannot be used; the user must learn of it instead.
    const Esito<std::string> temporanei = cartellaTemporanea(opzioni.cartellaTemporanea);
    if (!temporanei) {
        return temporanei.errore();
    }
    // The library writes the workbook by name: it is given the new file's.
    Esito<Sostituzione> bersaglio = Sostituzione::prepara(destinazione, false);
    if (!bersaglio) {
        return bersaglio.errore();
    }
    // A cancel names the workbook that is not written, not the work file read.
    const auto esitoLettura = [&](const Esito<Lettura>& e) -> EsitoVuoto {
        if (e.ok()) {
            return Nulla{};
        }
        return e.errore().codice == CodiceErrore::Annullato ? annullato(destinazione) : e.errore();
    };

    // Row 2 comes before the data, and the library writes rows only forwards: the
    // totals are worked out in a first reading of the work file.
    Totali totali;
    controllo.fase(static_cast<unsigned>(FaseEsportazione::totali));
    const Esito<Lettura> prima = scandisci(
        archivio, controllo,
        [&](const Blocco& blocco) {
            for (std::size_t i = 0; i < blocco.size(); ++i) {
                totali.aggiungi(blocco.versamento(i));
            }
            return EsitoVuoto(Nulla{});
        },
        quanti);
    if (EsitoVuoto e = esitoLettura(prima); !e) {
        return e.errore();
    }
    riepilogo.parziale = prima->parziale;

    Esito<std::unique_ptr<LibroExcel>> creato =
        LibroExcel::crea(bersaglio->nome(), opzioni.nomeFoglio, *temporanei, destinazione);
    if (!creato) {
        return creato.errore();
    }
    LibroExcel& libro = **creato;
    const bool euro = opzioni.valuta == "E";
    if (EsitoVuoto e = intestazione(libro, totali, euro, quanti + 2); !e) {
        return e.errore();
    }
    controllo.fase(static_cast<unsigned>(FaseEsportazione::righe));
    const Esito<Lettura> seconda = scriviRighe(libro, archivio, controllo, quanti, euro, opzioni);
    if (EsitoVuoto e = esitoLettura(seconda); !e) {
        return e.errore();
    }
    if (EsitoVuoto e = libro.controllaTemporanei(); !e) {
        return e.errore();
    }
    controllo.fase(static_cast<unsigned>(FaseEsportazione::compressione));
    controllo.avanza(0, 0);
    if (EsitoVuoto e = libro.chiudi(); !e) {
        return e.errore();
    }
    // Packing cannot stop midway: a cancel asked meanwhile is honoured before the
    // workbook takes the place of the file the clerk chose.
    if (controllo.annullato()) {
        return annullato(destinazione);
    }
    if (EsitoVuoto e = bersaglio->completa(); !e) {
        return e.errore();
    }
    riepilogo.esportati = quanti;
    riepilogo.celleRiparate = libro.celleRiparate();
    return riepilogo;
}

}  // namespace pliventa
