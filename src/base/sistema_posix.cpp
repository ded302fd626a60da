// The functions of sistema.h on Linux and the other POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/sistema.h"

namespace pliventa {

namespace {

void comeStato(const struct stat& st, StatoFile& stato) {
    stato.tipo = S_ISREG(st.st_mode)   ? TipoFile::Regolare
                 : S_ISDIR(st.st_mode) ? TipoFile::Cartella
                                       : TipoFile::Altro;
    stato.identita = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                      static_cast<std::uint64_t>(st.st_size),
                      static_cast<std::int64_t>(st.st_mtim.tv_sec),
                      static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

}  // namespace

bool statoPercorso(const std::string& percorso, StatoFile& stato) {
    struct stat st {};
    if (::stat(percorso.c_str(), &st) != 0) {
        return false;
    }
    comeStato(st, stato);
    return true;
}

bool statoDescrittore(int fd, StatoFile& stato) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    comeStato(st, stato);
    return true;
}

bool stessoFile(const std::string& a, const std::string& b) {
    StatoFile sa, sb;
    return statoPercorso(a, sa) && statoPercorso(b, sb) &&
           sa.identita.dispositivo == sb.identita.dispositivo &&
           sa.identita.inode == sb.identita.inode;
}

long long leggiDescrittore(int fd, void* dest, std::size_t n) {
    for (;;) {
        const ssize_t r = ::read(fd, dest, n);
        if (r >= 0 || errno != EINTR) {
            return r;
        }
    }
}

long long leggiDallaPosizione(int fd, void* dest, std::size_t n, std::uint64_t da) {
    char* p = static_cast<char*>(dest);
    std::size_t letti = 0;
    while (letti < n) {
        const ssize_t r = ::pread(fd, p + letti, n - letti, static_cast<off_t>(da + letti));
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
    return static_cast<long long>(letti);
}

bool scriviDescrittore(int fd, const void* dati, std::size_t n) {
    const char* p = static_cast<const char*>(dati);
    while (n > 0) {
        const ssize_t k = ::write(fd, p, n);
        if (k < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

bool chiudiDescrittore(int fd) {
    return ::close(fd) == 0;
}

int attendiDati(int fd, int millisecondi) {
    pollfd p{fd, POLLIN, 0};
    const int pronti = ::poll(&p, 1, millisecondi);
    if (pronti < 0 && errno == EINTR) {
        return 0;
    }
    return pronti > 0 ? 1 : pronti;
}

void letturaSequenziale([[maybe_unused]] int fd) {
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
}

bool terminale(int fd) {
    return ::isatty(fd) == 1;
}

std::tm oraLocale(std::time_t t) {
    std::tm r{};
    ::localtime_r(&t, &r);
    return r;
}

std::string nomeComputer() {
    char nome[256] = {};
    if (::gethostname(nome, sizeof nome - 1) != 0) {
        return {};
    }
    return nome;
}

long numeroProcesso() {
    return static_cast<long>(::getpid());
}

bool processoAttivo(long pid) {
    return !(::kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH);
}

std::vector<std::string> nomiNellaCartella(const std::string& cartella) {
    std::vector<std::string> nomi;
    DIR* d = ::opendir(cartella.c_str());
    if (d == nullptr) {
        return nomi;
    }
    while (const dirent* voce = ::readdir(d)) {
        const std::string_view nome = voce->d_name;
        if (nome != "." && nome != "..") {
            nomi.emplace_back(nome);
        }
    }
    ::closedir(d);
    return nomi;
}

bool rimuoviFile(const std::string& percorso) {
    return ::unlink(percorso.c_str()) == 0;
}

void rimuoviFileSubito(const char* percorso) noexcept {
    ::unlink(percorso);
}

std::string unisciPercorso(const std::string& cartella, const std::string& nome) {
    if (cartella.empty()) {
        return nome;
    }
    return cartella.back() == '/' ? cartella + nome : cartella + "/" + nome;
}

std::size_t fineCartella(std::string_view percorso) {
    return percorso.rfind('/');
}

std::string cartellaDelPercorso(const std::string& percorso) {
    const std::size_t i = percorso.rfind('/');
    if (i == std::string::npos) {
        return ".";
    }
    return i == 0 ? std::string("/") : percorso.substr(0, i);
}

std::string cartellaTemporaneaDelSistema() {
    const char* tmpdir = std::getenv("TMPDIR");
    return tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
}

bool cartellaScrivibile(const std::string& cartella) {
    return ::access(cartella.c_str(), W_OK | X_OK) == 0;
}

namespace {

locale_t localeC() {
    // Made once and never freed: every thread of the program may use it.
    static const locale_t c = ::newlocale(LC_NUMERIC_MASK, "C", ::duplocale(LC_GLOBAL_LOCALE));
    return c;
}

void (*azioneAllaFine)() noexcept = nullptr;

/// Runs the action, then lets the signal do what it would have done (SIGQUIT its
/// core dump too), so that the caller sees the program killed by it.
void allaFine(int segnale) {
    if (azioneAllaFine != nullptr) {
        azioneAllaFine();
    }
    ::signal(segnale, SIG_DFL);
    ::raise(segnale);
}

}  // namespace

NumeriC::NumeriC() : precedente_(::uselocale(localeC())) {}

NumeriC::~NumeriC() {
    ::uselocale(static_cast<locale_t>(precedente_));
}

void allaTerminazione(void (*azione)() noexcept) {
    azioneAllaFine = azione;
    for (const int segnale : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction prima {};
        if (::sigaction(segnale, nullptr, &prima) == 0 && prima.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction azioneSegnale {};
        azioneSegnale.sa_handler = allaFine;
        sigemptyset(&azioneSegnale.sa_mask);
        ::sigaction(segnale, &azioneSegnale, nullptr);
    }
}

void flussiStandardInBinario() {}

std::vector<std::string> argomentiDelProgramma(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace pliventa
