#include "records/scansione.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <thread>
#include <vector>

namespace pliventa {

namespace {

constexpr std::uint64_t kRecord = Versamento::kLunghezzaRecord;

// Below this many records a part costs more in starting its thread than it saves.
constexpr std::uint64_t kMinimoPerParte = 4 * Scansione::kRecordPerBlocco;

// Blocks of each part's run in one round of a parallel pass: a round of two parts
// reads about 13 MB, so the threads start a few times a second and what a round
// finds stays small.
constexpr std::uint64_t kBlocchiPerParte = 8;

}  // namespace

Errore annullata(const ArchivioLavoro& archivio) {
    return Errore{CodiceErrore::Annullato, archivio.percorso(), "lettura annullata"};
}

Errore cambiato(const ArchivioLavoro& archivio) {
    return Errore{CodiceErrore::InputOutput, archivio.percorso(),
                  "il file di lavoro è cambiato durante la lettura"};
}

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
    return pliventa::cambiato(*archivio_);
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
                         const PerBlocco& f, std::uint64_t ultimo) {
    Esito<Scansione> scansione = Scansione::apri(archivio, 1, ultimo);
    if (!scansione) {
        return scansione.errore();
    }
    const std::uint64_t totale = scansione->daLeggere();
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
    return Lettura{scansione->versamenti(), scansione->parziale()};
}

std::size_t partiPerScansione(std::uint64_t versamenti) {
    const std::uint64_t processori = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<std::size_t>(
        std::clamp<std::uint64_t>(versamenti / kMinimoPerParte, 1, processori));
}

namespace {

/// Records `primo` to `ultimo` of `archivio` in blocks to `f(k, blocco)`, until
/// the end, an error, a cancel or `ferma`. The file must still have `lunghezza`.
EsitoVuoto leggiParte(const ArchivioLavoro& archivio, std::uint64_t lunghezza, std::uint64_t primo,
                      std::uint64_t ultimo, std::size_t k, const Controllo& controllo,
                      const std::atomic<bool>& ferma, const PerBloccoDiParte& f) {
    Esito<Scansione> s = Scansione::apri(archivio, primo, ultimo);
    if (!s) {
        return s.errore();
    }
    if (s->lunghezza() != lunghezza) {
        return cambiato(archivio);
    }
    while (!ferma.load(std::memory_order_relaxed)) {
        if (controllo.annullato()) {
            return annullata(archivio);
        }
        const Esito<Blocco> blocco = s->prossimo();
        if (!blocco) {
            return blocco.errore();
        }
        if (blocco->empty()) {
            break;
        }
        if (EsitoVuoto e = f(k, *blocco); !e) {
            return e;
        }
    }
    return Nulla{};
}

}  // namespace

Esito<Lettura> parallelo(const ArchivioLavoro& archivio, const Controllo& controllo,
                         std::size_t parti, const PerBloccoDiParte& f, const FineGiro& giro) {
    const Esito<Scansione> intera = Scansione::apri(archivio);
    if (!intera) {
        return intera.errore();
    }
    const std::uint64_t totale = intera->versamenti();
    parti = std::max<std::size_t>(parti, 1);
    const std::uint64_t perGiro = parti * kBlocchiPerParte * Scansione::kRecordPerBlocco;
    std::vector<std::optional<Errore>> errori(parti);
    std::atomic<bool> ferma{false};

    // Part k's run of the round [inizio, inizio + nelGiro).
    const auto parte = [&](std::size_t k, std::uint64_t inizio, std::uint64_t nelGiro) {
        const std::uint64_t primo = inizio + nelGiro * k / parti;
        const std::uint64_t dopo = inizio + nelGiro * (k + 1) / parti;
        if (primo == dopo) {
            return;
        }
        EsitoVuoto esito = Nulla{};
        try {
            esito =
                leggiParte(archivio, intera->lunghezza(), primo, dopo - 1, k, controllo, ferma, f);
        } catch (const std::bad_alloc&) {
            // Thrown on a thread of ours it would end the program: it is an error
            // of the pass like any other.
            esito = erroreDiSistema(archivio.percorso(), ENOMEM);
        }
        if (!esito) {
            errori[k] = esito.errore();
            ferma.store(true, std::memory_order_relaxed);
        }
    };

    controllo.avanza(0, totale);
    for (std::uint64_t inizio = 1; inizio <= totale; inizio += perGiro) {
        if (controllo.annullato()) {
            return annullata(archivio);
        }
        const std::uint64_t nelGiro = std::min(perGiro, totale - inizio + 1);
        {
            std::vector<std::jthread> fili;
            fili.reserve(parti - 1);
            for (std::size_t k = 1; k < parti; ++k) {
                fili.emplace_back(parte, k, inizio, nelGiro);
            }
            parte(0, inizio, nelGiro);  // the calling thread reads the first run
        }
        // Of the errors met, the earliest part's is the one a single pass meets first.
        const auto errore =
            std::find_if(errori.begin(), errori.end(),
                         [](const std::optional<Errore>& e) { return e.has_value(); });
        if (errore != errori.end()) {
            return **errore;
        }
        if (EsitoVuoto e = giro ? giro() : EsitoVuoto(Nulla{}); !e) {
            return e.errore();
        }
        controllo.avanza(inizio + nelGiro - 1, totale);
    }
    return Lettura{totale, intera->parziale()};
}

}  // namespace pliventa
