#include "browse/ricerca.h"

#include <algorithm>
#include <cmath>

#include "records/testo.h"

namespace pliventa {

namespace {

// Records read with one system call: about 800 KB, so a scan of a million
// records takes a few hundred reads instead of a million.
constexpr std::size_t kRecordPerBlocco = 4096;

}  // namespace

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
    : archivio_(archivio), chiave_(chiaveRicerca(testoUtf8)) {
    const Esito<double> conteggio = archivio_.numerorecord();
    if (!conteggio) {
        errore_ = conteggio.errore();
        return;
    }
    // A trailing partial record is not a payment: the scan stops at the whole part.
    conteggio_ = *conteggio;
    totale_ = static_cast<std::uint64_t>(std::floor(*conteggio));
}

Esito<std::optional<Trovato>> ScansioneRicerca::prossimo() {
    if (errore_) {
        return *errore_;
    }
    if (!chiave_) {
        return std::optional<Trovato>();
    }
    const auto campo = posizione(Campo::codicefiscale);
    while (successivo_ <= totale_) {
        if (successivo_ >= primoDelBlocco_ + nelBlocco_) {
            const auto quanti = static_cast<std::size_t>(
                std::min<std::uint64_t>(kRecordPerBlocco, totale_ - successivo_ + 1));
            const Esito<std::size_t> letti = archivio_.leggiblocco(successivo_, quanti, blocco_);
            if (!letti) {
                errore_ = letti.errore();
                return *errore_;
            }
            primoDelBlocco_ = successivo_;
            nelBlocco_ = *letti;
            if (nelBlocco_ == 0) {
                // The file was cut short since the count was taken: nothing more to
                // see, which the caller may want to tell.
                totale_ = successivo_ - 1;
                accorciato_ = totale_;
                break;
            }
        }
        const std::size_t indice = static_cast<std::size_t>(successivo_ - primoDelBlocco_);
        const std::string_view record(blocco_.data() + indice * Versamento::kLunghezzaRecord,
                                      Versamento::kLunghezzaRecord);
        const std::uint64_t numero = successivo_++;
        if (corrisponde(record.substr(campo.inizio, campo.larghezza), *chiave_)) {
            return std::optional<Trovato>(Trovato{numero, Versamento::daByte(record)});
        }
    }
    return std::optional<Trovato>();
}

}  // namespace pliventa
