#include "shell/lavoro.h"

#include <cerrno>
#include <new>

namespace pliventa {

Lavoro::Lavoro(std::function<void(Lavoro&)> compito) : compito_(std::move(compito)) {}

Lavoro::~Lavoro() {
    aspetta();
}

void Lavoro::avvia() {
    if (filo_.joinable() || finito_.load()) {
        return;
    }
    filo_ = std::thread([this] {
        try {
            compito_(*this);
        } catch (const std::bad_alloc&) {
            // Out of memory: the task's files are gone with its unwinding; the
            // window says so instead of ending.
            senzaMemoria_.store(true);
        }
        finito_.store(true);
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

Controllo controlloImportazione(Lavoro& lavoro) {
    Controllo c;
    c.annulla = &lavoro.annullamento();
    c.progresso = [&lavoro](std::uint64_t letti, std::uint64_t totale) {
        lavoro.avanza(0, letti, totale);
    };
    return c;
}

}  // namespace pliventa
