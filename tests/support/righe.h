// Test helpers: payment lines built field by field, and scratch folders.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "records/versamento.h"

namespace pliventa::test {

/// A 200-character payment line (no line end), blank-filled, built by setting
/// fields; every setter returns *this so lines read as one expression.
class RigaVersamento {
public:
    RigaVersamento() : testo_(200, ' ') {}

    /// Puts `valore` at 1-based column `colonna`, cut to fit the line.
    RigaVersamento& colonne(std::size_t colonna, std::string_view valore) {
        const std::size_t n = std::min(valore.size(), testo_.size() + 1 - colonna);
        std::copy_n(valore.begin(), n, testo_.begin() + static_cast<std::ptrdiff_t>(colonna - 1));
        return *this;
    }
    /// Puts `valore` into field `c`, left-aligned and cut to the field's width.
    RigaVersamento& campo(Campo c, std::string_view valore) {
        const Posizione p = posizione(c);
        return colonne(p.inizio + 1, valore.substr(0, p.larghezza));
    }
    RigaVersamento& tipo(char t) { return colonne(26, std::string_view(&t, 1)); }
    RigaVersamento& data(std::string_view yyyymmdd) { return colonne(27, yyyymmdd); }
    RigaVersamento& cf(std::string_view codice) { return campo(Campo::codicefiscale, codice); }

    const std::string& str() const { return testo_; }
    /// The line followed by CR LF, as a work file stores it.
    std::string record() const { return testo_ + "\r\n"; }
    /// The payment the line holds.
    Versamento versamento() const { return Versamento::daByte(record()); }

private:
    std::string testo_;
};

/// An ordinary payment that breaks none of the checks' rules: a test changes a
/// field or two of it.
RigaVersamento pulito();

/// The work file of `righe`, one record each, in order.
std::string lavoro(std::initializer_list<RigaVersamento> righe);

/// `n` copies of `record`, one after the other.
std::string ripeti(std::string_view record, std::size_t n);

/// A work file of `n` ordinary records, record i with the codice fiscale
/// `prefisso` followed by i.
std::string numerati(std::size_t n, std::string_view prefisso);

/// A fresh empty folder under the system's temporary folder, removed on destruction.
class CartellaTemporanea {
public:
    CartellaTemporanea();
    ~CartellaTemporanea();
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;

    const std::filesystem::path& percorso() const { return percorso_; }
    /// The path of `nome` inside the folder.
    std::string file(std::string_view nome) const;
    /// Writes `contenuto` to `nome` inside the folder and returns its path.
    std::string scrivi(std::string_view nome, std::string_view contenuto) const;

private:
    std::filesystem::path percorso_;
};

/// While it lives, no file of this process may grow past `byte` and the write
/// that would do it fails with EFBIG instead of killing the process: a full disk
/// that any user, root included, can meet. POSIX only: a test that needs it skips
/// where disponibile() is false (Windows has no limit of the kind).
class LimiteFile {
public:
    static constexpr bool disponibile() {
#ifdef _WIN32
        return false;
#else
        return true;
#endif
    }
    /// No limit at all.
    static constexpr std::uint64_t kNessuno = ~std::uint64_t{0};
    explicit LimiteFile(std::uint64_t byte);
    ~LimiteFile();
    LimiteFile(const LimiteFile&) = delete;
    LimiteFile& operator=(const LimiteFile&) = delete;

private:
    std::uint64_t prima_ = 0;
    void (*gestorePrima_)(int) = nullptr;
};

/// A device every write to fails with a full disk; empty where there is none
/// (Windows), and the test's case is then left to the Linux run.
#ifdef _WIN32
inline constexpr const char* kDispositivoPieno = "";
#else
inline constexpr const char* kDispositivoPieno = "/dev/full";
#endif

/// The locale of an Italian desktop, by this system's name for it.
#ifdef _WIN32
inline constexpr const char* kLocaleItaliano = "Italian_Italy.1252";
#else
inline constexpr const char* kLocaleItaliano = "it_IT.UTF-8";
#endif

/// The names in folder `dir`, sorted.
std::vector<std::string> nomi(const CartellaTemporanea& dir);

/// The whole content of a (small) file; empty when it cannot be read.
std::string leggiFile(const std::string& percorso);

}  // namespace pliventa::test
