// A FIFO that no program writes, with a guard that keeps a reader waiting on it
// from hanging the test.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "righe.h"

namespace pliventa::test {

/// The FIFO `nome` in `dir`. A reader still waiting on it after `limite` is let
/// go: the guard opens the FIFO for writing and closes it, and sbloccato() says so.
class FifoSenzaScrittore {
public:
    FifoSenzaScrittore(const CartellaTemporanea& dir, const char* nome,
                       std::chrono::milliseconds limite = std::chrono::seconds(5))
        : percorso_(dir.file(nome)) {
        if (::mkfifo(percorso_.c_str(), 0600) != 0) {
            throw std::runtime_error("mkfifo " + percorso_);
        }
        guardia_ = std::thread([this, fine = std::chrono::steady_clock::now() + limite] {
            while (!fine_ && std::chrono::steady_clock::now() < fine) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            // Told first, before the reader goes on; the open succeeds only while a
            // reader has the FIFO open or waits in its open().
            sbloccato_ = !fine_;
            const int fd = fine_ ? -1 : ::open(percorso_.c_str(), O_WRONLY | O_NONBLOCK);
            sbloccato_ = fd >= 0;
            if (fd >= 0) {
                ::close(fd);
            }
        });
    }
    ~FifoSenzaScrittore() {
        fine_ = true;
        guardia_.join();
    }

    const std::string& percorso() const { return percorso_; }
    bool sbloccato() const { return sbloccato_; }

private:
    std::string percorso_;
    std::atomic<bool> fine_{false};
    std::atomic<bool> sbloccato_{false};
    std::thread guardia_;
};

}  // namespace pliventa::test
