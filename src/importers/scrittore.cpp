#include "importers/scrittore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "records/versamento.h"

namespace pliventa {

namespace {

constexpr std::size_t kLarghezza = Versamento::kLarghezzaDati;
constexpr std::size_t kRecord = Versamento::kLunghezzaRecord;

std::atomic<unsigned> contatoreTemporanei{0};

/// Writes all of `n` bytes, going on after short writes and interruptions.
/// Returns 0, or the errno of the failure.
int scriviTutto(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t k = ::write(fd, p, n);
        if (k < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (k == 0) {
            return EIO;
        }
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return 0;
}

/// The file a rename must replace for `percorso`: the path itself, or the file
/// a symbolic link points to (so the link stays a link).
std::string daSostituire(const std::string& percorso) {
    struct stat st {};
    if (::lstat(percorso.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* vero = ::realpath(percorso.c_str(), nullptr);
        if (vero != nullptr) {
            std::string r(vero);
            std::free(vero);
            return r;
        }
    }
    return percorso;
}

}  // namespace

Esito<ScrittoreArchivio> ScrittoreArchivio::apri(const std::string& percorso) {
    struct stat st {};
    if (::stat(percorso.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // A device or a FIFO cannot be renamed over: it is written as it is. A
        // directory fails here with the system's reason.
        const int fd = ::open(percorso.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            return erroreDiSistema(percorso, errno);
        }
        return ScrittoreArchivio(fd, percorso, percorso, {});
    }
    std::string destinazione = daSostituire(percorso);
    // The temporary file is made by open() with 0666, not mkstemp(), so that the
    // work file gets the permissions the user's umask gives any new file.
    for (int tentativo = 0; tentativo < 100; ++tentativo) {
        std::string temporaneo = destinazione + ".tmp-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(contatoreTemporanei.fetch_add(1));
        const int fd = ::open(temporaneo.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return ScrittoreArchivio(fd, percorso, std::move(destinazione), std::move(temporaneo));
        }
        if (errno != EEXIST) {
            return erroreDiSistema(percorso, errno);
        }
    }
    return erroreDiSistema(percorso, EEXIST);
}

ScrittoreArchivio::ScrittoreArchivio(int fd, std::string percorso, std::string destinazione,
                                     std::string temporaneo)
    : fd_(fd),
      percorso_(std::move(percorso)),
      destinazione_(std::move(destinazione)),
      temporaneo_(std::move(temporaneo)),
      buffer_(new char[kBuffer]) {}

ScrittoreArchivio::ScrittoreArchivio(ScrittoreArchivio&& altro) noexcept
    : fd_(std::exchange(altro.fd_, -1)),
      percorso_(std::move(altro.percorso_)),
      destinazione_(std::move(altro.destinazione_)),
      temporaneo_(std::exchange(altro.temporaneo_, {})),
      buffer_(std::move(altro.buffer_)),
      usato_(altro.usato_),
      errno_(altro.errno_),
      righe_(altro.righe_),
      completate_(altro.completate_),
      troncate_(altro.troncate_) {}

ScrittoreArchivio::~ScrittoreArchivio() {
    scarta();
}

void ScrittoreArchivio::scarta() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporaneo_.empty()) {
        ::unlink(temporaneo_.c_str());
        temporaneo_.clear();
    }
}

void ScrittoreArchivio::svuota() {
    if (usato_ > 0 && errno_ == 0) {
        errno_ = scriviTutto(fd_, buffer_.get(), usato_);
    }
    usato_ = 0;
}

void ScrittoreArchivio::scrivi(std::string_view riga) {
    if (errno_ != 0) {
        return;
    }
    if (usato_ + kRecord > kBuffer) {
        svuota();
    }
    char* p = buffer_.get() + usato_;
    const std::size_t n = std::min(riga.size(), kLarghezza);
    std::memcpy(p, riga.data(), n);
    if (n < kLarghezza) {
        std::memset(p + n, ' ', kLarghezza - n);
        ++completate_;
    } else if (riga.size() > kLarghezza) {
        ++troncate_;
    }
    p[kLarghezza] = '\r';
    p[kLarghezza + 1] = '\n';
    usato_ += kRecord;
    ++righe_;
}

EsitoVuoto ScrittoreArchivio::chiudi() {
    if (fd_ < 0) {
        return erroreDiSistema(percorso_, EBADF);
    }
    svuota();
    // close() may be the first to report a full disk on some file systems.
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 && errno_ == 0) {
        errno_ = errno;
    }
    if (errno_ == 0 && !temporaneo_.empty() &&
        ::rename(temporaneo_.c_str(), destinazione_.c_str()) != 0) {
        errno_ = errno;
    }
    if (errno_ != 0) {
        scarta();
        return erroreDiSistema(percorso_, errno_);
    }
    temporaneo_.clear();
    return Nulla{};
}

}  // namespace pliventa
