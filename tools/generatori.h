// The synthetic files of each layout, line by line: a header, blocks of payment
// lines (with other records mixed in) and a trailer. Each block is small, so a
// file of any length is made in constant memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "casuale.h"

namespace pliventa::genera {

class Generatore {
public:
    virtual ~Generatore() = default;
    /// The first line of the file.
    virtual std::string testa() = 0;
    /// Appends the next few lines of the body to `righe`.
    virtual void blocco(std::vector<std::string>& righe) = 0;
    /// The last line of a file of `righe` lines.
    virtual std::string coda(std::uint64_t righe) = 0;
};

/// The generator of `tracciato` ("cnc2000", "cnc1997", "viol1997", "f24", "risconet") with
/// seed `seme`; nullptr for an unknown layout.
std::unique_ptr<Generatore> nuovoGeneratore(std::string_view tracciato, std::uint64_t seme);

/// A line under construction: fixed width, blank-filled, set by 1-based columns.
class Linea {
public:
    explicit Linea(std::size_t larghezza, char riempi = ' ') : s_(larghezza, riempi) {}
    /// Puts `v` at column `col`, cut at the end of the line.
    Linea& a(std::size_t col, std::string_view v);
    /// Puts `v` at column `col` as `larghezza` zero-filled digits (the lowest ones).
    Linea& cifre(std::size_t col, std::size_t larghezza, std::uint64_t v);
    std::string& str() { return s_; }

private:
    std::string s_;
};

/// A date yyyymmdd of year `anno` (days 1-28, so always valid).
std::string data(Casuale& caso, int anno);

/// `s` cut or blank-padded to `n` characters.
std::string campo(std::string_view s, std::size_t n);

/// The municipality of every file: a made-up Belfiore-shaped code.
inline constexpr std::string_view kComune = "Z999";

/// The F24 generator with seed `seme` (generatore_f24.cpp).
std::unique_ptr<Generatore> nuovoF24(std::uint64_t seme);

/// The Risconet export generator with seed `seme` (generatore_risconet.cpp).
std::unique_ptr<Generatore> nuovoRisconet(std::uint64_t seme);

}  // namespace pliventa::genera
