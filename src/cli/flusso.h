// Buffered output to a file descriptor: the dump writes a million lines through
// a few large writes instead of one system call per line.
#pragma once

#include <string>
#include <string_view>

#include "base/errore.h"

namespace pliventa::cli {

class Scrittore {
public:
    /// Output to `fd`, named `nome` in error messages ("standard output").
    Scrittore(int fd, std::string nome);

    /// The pending text; append to it, then call forse().
    std::string& testo() { return testo_; }

    /// Writes the pending text when it has grown past the buffer size. Returns
    /// false once a write has failed (the rest of the output is then dropped).
    bool forse();

    /// Writes everything pending. InputOutput error naming the output and the
    /// system's reason when this or an earlier write failed.
    EsitoVuoto svuota();

private:
    static constexpr std::size_t kSoglia = 1 << 20;

    int fd_;
    std::string nome_;
    std::string testo_;
    int errno_ = 0;  ///< the first failed write's errno, 0 while all went well
};

}  // namespace pliventa::cli
