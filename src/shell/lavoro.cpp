#include "shell/lavoro.h"

#include <cerrno>
#include <new>

namespace pliventa {

Lavoro::Lavoro(std::function<void(Lavoro&)> compito, QObject* genitore)
    : QObject(genitore), compito_(std::move(compito)) {
    battito_.setInterval(kIntervalloMs);
    connect(&battito_, &QTimer::timeout, this, [this] {
        if (!finito()) {
            emit avanzato(stato());
        }
    });
}

Lavoro::~Lavoro() {
    // The task reads what its owner holds: it must be over before that goes.
    annulla();
    aspetta();
}

void Lavoro::avvia() {
    if (filo_.joinable() || finito_.load()) {
        return;
    }
    battito_.start();
    filo_ = std::thread([this] {
        try {
            compito_(*this);
        } catch (const std::bad_alloc&) {
            // Out of memory: the task's files are gone with its unwinding; the
            // window says so instead of ending.
            senzaMemoria_.store(true);
        }
        finito_.store(true);
        // Delivered on the owner's thread; dropped if the runner is gone first.
        QMetaObject::invokeMethod(
            this,
            [this] {
                battito_.stop();
                emit terminato();
            },
            Qt::QueuedConnection);
    });
}

std::optional<Errore> Lavoro::interruzione() const {
    if (senzaMemoria_.load()) {
        return erroreDiSistema({}, ENOMEM);
    }
    return std::nullopt;
}

void Lavoro::aspetta() {
    if (filo_.joinable()) {
        filo_.join();
    }
}

void Lavoro::avanza(int fase, std::uint64_t fatti, std::uint64_t totale) {
    // Three separate values: a reader may see a mix of two reports, which a
    // progress bar shows for a tenth of a second at most.
    fase_.store(fase);
    fatti_.store(fatti);
    totale_.store(totale);
}

Lavoro::Stato Lavoro::stato() const {
    return {fase_.load(), fatti_.load(), totale_.load()};
}

Controllo Lavoro::controllo() {
    Controllo c;
    c.annulla = &annulla_;
    c.nuovaFase = [this](unsigned fase) { fase_.store(static_cast<int>(fase)); };
    c.progresso = [this](std::uint64_t fatti, std::uint64_t totale) {
        avanza(fase_.load(), fatti, totale);
    };
    return c;
}

}  // namespace pliventa
