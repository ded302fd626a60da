// How the caller follows long work and stops it: every import, the conversion and
// every pass over a work file take one, so the window and the command line drive
// them all alike.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace pliventa {

/// What the caller learns while long work runs, and how it stops it.
struct Controllo {
    /// Called now and then with the work done and its total (records, or bytes of
    /// an input); from one thread at a time.
    std::function<void(std::uint64_t fatti, std::uint64_t totale)> progresso;
    /// Set by the caller to stop; checked between blocks.
    const std::atomic<bool>* annulla = nullptr;

    /// For work done in stages (an export: totals, rows, packing): called as stage
    /// `fase` (0 the first) begins; the progress told after it is that stage's.
    std::function<void(unsigned fase)> nuovaFase;

    bool annullato() const {
        return annulla != nullptr && annulla->load(std::memory_order_relaxed);
    }
    void avanza(std::uint64_t fatti, std::uint64_t totale) const {
        if (progresso) {
            progresso(fatti, totale);
        }
    }
    void fase(unsigned f) const {
        if (nuovaFase) {
            nuovaFase(f);
        }
    }
};

}  // namespace pliventa
