#include "records/scansione.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pliventa {

namespace {

constexpr std::uint64_t kRecord = Versamento::kLunghezzaRecord;

// Below this many records a part costs more in starting its thread than it saves.
constexpr std::uint64_t kMinimoPerParte = 4 * Scansione::kRecordPerBlocco;

Errore annullata(const ArchivioLavoro& archivio) {
    return Errore{CodiceErrore::Annullato, archivio.percorso(), "lettura annullata"};
}

}  // namespace

Esito<Scansione> Scansione::apri(const ArchivioLavoro& archivio, std::uint64_t primo,
                                 std::uint64_t ultimo) {
    const Esito<std::uint64_t> lunghezza = archivio.lunghezza();
    if (!lunghezza) {
        return lunghezza.errore();
    }
    return Scansione(archivio, *lunghezza, primo, ultimo);
}

Scansione::Scansione(const ArchivioLavoro& archivio, std::uint64_t lunghezza, std::uint64_t primo,
                     std::uint64_t ultimo)
    : archivio_(&archivio),
      lunghezza_(lunghezza),
      versamenti_(lunghezza / kRecord),
      parziale_(lunghezza % kRecord != 0),
      primo_(std::max<std::uint64_t>(primo, 1)),
      ultimo_(std::min(ultimo, versamenti_)),
      successivo_(primo_) {
    if (ultimo_ < primo_) {
        ultimo_ = primo_ - 1;  // nothing to read
    }
}

Errore Scansione::cambiato() const {
    return Errore{CodiceErrore::InputOutput, archivio_->percorso(),
                  "il file di lavoro è cambiato durante la lettura"};
}

EsitoVuoto Scansione::controllaLunghezza() const {
    const Esito<std::uint64_t> ora = archivio_->lunghezza();
    if (!ora) {
        return ora.errore();
    }
    if (*ora != lunghezza_) {
        return cambiato();
    }
    return Nulla{};
}

Esito<Blocco> Scansione::prossimo() {
    if (successivo_ > ultimo_) {
        if (!finito_) {
            finito_ = true;
            // A file that grew has been written meanwhile: the records read may
            // belong to two different files.
            if (EsitoVuoto e = controllaLunghezza(); !e) {
                return e.errore();
            }
        }
        return Blocco(successivo_, std::string_view());
    }
    const auto quanti = static_cast<std::size_t>(
        std::min<std::uint64_t>(kRecordPerBlocco, ultimo_ - successivo_ + 1));
    const Esito<std::size_t> letti = archivio_->leggiblocco(successivo_, quanti, buffer_);
    if (!letti) {
        return letti.errore();
    }
    if (*letti < quanti) {
        return cambiato();
    }
    const Blocco blocco(successivo_, buffer_);
    successivo_ += *letti;
    return blocco;
}

Esito<Lettura> scandisci(const ArchivioLavoro& archivio, const Controllo& controllo,
                         const PerBlocco& f) {
    Esito<Scansione> scansione = Scansione::apri(archivio);
    if (!scansione) {
        return scansione.errore();
    }
    const std::uint64_t totale = scansione->versamenti();
    controllo.avanza(0, totale);
    for (;;) {
        if (controllo.annullato()) {
            return annullata(archivio);
        }
        const Esito<Blocco> blocco = scansione->prossimo();
        if (!blocco) {
            return blocco.errore();
        }
        if (blocco->empty()) {
            break;
        }
        if (EsitoVuoto e = f(*blocco); !e) {
            return e.errore();
        }
        controllo.avanza(scansione->letti(), totale);
    }
    return Lettura{totale, scansione->parziale()};
}

std::size_t partiPerScansione(std::uint64_t versamenti) {
    const std::uint64_t processori = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<std::size_t>(
        std::clamp<std::uint64_t>(versamenti / kMinimoPerParte, 1, processori));
}

Esito<Lettura> parallelo(const ArchivioLavoro& archivio, const Controllo& controllo,
                         std::size_t parti, const PerBloccoDiParte& f) {
    Esito<Scansione> intera = Scansione::apri(archivio);
    if (!intera) {
        return intera.errore();
    }
    const std::uint64_t totale = intera->versamenti();
    parti = static_cast<std::size_t>(
        std::clamp<std::uint64_t>(parti, 1, std::max<std::uint64_t>(totale, 1)));
    if (parti == 1) {
        return scandisci(archivio, controllo, [&f](const Blocco& b) { return f(0, b); });
    }

    std::atomic<std::uint64_t> fatti{0};
    std::atomic<bool> ferma{false};
    std::vector<std::optional<Errore>> errori(parti);
    std::mutex mutex;
    std::condition_variable finito;
    std::size_t attive = parti;

    auto parte = [&](std::size_t k) {
        const std::uint64_t primo = totale * k / parti + 1;
        const std::uint64_t ultimo = totale * (k + 1) / parti;
        std::optional<Errore> errore;
        Esito<Scansione> s = Scansione::apri(archivio, primo, ultimo);
        if (!s) {
            errore = s.errore();
        } else if (s->versamenti() != totale) {
            errore = Errore{CodiceErrore::InputOutput, archivio.percorso(),
                            "il file di lavoro è cambiato durante la lettura"};
        }
        while (!errore && !ferma.load(std::memory_order_relaxed)) {
            if (controllo.annullato()) {
                errore = annullata(archivio);
                break;
            }
            const Esito<Blocco> blocco = s->prossimo();
            if (!blocco) {
                errore = blocco.errore();
            } else if (blocco->empty()) {
                break;
            } else if (EsitoVuoto e = f(k, *blocco); !e) {
                errore = e.errore();
            } else {
                fatti.fetch_add(blocco->size(), std::memory_order_relaxed);
            }
        }
        if (errore) {
            errori[k] = std::move(errore);
            ferma.store(true, std::memory_order_relaxed);
        }
        const std::lock_guard<std::mutex> lock(mutex);
        --attive;
        finito.notify_one();
    };

    controllo.avanza(0, totale);
    {
        std::vector<std::jthread> fili;
        fili.reserve(parti);
        for (std::size_t k = 0; k < parti; ++k) {
            fili.emplace_back(parte, k);
        }
        // The progress is told from here, so the caller hears it from one thread.
        std::unique_lock<std::mutex> lock(mutex);
        while (attive > 0) {
            finito.wait_for(lock, std::chrono::milliseconds(50));
            lock.unlock();
            controllo.avanza(fatti.load(std::memory_order_relaxed), totale);
            lock.lock();
        }
    }
    // The first error in record order is the one a single pass would have met;
    // a part stopped by another's error has none of its own.
    for (std::optional<Errore>& e : errori) {
        if (e) {
            return std::move(*e);
        }
    }
    return Lettura{totale, intera->parziale()};
}

}  // namespace pliventa
