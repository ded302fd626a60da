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

class Cnc1997 final : public Trasformazione {
public:
    bool riga(const Riga& riga, Uscita& uscita) override {
        // The reader never hands over more than kMaxRiga characters; a caller
        // that does cannot write past the buffer.
        const std::string_view s = riga.testo.substr(0, Riga::kMaxRiga);
        if (s.size() < 26 || s[25] != '3') {
            return false;
        }
        // The payment year has two digits; the century goes in front by the rule
        // of the tax year (blanks or no digits read as 0, so "20").
        const std::string_view aa = s.substr(26, 2);
        const std::optional<std::int64_t> cifre = valoreCifre(aa);
        const double anno = cifre ? static_cast<double>(*cifre) : valoreNumerico(aa);
        char* out = out_.data();
        std::memcpy(out, s.data(), 26);
        std::memcpy(out + 26, secolo(anno) == 2000 ? "20" : "19", 2);
        // Columns 27-156, then from column 155 to the end: columns 155-156 are
        // repeated, so the last part of the record lands on its work-file columns.
        const std::size_t primo = std::min<std::size_t>(s.size() - 26, 130);
        std::memcpy(out + 28, s.data() + 26, primo);
        const std::size_t secondo = s.size() > 154 ? s.size() - 154 : 0;
        if (secondo > 0) {
            std::memcpy(out + 28 + primo, s.data() + 154, secondo);
        }
        const std::size_t n = 28 + primo + secondo;
        // The widened line goes to the writer whole, as the other layouts hand
        // over theirs: one shorter than 196 characters comes out shorter than 200
        // and is padded with blanks, one longer comes out longer and is cut, and
        // the writer counts either.
        uscita.scrivi(std::string_view(out_.data(), n));
        return true;
    }

private:
    // The longest line the reader hands over, widened by the century and the
    // repeated columns 155-156.
    std::array<char, Riga::kMaxRiga + 4> out_{};
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaCnc1997() {
    return std::make_unique<Cnc1997>();
}

}  // namespace pliventa
