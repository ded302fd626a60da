#include "cli/flusso.h"

#include "base/sistema.h"

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
    if (errno_ == 0 && !scriviDescrittore(fd_, testo_.data(), testo_.size())) {
        errno_ = errno;
    }
    testo_.clear();
    if (errno_ != 0) {
        return erroreDiSistema(nome_, errno_);
    }
    return Nulla{};
}

}  // namespace pliventa::cli
