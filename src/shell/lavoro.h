// The one runner of the window's long work (an import, the conversion, the export,
// the summary and checks passes, the list's filter): the task runs on a thread of
// its own, the window follows it through signals on its own thread and may ask it
// to stop.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

#include "base/errore.h"
#include "importers/importazione.h"
#include "records/scansione.h"

namespace pliventa {

class Lavoro : public QObject {
    Q_OBJECT

public:
    /// What the work reports: its stage (an index into the caller's texts), how
    /// much of it is done and of how much (0 of 0: it cannot tell).
    struct Stato {
        int fase = 0;
        std::uint64_t fatti = 0;
        std::uint64_t totale = 0;
    };

    /// The work to do: `compito` runs on its own thread once avvia() is called,
    /// reports through avanza() and looks at annullato() (or annullamento()). A
    /// std::bad_alloc thrown by it ends the work, and interruzione() tells.
    explicit Lavoro(std::function<void(Lavoro&)> compito, QObject* genitore = nullptr);
    /// Asks the work to stop and waits for it to end.
    ~Lavoro() override;
    Lavoro(const Lavoro&) = delete;
    Lavoro& operator=(const Lavoro&) = delete;

    /// Starts the work; once only. The signals come on the calling thread.
    void avvia();
    /// Waits until the work has ended (at once when it never started).
    void aspetta();
    /// True once the work has ended.
    bool finito() const { return finito_.load(); }
    /// Once the work has ended: why its task stopped before its end, an
    /// InputOutput error "memoria insufficiente"; nullopt when the task ended.
    std::optional<Errore> interruzione() const;

    /// Asks the work to stop; it decides when.
    void annulla() { annulla_.store(true); }
    bool annullato() const { return annulla_.load(); }
    /// The flag annulla() sets, for the core's routines.
    const std::atomic<bool>& annullamento() const { return annulla_; }

    void avanza(int fase, std::uint64_t fatti, std::uint64_t totale);
    Stato stato() const;

    /// The cancel flag and the progress of this work as the core's long work takes
    /// them; the stages it tells are this work's stages.
    Controllo controllo();

    /// How often avanzato() is sent while the work runs.
    static constexpr int kIntervalloMs = 100;

signals:
    /// Every kIntervalloMs while the work runs, with what it reported last.
    void avanzato(pliventa::Lavoro::Stato stato);
    /// Once, when the work has ended.
    void terminato();

private:
    std::function<void(Lavoro&)> compito_;
    std::thread filo_;
    QTimer battito_;
    std::atomic<bool> finito_{false};
    std::atomic<bool> senzaMemoria_{false};
    std::atomic<bool> annulla_{false};
    std::atomic<int> fase_{0};
    std::atomic<std::uint64_t> fatti_{0};
    std::atomic<std::uint64_t> totale_{0};
};

/// Once `lavoro` has ended, the result its task left in `esito`; when the task
/// was stopped before giving one, the error that stopped it.
template <typename T>
Esito<T> esitoDi(const Lavoro& lavoro, std::optional<Esito<T>>&& esito) {
    if (esito) {
        return std::move(*esito);
    }
    if (std::optional<Errore> e = lavoro.interruzione()) {
        return std::move(*e);
    }
    return Errore{CodiceErrore::InputOutput, {}, "operazione interrotta"};
}

}  // namespace pliventa
