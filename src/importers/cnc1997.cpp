// CNC 1997 files: payment lines whose date has a two-digit year. The line is
// widened by the century in front of the date, which shifts the fields of the
// first part by two columns into their places in the work-file record.
#include <algorithm>
#include <array>
#include <cstring>

#include "importers/trasformazioni.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

constexpr std::size_t kLarghezza = Versamento::kLarghezzaDati;

/// Copies up to `n` bytes of `s` from 0-based `da` to `out`, never past `kLarghezza`
/// bytes of output; returns the new output length.
std::size_t aggiungi(char* out, std::size_t usato, std::string_view s, std::size_t da,
                     std::size_t n) {
    if (da >= s.size() || usato >= kLarghezza) {
        return usato;
    }
    const std::size_t k = std::min({n, s.size() - da, kLarghezza - usato});
    std::memcpy(out + usato, s.data() + da, k);
    return usato + k;
}

class Cnc1997 final : public Trasformazione {
  public:
    bool riga(const Riga& riga, Uscita& uscita) override {
        const std::string_view s = riga.testo;
        if (s.size() < 26 || s[25] != '3') {
            return false;
        }
        // Two-digit years up to 92 are of the 2000s, 93 to 99 of the 1990s: the
        // layout came into use in 1993. Blanks or no digits read as 0, so "20".
        const double anno = valoreNumerico(s.substr(26, 2));
        std::size_t n = aggiungi(out_.data(), 0, s, 0, 26);
        n = aggiungi(out_.data(), n, anno <= 92 ? "20" : "19", 0, 2);
        n = aggiungi(out_.data(), n, s, 26, 130);  // columns 27-156
        // Columns 155-156 are repeated: the last part of the line starts there.
        n = aggiungi(out_.data(), n, s, 154, kLarghezza);
        // A line shorter than 196 characters comes out shorter than 200: the
        // writer pads it with blanks.
        uscita.scrivi(std::string_view(out_.data(), n));
        return true;
    }

  private:
    std::array<char, kLarghezza> out_{};
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaCnc1997() {
    return std::make_unique<Cnc1997>();
}

}  // namespace pliventa
