#include "base/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "base/collegamenti.h"

namespace pliventa {

namespace {

std::atomic<unsigned> contatoreTemporanei{0};

constexpr std::string_view kPrefisso = ".pliventa-";
constexpr std::string_view kSuffisso = ".tmp";
constexpr int kTentativi = 100;

// The named temporary files a signal handler removes. Fixed slots filled without
// allocating, so that the handler reads them safely at any moment.
constexpr int kPosti = 8;
struct Posto {
    std::atomic<int> stato{0};  ///< 0 free, 1 being filled, 2 holds a name
    char percorso[PATH_MAX] = {};
};
Posto posti[kPosti];

/// Takes a slot for `percorso`; -1 when none is free or the path does not fit.
int registra(const std::string& percorso) {
    if (percorso.size() >= sizeof posti[0].percorso) {
        return -1;
    }
    for (int i = 0; i < kPosti; ++i) {
        int libero = 0;
        if (posti[i].stato.compare_exchange_strong(libero, 1)) {
            std::memcpy(posti[i].percorso, percorso.c_str(), percorso.size() + 1);
            posti[i].stato.store(2);
            return i;
        }
    }
    return -1;
}

void libera(int& posto) {
    if (posto >= 0) {
        posti[posto].stato.store(0);
        posto = -1;
    }
}

/// This computer's name as it goes into a temporary name: a network share is seen
/// by other computers, whose process numbers mean nothing here.
std::string questoComputer() {
    char nome[256] = {};
    std::string r;
    if (::gethostname(nome, sizeof nome - 1) == 0) {
        for (const char* p = nome; *p != '\0' && r.size() < 64; ++p) {
            const char c = *p;
            const bool ammesso = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                 (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
            r += ammesso ? c : '_';
        }
    }
    return r.empty() ? std::string("locale") : r;
}

bool soloConNome() {
    const char* v = std::getenv("PLIVENTA_TEMPORANEI_CON_NOME");
    return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

std::string cartellaDi(const std::string& percorso) {
    const std::size_t i = percorso.rfind('/');
    if (i == std::string::npos) {
        return ".";
    }
    return i == 0 ? std::string("/") : percorso.substr(0, i);
}

/// Reads the digits at the start of `s` (at most 10) and drops them; -1 when none.
long long numero(std::string_view& s) {
    // Unsigned, so that a leading "-" is no number; ten digits always fit.
    unsigned long long n = 0;
    const auto [fine, ec] =
        std::from_chars(s.data(), s.data() + std::min<std::size_t>(s.size(), 10), n);
    if (ec != std::errc()) {
        return -1;
    }
    s.remove_prefix(static_cast<std::size_t>(fine - s.data()));
    return static_cast<long long>(n);
}

/// The process that made the temporary file `nome` of this computer; 0 when
/// `nome` is not one.
pid_t processoDi(std::string_view nome, std::string_view coda) {
    if (nome.substr(0, kPrefisso.size()) != kPrefisso) {
        return 0;
    }
    nome.remove_prefix(kPrefisso.size());
    const long long pid = numero(nome);
    if (pid <= 0 || pid > INT_MAX || nome.empty() || nome[0] != '-') {
        return 0;
    }
    nome.remove_prefix(1);
    if (numero(nome) < 0 || nome != coda) {
        return 0;
    }
    return static_cast<pid_t>(pid);
}

/// Removes from `cartella` the temporary files left by processes of this computer
/// that are gone (killed before they could remove them). A process that still
/// runs, or that this user may not signal, keeps its file.
void rimuoviAvanzi(const std::string& cartella) {
    DIR* d = ::opendir(cartella.c_str());
    if (d == nullptr) {
        return;  // the creation that follows reports what is wrong with the folder
    }
    std::string coda = "-";  // built in steps: GCC 12 warns falsely on "-" + string
    coda += questoComputer();
    coda += kSuffisso;
    const pid_t io = ::getpid();
    while (const dirent* voce = ::readdir(d)) {
        const pid_t pid = processoDi(voce->d_name, coda);
        if (pid > 0 && pid != io && ::kill(pid, 0) == -1 && errno == ESRCH) {
            ::unlinkat(::dirfd(d), voce->d_name, 0);
        }
    }
    ::closedir(d);
}

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

bool stessoFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

EsitoVuoto uscitaDistinta(const std::string& ingresso, const std::string& uscita,
                          std::string_view cosa) {
    if (!stessoFile(ingresso, uscita)) {
        return Nulla{};
    }
    std::string motivo = "è ";
    motivo += cosa;
    motivo += " \"" + ingresso + "\": l'uscita deve essere un altro file";
    return Errore{CodiceErrore::Uso, uscita, std::move(motivo)};
}

Esito<std::string> cartellaTemporanea(const std::string& scelta) {
    std::string cartella = scelta;
    if (cartella.empty()) {
        const char* tmpdir = std::getenv("TMPDIR");
        cartella = tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
    }
    // The reason says which folder it is: the user may not know the program uses one.
    const auto inutilizzabile = [&cartella](std::string motivo) {
        return Errore{CodiceErrore::InputOutput, cartella,
                      "cartella dei file temporanei: " + std::move(motivo)};
    };
    struct stat st {};
    if (::stat(cartella.c_str(), &st) != 0) {
        return inutilizzabile(motivoDiSistema(errno));
    }
    if (!S_ISDIR(st.st_mode)) {
        // The system's text for ENOTDIR speaks of a component of a path.
        return inutilizzabile("non è una directory");
    }
    if (::access(cartella.c_str(), W_OK | X_OK) != 0) {
        return inutilizzabile(motivoDiSistema(errno));
    }
    return cartella;
}

std::string nomeTemporaneo(long pid, unsigned numero) {
    return std::string(kPrefisso) + std::to_string(pid) + "-" + std::to_string(numero) + "-" +
           questoComputer() + std::string(kSuffisso);
}

void rimuoviTemporaneiAperti() noexcept {
    const int prima = errno;
    for (Posto& p : posti) {
        if (p.stato.load() == 2) {
            ::unlink(p.percorso);
        }
    }
    errno = prima;
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
    s.cartella_ = cartellaDi(s.vero_);
    rimuoviAvanzi(s.cartella_);

#ifdef O_TMPFILE
    if (!soloConNome()) {
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
            s.cartella_ + "/" + nomeTemporaneo(::getpid(), contatoreTemporanei.fetch_add(1));
        s.posto_ = registra(s.temporaneo_);
        s.fd_ = ::open(s.temporaneo_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (s.fd_ >= 0) {
            s.nome_ = s.temporaneo_;
            return s;
        }
        const int e = errno;
        s.temporaneo_.clear();  // not ours
        libera(s.posto_);
        if (e != EEXIST) {
            return erroreDiSistema(percorso, e);
        }
    }
    return erroreDiSistema(percorso, EEXIST);
}

Sostituzione::Sostituzione(Sostituzione&& altro) noexcept
    : percorso_(std::move(altro.percorso_)),
      vero_(std::move(altro.vero_)),
      cartella_(std::move(altro.cartella_)),
      nome_(std::move(altro.nome_)),
      temporaneo_(std::exchange(altro.temporaneo_, {})),
      fd_(std::exchange(altro.fd_, -1)),
      posto_(std::exchange(altro.posto_, -1)),
      anonimo_(altro.anonimo_),
      inPosto_(altro.inPosto_) {}

Sostituzione::~Sostituzione() {
    scarta();
}

void Sostituzione::scarta() {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporaneo_.empty()) {
        ::unlink(temporaneo_.c_str());
        temporaneo_.clear();
    }
    libera(posto_);
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
                cartella_ + "/" + nomeTemporaneo(::getpid(), contatoreTemporanei.fetch_add(1));
            posto_ = registra(temporaneo);
            if (::linkat(AT_FDCWD, nome_.c_str(), AT_FDCWD, temporaneo.c_str(),
                         AT_SYMLINK_FOLLOW) == 0) {
                temporaneo_ = std::move(temporaneo);
                e = 0;
            } else {
                e = errno;
                libera(posto_);
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
    libera(posto_);
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
