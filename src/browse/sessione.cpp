#include "browse/sessione.h"

#include <utility>

namespace pliventa {

namespace {

Errore nessunArchivio() {
    return Errore{CodiceErrore::NessunArchivio, "", "Aprire un file prima di effettuare ricerche"};
}

}  // namespace

void Sessione::apri(ArchivioLavoro archivio, LetturaAtto lettura) {
    archivio_ = std::make_shared<const ArchivioLavoro>(std::move(archivio));
    ignorato_.reset();
    lettura_ = lettura;
}

Esito<bool> Sessione::cambiatoSulDisco() const {
    if (!archivio_) {
        return false;
    }
    const Esito<IdentitaFile> ora = archivio_->identitaSulDisco();
    if (ignorato_ && *ignorato_ == (ora ? *ora : IdentitaFile{})) {
        return false;
    }
    if (!ora) {
        return ora.errore();
    }
    return *ora != archivio_->identita();
}

void Sessione::ignoraDisco() {
    if (archivio_) {
        const Esito<IdentitaFile> ora = archivio_->identitaSulDisco();
        ignorato_ = ora ? *ora : IdentitaFile{};  // all zero: no file there
    }
}

std::optional<Sessione::Ripresa> Sessione::ripresa() const {
    if (!archivio_) {
        return std::nullopt;
    }
    return Ripresa{archivio_->percorso(), lettura_, recordcorrente_};
}

EsitoVuoto Sessione::riprendi(const Ripresa& r) {
    Esito<ArchivioLavoro> a = ArchivioLavoro::apriarchivio(r.percorso);
    if (!a) {
        chiudi();
        return a.errore();
    }
    apri(std::move(*a), r.lettura);
    recordcorrente_ = r.recordcorrente;
    return Nulla{};
}

void Sessione::chiudi() {
    archivio_.reset();
}

Esito<Versamento> Sessione::vai(Movimento m) {
    // The number is stored before the record count is known, so a press of next,
    // previous or first with no file open still moves it (three presses of next
    // before any import leave it at 3). The bounds apply only in the direction
    // of the move.
    switch (m) {
        case Movimento::inizio:
            recordcorrente_ = 1;
            break;
        case Movimento::indietro:
            recordcorrente_ -= 1;
            if (recordcorrente_ < 1) {
                recordcorrente_ = 1;
            }
            break;
        case Movimento::avanti: {
            recordcorrente_ += 1;
            if (!archivio_) {
                return nessunArchivio();
            }
            const Esito<double> conteggio = archivio_->numerorecord();
            if (!conteggio) {
                return conteggio.errore();
            }
            if (recordcorrente_ > *conteggio) {
                recordcorrente_ = *conteggio;
            }
            break;
        }
        case Movimento::fine: {
            if (!archivio_) {
                return nessunArchivio();
            }
            const Esito<double> conteggio = archivio_->numerorecord();
            if (!conteggio) {
                return conteggio.errore();
            }
            recordcorrente_ = *conteggio;
            break;
        }
    }
    return leggiCorrente();
}

Esito<Versamento> Sessione::leggiCorrente() const {
    if (!archivio_) {
        return nessunArchivio();
    }
    return archivio_->leggirecord(recordcorrente_);
}

}  // namespace pliventa
