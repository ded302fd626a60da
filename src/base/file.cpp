// What the file functions of file.h do the same way on every system; the opening
// and the replacement itself are in file_posix.cpp and file_windows.cpp.
#include "base/file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "base/sistema.h"
#include "base/temporanei.h"

namespace pliventa {

namespace {

std::atomic<unsigned> contatoreTemporanei{0};

constexpr std::string_view kPrefisso = ".pliventa-";
constexpr std::string_view kSuffisso = ".tmp";

// The named temporary files a signal handler removes. Fixed slots filled without
// allocating, so that the handler reads them safely at any moment.
constexpr int kPosti = 8;
constexpr std::size_t kLunghezzaPosto = 4096;
struct Posto {
    std::atomic<int> stato{0};  ///< 0 free, 1 being filled, 2 holds a name
    char percorso[kLunghezzaPosto] = {};
};
Posto posti[kPosti];

/// This computer's name as it goes into a temporary name: a network share is seen
/// by other computers, whose process numbers mean nothing here.
std::string questoComputer() {
    std::string r;
    for (const char c : nomeComputer()) {
        if (r.size() == 64) {
            break;
        }
        const bool ammesso = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
        r += ammesso ? c : '_';
    }
    return r.empty() ? std::string("locale") : r;
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
long processoDi(std::string_view nome, std::string_view coda) {
    if (nome.substr(0, kPrefisso.size()) != kPrefisso) {
        return 0;
    }
    nome.remove_prefix(kPrefisso.size());
    const long long pid = numero(nome);
    if (pid <= 0 || pid > 0x7fffffff || nome.empty() || nome[0] != '-') {
        return 0;
    }
    nome.remove_prefix(1);
    if (numero(nome) < 0 || nome != coda) {
        return 0;
    }
    return static_cast<long>(pid);
}

}  // namespace

namespace temporanei {

unsigned prossimo() {
    return contatoreTemporanei.fetch_add(1);
}

int registra(const std::string& percorso) {
    if (percorso.size() >= kLunghezzaPosto) {
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

bool soloConNome() {
    const char* v = std::getenv("PLIVENTA_TEMPORANEI_CON_NOME");
    return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

void rimuoviAvanzi(const std::string& cartella) {
    std::string coda = "-";  // built in steps: GCC 12 warns falsely on "-" + string
    coda += questoComputer();
    coda += kSuffisso;
    const long io = numeroProcesso();
    for (const std::string& nome : nomiNellaCartella(cartella)) {
        const long pid = processoDi(nome, coda);
        if (pid > 0 && pid != io && !processoAttivo(pid)) {
            (void)rimuoviFile(unisciPercorso(cartella, nome));
        }
    }
}

}  // namespace temporanei

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
    std::string cartella = scelta.empty() ? cartellaTemporaneaDelSistema() : scelta;
    // The reason says which folder it is: the user may not know the program uses one.
    const auto inutilizzabile = [&cartella](std::string motivo) {
        return Errore{CodiceErrore::InputOutput, cartella,
                      "cartella dei file temporanei: " + std::move(motivo)};
    };
    StatoFile st;
    if (!statoPercorso(cartella, st)) {
        return inutilizzabile(motivoDiSistema(errno));
    }
    if (st.tipo != TipoFile::Cartella) {
        // The system's text for ENOTDIR speaks of a component of a path.
        return inutilizzabile("non è una directory");
    }
    if (!cartellaScrivibile(cartella)) {
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
            rimuoviFileSubito(p.percorso);
        }
    }
    errno = prima;
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
        (void)chiudiDescrittore(std::exchange(fd_, -1));
    }
    if (!temporaneo_.empty()) {
        (void)rimuoviFile(temporaneo_);
        temporaneo_.clear();
    }
    temporanei::libera(posto_);
}

}  // namespace pliventa
