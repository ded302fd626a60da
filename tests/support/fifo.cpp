#include "fifo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace pliventa::test {

FifoSenzaScrittore::FifoSenzaScrittore(const CartellaTemporanea& dir, std::string_view nome,
                                       std::chrono::milliseconds limite)
    : percorso_(dir.file(nome)) {
    if (::mkfifo(percorso_.c_str(), 0600) != 0) {
        throw std::runtime_error("mkfifo " + percorso_);
    }
    guardia_ = std::thread([this, fine = std::chrono::steady_clock::now() + limite] {
        while (!fine_.load() && std::chrono::steady_clock::now() < fine) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (fine_.load()) {
            return;
        }
        // Told before the reader can go on. The open succeeds only while a reader
        // has the FIFO open, or waits in its open().
        sbloccato_.store(true);
        const int fd = ::open(percorso_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) {
            sbloccato_.store(false);
        } else {
            ::close(fd);
        }
    });
}

FifoSenzaScrittore::~FifoSenzaScrittore() {
    fine_.store(true);
    guardia_.join();
}

}  // namespace pliventa::test
