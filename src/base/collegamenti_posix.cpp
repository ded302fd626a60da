#include "base/collegamenti.h"

#include <limits.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace pliventa {

namespace {

// Links followed at most on the way to a file, as the system allows.
constexpr int kMassimoCollegamenti = 40;

/// Puts the components of `percorso` on top of `resto`, the first one last (the
/// next to be walked); empty ones and "." are dropped.
void aggiungiComponenti(std::vector<std::string>& resto, std::string_view percorso) {
    std::vector<std::string> nuovi;
    while (!percorso.empty()) {
        const std::size_t barra = percorso.find('/');
        const std::string_view c = percorso.substr(0, barra);
        if (!c.empty() && c != ".") {
            nuovi.emplace_back(c);
        }
        percorso.remove_prefix(barra == std::string_view::npos ? percorso.size() : barra + 1);
    }
    resto.insert(resto.end(), std::make_move_iterator(nuovi.rbegin()),
                 std::make_move_iterator(nuovi.rend()));
}

/// `cartella` followed by `nome`; "" is the current folder.
std::string unisci(const std::string& cartella, const std::string& nome) {
    if (cartella.empty()) {
        return nome;
    }
    return cartella.back() == '/' ? cartella + nome : cartella + "/" + nome;
}

/// The folder above `cartella`, whose components are no links.
std::string padre(const std::string& cartella) {
    if (cartella == "/") {
        return cartella;
    }
    if (cartella.empty() || cartella == ".." ||
        (cartella.size() >= 3 && cartella.compare(cartella.size() - 3, 3, "/..") == 0)) {
        return unisci(cartella, "..");
    }
    const std::size_t barra = cartella.rfind('/');
    if (barra == std::string::npos) {
        return {};
    }
    return barra == 0 ? std::string("/") : cartella.substr(0, barra);
}

/// True when `cartella` holds the open descriptors of a process (/proc/PID/fd):
/// its links are files some program holds open, not names.
bool cartellaDescrittori(const std::string& cartella) {
    const std::size_t barra = cartella.rfind('/');
    struct statfs fs {};
    return cartella.compare(barra == std::string::npos ? 0 : barra + 1, std::string::npos, "fd") ==
               0 &&
           ::statfs(cartella.c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

/// The rule the system applies when it opens a path: in a folder that everyone may
/// write in and that keeps each name to its owner (mode 1777, like /tmp), a
/// symbolic link is followed only when it belongs to this user or to the folder's
/// owner. Anyone else's link there may have been planted to turn this user's
/// writing onto a file of his; it is refused, naming `nome`, the link.
EsitoVuoto seguibile(const std::string& cartella, const struct stat& collegamento,
                     const std::string& nome) {
    struct stat c {};
    if (::stat(cartella.empty() ? "." : cartella.c_str(), &c) != 0) {
        return erroreDiSistema(nome, errno);
    }
    const bool condivisa = (c.st_mode & S_ISVTX) != 0 && (c.st_mode & S_IWOTH) != 0;
    if (!condivisa || collegamento.st_uid == ::geteuid() || collegamento.st_uid == c.st_uid) {
        return Nulla{};
    }
    return Errore{CodiceErrore::InputOutput, nome,
                  "collegamento simbolico di un altro utente in una cartella condivisa: non "
                  "viene seguito"};
}

/// An output that is an open descriptor (/dev/stdout, /dev/fd/N, reached as the
/// link `qui`): a stream when it is no regular file; when it is one, the shell
/// opened it (perhaps to append to it), and replacing it would lose what it held.
Esito<Bersaglio> descrittoreAperto(const std::string& percorso, const std::string& qui) {
    struct stat aperto {};
    if (::stat(qui.c_str(), &aperto) != 0) {
        return erroreDiSistema(percorso, errno);
    }
    if (S_ISREG(aperto.st_mode)) {
        return Errore{CodiceErrore::Uso, percorso,
                      "l'uscita è un file aperto dalla shell; indicare un nome di file"};
    }
    return Bersaglio{percorso, true};
}

/// The walk along an output's path, one component at a time, following its
/// symbolic links by hand so that seguibile() holds for each of them.
class Cammino {
public:
    explicit Cammino(const std::string& percorso)
        : percorso_(percorso), fatto_(percorso.starts_with('/') ? "/" : "") {
        aggiungiComponenti(resto_, percorso);
    }

    Esito<Bersaglio> percorri() {
        while (!resto_.empty()) {
            const std::string componente = std::move(resto_.back());
            resto_.pop_back();
            if (componente == "..") {
                fatto_ = padre(fatto_);
                continue;
            }
            std::string qui = unisci(fatto_, componente);
            struct stat st {};
            if (::lstat(qui.c_str(), &st) != 0) {
                return mancante(std::move(qui), errno);
            }
            if (!S_ISLNK(st.st_mode)) {
                fatto_ = std::move(qui);
                continue;
            }
            Esito<std::optional<Bersaglio>> fine = segui(qui, st);
            if (!fine) {
                return fine.errore();
            }
            if (*fine) {
                return std::move(**fine);
            }
        }
        return arrivo();
    }

private:
    /// The walk's end: the output itself when no link was followed.
    Bersaglio arrivo() const {
        if (!seguito_) {
            return Bersaglio{percorso_};
        }
        return Bersaglio{fatto_.empty() ? std::string(".") : fatto_};
    }

    /// `qui` could not be looked at (errno `e`): a new file when it does not exist
    /// and is the last component, unless a link led there.
    Esito<Bersaglio> mancante(std::string qui, int e) {
        if (e != ENOENT || !resto_.empty()) {
            return erroreDiSistema(percorso_, e);
        }
        if (ultimoCollegamento_) {
            return Errore{CodiceErrore::InputOutput, percorso_,
                          "il collegamento simbolico non porta a nessun file"};
        }
        fatto_ = std::move(qui);
        return arrivo();
    }

    /// Follows the link `qui` of folder fatto_; the end of the walk when it is a
    /// descriptor of this process.
    Esito<std::optional<Bersaglio>> segui(const std::string& qui, const struct stat& st) {
        if (++collegamenti_ > kMassimoCollegamenti) {
            return erroreDiSistema(percorso_, ELOOP);
        }
        if (EsitoVuoto e = seguibile(fatto_, st, qui); !e) {
            return e.errore();
        }
        if (resto_.empty() && cartellaDescrittori(fatto_)) {
            Esito<Bersaglio> b = descrittoreAperto(percorso_, qui);
            if (!b) {
                return b.errore();
            }
            return std::optional<Bersaglio>(std::move(*b));
        }
        std::string destinazione(PATH_MAX, '\0');
        const ssize_t n = ::readlink(qui.c_str(), destinazione.data(), destinazione.size());
        if (n < 0) {
            return erroreDiSistema(percorso_, errno);
        }
        destinazione.resize(static_cast<std::size_t>(n));
        if (destinazione.starts_with('/')) {
            fatto_ = "/";
        }
        ultimoCollegamento_ = ultimoCollegamento_ || resto_.empty();
        aggiungiComponenti(resto_, destinazione);
        seguito_ = true;
        return std::optional<Bersaglio>();
    }

    const std::string& percorso_;
    std::vector<std::string> resto_;  ///< components still to walk, the next one last
    std::string fatto_;               ///< the folder reached, its links followed; "" is "."
    bool seguito_ = false;
    bool ultimoCollegamento_ = false;  ///< the last component came from a link
    int collegamenti_ = 0;
};

}  // namespace

Esito<Bersaglio> daSostituire(const std::string& percorso) {
    return Cammino(percorso).percorri();
}

}  // namespace pliventa
