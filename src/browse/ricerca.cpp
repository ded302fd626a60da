#include "browse/ricerca.h"

#include "base/testo.h"

namespace pliventa {

bool corrisponde(std::string_view codiceFiscale, std::string_view cercato) {
    // Only the search text is upper-cased: a codice fiscale stored in lower
    // case is never found, as the clerk has always seen it.
    return senzaSpazi(codiceFiscale).starts_with(cercato);
}

std::optional<std::string> chiaveRicerca(std::string_view testoUtf8) {
    const std::string maiuscole = maiuscolo(testoUtf8);
    return aCp1252(senzaSpazi(maiuscole));
}

ScansioneRicerca::ScansioneRicerca(const ArchivioLavoro& archivio, std::string_view testoUtf8)
    : chiave_(chiaveRicerca(testoUtf8)), scansione_(Scansione::apri(archivio)) {}

Esito<std::optional<Trovato>> ScansioneRicerca::prossimo() {
    if (!scansione_) {
        return scansione_.errore();
    }
    if (!chiave_) {
        return std::optional<Trovato>();
    }
    const auto campo = posizione(Campo::codicefiscale);
    for (;;) {
        if (indice_ == blocco_.size()) {
            Esito<Blocco> blocco = scansione_->prossimo();
            if (!blocco) {
                return blocco.errore();
            }
            if (blocco->empty()) {
                return std::optional<Trovato>();
            }
            blocco_ = *blocco;
            indice_ = 0;
        }
        const std::size_t i = indice_++;
        const std::string_view record = blocco_.record(i);
        if (corrisponde(record.substr(campo.inizio, campo.larghezza), *chiave_)) {
            return std::optional<Trovato>(Trovato{blocco_.numero(i), Versamento::daByte(record)});
        }
    }
}

}  // namespace pliventa
