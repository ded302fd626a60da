// A FIFO that no program writes: what a reader waits on for ever if it waits at
// all. A guard keeps such a wait from hanging the test.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "righe.h"

namespace pliventa::test {

/// A FIFO `nome` in `dir`. Should a reader still be waiting on it after `limite`,
/// the guard opens it for writing and closes it again: the reader then meets the
/// end of the input, and sbloccato() tells the test that it had waited.
class FifoSenzaScrittore {
public:
    FifoSenzaScrittore(const CartellaTemporanea& dir, std::string_view nome,
                       std::chrono::milliseconds limite = std::chrono::seconds(5));
    /// Stops the guard.
    ~FifoSenzaScrittore();
    FifoSenzaScrittore(const FifoSenzaScrittore&) = delete;
    FifoSenzaScrittore& operator=(const FifoSenzaScrittore&) = delete;

    const std::string& percorso() const { return percorso_; }
    /// True when the guard had to release a reader.
    bool sbloccato() const { return sbloccato_.load(); }

private:
    std::string percorso_;
    std::atomic<bool> fine_{false};
    std::atomic<bool> sbloccato_{false};
    std::thread guardia_;
};

}  // namespace pliventa::test
