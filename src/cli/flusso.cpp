#include "cli/flusso.h"

#include <unistd.h>

#include <cerrno>

namespace pliventa::cli {

Scrittore::Scrittore(int fd, std::string nome) : fd_(fd), nome_(std::move(nome)) {
    testo_.reserve(kSoglia + 4096);
}

bool Scrittore::forse() {
    if (testo_.size() >= kSoglia) {
        static_cast<void>(svuota());  // a failure stays in errno_, told below
    }
    return errno_ == 0;
}

EsitoVuoto Scrittore::svuota() {
    std::size_t scritti = 0;
    while (errno_ == 0 && scritti < testo_.size()) {
        const ssize_t n = ::write(fd_, testo_.data() + scritti, testo_.size() - scritti);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            errno_ = errno;
        } else {
            scritti += static_cast<std::size_t>(n);
        }
    }
    testo_.clear();
    if (errno_ != 0) {
        return erroreDiSistema(nome_, errno_);
    }
    return Nulla{};
}

}  // namespace pliventa::cli
