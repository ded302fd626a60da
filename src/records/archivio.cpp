#include "records/archivio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <utility>

#include "base/file.h"

namespace pliventa {

namespace {

// pread until `n` bytes or the end of the file; returns bytes read or -1 (errno set).
ssize_t leggiTutto(int fd, char* dest, std::size_t n, off_t da) {
    std::size_t letti = 0;
    while (letti < n) {
        const ssize_t r = ::pread(fd, dest + letti, n - letti, da + static_cast<off_t>(letti));
        if (r < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (r == 0) {
            break;
        }
        letti += static_cast<std::size_t>(r);
    }
    return static_cast<ssize_t>(letti);
}

IdentitaFile identitaDi(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
            static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

}  // namespace

Esito<ArchivioLavoro> ArchivioLavoro::apriarchivio(const std::string& percorso) {
    const Esito<int> fd = apriInLettura(percorso);
    if (!fd) {
        return fd.errore();
    }
    struct stat st {};
    if (::fstat(*fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int e = errno;
        ::close(*fd);
        if (S_ISREG(st.st_mode)) {
            return erroreDiSistema(percorso, e);
        }
        return Errore{CodiceErrore::InputOutput, percorso,
                      "non è un file regolare: un file di lavoro si legge per numero di record"};
    }
    return ArchivioLavoro(*fd, percorso, identitaDi(st));
}

Esito<IdentitaFile> ArchivioLavoro::identitaSulDisco() const {
    struct stat st {};
    if (::stat(percorso_.c_str(), &st) != 0) {
        return erroreDiSistema(percorso_, errno);
    }
    return identitaDi(st);
}

ArchivioLavoro::ArchivioLavoro(ArchivioLavoro&& altro) noexcept
    : fd_(std::exchange(altro.fd_, -1)),
      percorso_(std::move(altro.percorso_)),
      identita_(altro.identita_) {}

ArchivioLavoro& ArchivioLavoro::operator=(ArchivioLavoro&& altro) noexcept {
    if (this != &altro) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(altro.fd_, -1);
        percorso_ = std::move(altro.percorso_);
        identita_ = altro.identita_;
    }
    return *this;
}

ArchivioLavoro::~ArchivioLavoro() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

Esito<std::uint64_t> ArchivioLavoro::lunghezza() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        return erroreDiSistema(percorso_, errno);
    }
    return static_cast<std::uint64_t>(st.st_size);
}

Esito<double> ArchivioLavoro::numerorecord() const {
    const Esito<std::uint64_t> byte = lunghezza();
    if (!byte) {
        return byte.errore();
    }
    return static_cast<double>(*byte) / static_cast<double>(Versamento::kLunghezzaRecord);
}

Esito<Versamento> ArchivioLavoro::leggirecord(double n) const {
    // The default floating-point rounding mode rounds halves to the even neighbour.
    const double numero = std::nearbyint(n);
    if (!(numero >= 1) || numero > 9.0e15) {
        return Errore{CodiceErrore::RecordInesistente, percorso_, "record inesistente"};
    }
    const auto indice = static_cast<std::uint64_t>(numero) - 1;
    char buffer[Versamento::kLunghezzaRecord];
    const ssize_t letti = leggiTutto(fd_, buffer, sizeof buffer,
                                     static_cast<off_t>(indice * Versamento::kLunghezzaRecord));
    if (letti < 0) {
        return erroreDiSistema(percorso_, errno);
    }
    if (letti == 0) {
        return Errore{CodiceErrore::RecordInesistente, percorso_, "record inesistente"};
    }
    return Versamento::daByte(std::string_view(buffer, static_cast<std::size_t>(letti)));
}

Esito<std::size_t> ArchivioLavoro::leggiblocco(std::uint64_t primo, std::size_t quanti,
                                               std::string& buffer) const {
    if (primo < 1) {
        return Errore{CodiceErrore::RecordInesistente, percorso_, "record inesistente"};
    }
    buffer.resize(quanti * Versamento::kLunghezzaRecord);
    const ssize_t letti =
        leggiTutto(fd_, buffer.data(), buffer.size(),
                   static_cast<off_t>((primo - 1) * Versamento::kLunghezzaRecord));
    if (letti < 0) {
        return erroreDiSistema(percorso_, errno);
    }
    const std::size_t interi = static_cast<std::size_t>(letti) / Versamento::kLunghezzaRecord;
    buffer.resize(interi * Versamento::kLunghezzaRecord);
    return interi;
}

}  // namespace pliventa
