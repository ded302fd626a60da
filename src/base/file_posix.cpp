// The opening of an input and the replacement of an output on Linux and the other
// POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "base/collegamenti.h"
#include "base/file.h"
#include "base/sistema.h"
#include "base/temporanei.h"

namespace pliventa {

namespace {

constexpr int kTentativi = 100;

}  // namespace

Esito<int> apriInLettura(const std::string& percorso) {
    // Without waiting: opening a FIFO that no program writes would block until one
    // does, out of reach of any cancel.
    const int fd = ::open(percorso.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return erroreDiSistema(percorso, errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return erroreDiSistema(percorso, e);
    }
    if (S_ISREG(st.st_mode)) {
        (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

Esito<Sostituzione> Sostituzione::prepara(const std::string& percorso, bool descrittore) {
    Esito<Bersaglio> bersaglio = daSostituire(percorso);
    if (!bersaglio) {
        return bersaglio.errore();
    }
    std::string& vero = bersaglio->vero;
    Sostituzione s;
    s.percorso_ = percorso;
    struct stat st {};
    if (bersaglio->flusso || (::stat(vero.c_str(), &st) == 0 && !S_ISREG(st.st_mode))) {
        if (!bersaglio->flusso && S_ISDIR(st.st_mode)) {
            return erroreDiSistema(percorso, EISDIR);
        }
        // A device, a FIFO or a pipe cannot be renamed over: it is written as it is.
        s.inPosto_ = true;
        s.vero_ = vero;
        s.nome_ = vero;
        if (descrittore) {
            s.fd_ = ::open(vero.c_str(), O_WRONLY | O_CLOEXEC);
            if (s.fd_ < 0) {
                return erroreDiSistema(percorso, errno);
            }
        }
        return s;
    }
    s.vero_ = std::move(vero);
    s.cartella_ = cartellaDelPercorso(s.vero_);
    temporanei::rimuoviAvanzi(s.cartella_);

#ifdef O_TMPFILE
    if (!temporanei::soloConNome()) {
        // Made with mode 0666, so that the finished file gets the permissions the
        // user's umask gives any new file.
        s.fd_ = ::open(s.cartella_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (s.fd_ >= 0) {
            s.nome_ = "/proc/self/fd/" + std::to_string(s.fd_);
            struct stat visto {};
            if (::stat(s.nome_.c_str(), &visto) == 0) {
                s.anonimo_ = true;
                return s;
            }
            // Without /proc the file could never be given a name.
            ::close(std::exchange(s.fd_, -1));
        } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return erroreDiSistema(percorso, errno);
        }
    }
#endif
    for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
        // Known to the signal handler and to the destructor before it exists:
        // there is no moment when a signal or an exception could leave it behind.
        s.temporaneo_ =
            s.cartella_ + "/" + nomeTemporaneo(numeroProcesso(), temporanei::prossimo());
        s.posto_ = temporanei::registra(s.temporaneo_);
        s.fd_ = ::open(s.temporaneo_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (s.fd_ >= 0) {
            s.nome_ = s.temporaneo_;
            return s;
        }
        const int e = errno;
        s.temporaneo_.clear();  // not ours
        temporanei::libera(s.posto_);
        if (e != EEXIST) {
            return erroreDiSistema(percorso, e);
        }
    }
    return erroreDiSistema(percorso, EEXIST);
}

namespace {

/// Gives the new file `fd` the owner, group and permissions of `vecchio`, the
/// file it replaces, as far as this user may. Returns 0 or the errno of a
/// failure that matters.
int comeIlVecchio(int fd, const struct stat& vecchio) {
    // Only root may give a file away; any user may give it one of his groups.
    // chown clears the set-user-ID bits, so it comes first.
    if (::fchown(fd, vecchio.st_uid, vecchio.st_gid) != 0) {
        (void)::fchown(fd, static_cast<uid_t>(-1), vecchio.st_gid);
    }
    if (::fchmod(fd, vecchio.st_mode & 07777) != 0 && errno != EPERM && errno != ENOTSUP &&
        errno != EINVAL) {
        return errno;  // a file system without permissions keeps its own
    }
    return 0;
}

}  // namespace

EsitoVuoto Sostituzione::completa() {
    if (inPosto_) {
        if (fd_ >= 0 && ::close(std::exchange(fd_, -1)) != 0) {
            return erroreDiSistema(percorso_, errno);
        }
        return Nulla{};
    }
    if (fd_ < 0) {
        return erroreDiSistema(percorso_, EBADF);  // completed or discarded already
    }
    const auto fallito = [this](int e) -> EsitoVuoto {
        scarta();
        return erroreDiSistema(percorso_, e);
    };
    struct stat vecchio {};
    if (::stat(vero_.c_str(), &vecchio) == 0 && S_ISREG(vecchio.st_mode)) {
        if (const int e = comeIlVecchio(fd_, vecchio); e != 0) {
            return fallito(e);
        }
    }
    // On the disk before it is renamed: a power cut must find the old file or the
    // new one whole, never an empty one.
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        return fallito(errno);
    }
    if (anonimo_) {
        // A file without a name gets a short one first: link() cannot replace a file.
        int e = EEXIST;
        for (int tentativo = 0; tentativo < kTentativi && e == EEXIST; ++tentativo) {
            std::string temporaneo =
                cartella_ + "/" + nomeTemporaneo(numeroProcesso(), temporanei::prossimo());
            posto_ = temporanei::registra(temporaneo);
            if (::linkat(AT_FDCWD, nome_.c_str(), AT_FDCWD, temporaneo.c_str(),
                         AT_SYMLINK_FOLLOW) == 0) {
                temporaneo_ = std::move(temporaneo);
                e = 0;
            } else {
                e = errno;
                temporanei::libera(posto_);
            }
        }
        if (e != 0) {
            return fallito(e);
        }
    }
    // close() may be the first to report a full disk on some file systems.
    if (::close(std::exchange(fd_, -1)) != 0) {
        return fallito(errno);
    }
    if (::rename(temporaneo_.c_str(), vero_.c_str()) != 0) {
        return fallito(errno);
    }
    temporaneo_.clear();
    temporanei::libera(posto_);
    // The rename on the disk too. The new file is in place whatever happens here:
    // a folder that cannot be opened or synced is not reported as a failure.
    const int cartella = ::open(cartella_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (cartella >= 0) {
        (void)::fsync(cartella);
        ::close(cartella);
    }
    return Nulla{};
}

}  // namespace pliventa
