// F24 payment data: one G1 line per tribute code, with the payer, the date and
// the amounts. The consecutive ICI lines of one payment (same payer, date,
// reference year and instalment flags) become one work-file record. Only the
// current group is held, so memory does not depend on the file.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "importers/trasformazioni.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

constexpr std::size_t kLarghezza = Versamento::kLarghezzaDati;
// The first totals that no longer fit the record: with the sign, and without.
constexpr std::uint64_t kDieciCifre = 10'000'000'000;
constexpr std::uint64_t kUndiciCifre = 100'000'000'000;

/// Columns `da`-`a` (1-based, inclusive) of `s`, which holds at least 260 bytes.
std::string_view col(std::string_view s, std::size_t da, std::size_t a) {
    return s.substr(da - 1, a - da + 1);
}

/// The instalment flags (first, last) become one character; any other pair stays.
std::string_view codiceRata(std::string_view flag) {
    if (flag == "10") {
        return "1";
    }
    if (flag == "01") {
        return "2";
    }
    if (flag == "11") {
        return "3";
    }
    if (flag == "00") {
        return "4";
    }
    return flag;
}

/// A text of at most N characters, held in place: the state of a group never
/// allocates.
template <std::size_t N>
class Testo {
public:
    Testo() = default;
    explicit Testo(std::string_view a, std::string_view b = {}) { assegna(a, b); }
    void assegna(std::string_view a, std::string_view b = {}) {
        const std::size_t na = std::min(a.size(), N);
        const std::size_t nb = std::min(b.size(), N - na);
        if (na > 0) {
            std::memcpy(c_.data(), a.data(), na);
        }
        if (nb > 0) {
            std::memcpy(c_.data() + na, b.data(), nb);
        }
        n_ = na + nb;
    }
    std::string_view testo() const { return {c_.data(), n_}; }

private:
    std::array<char, N> c_{};
    std::size_t n_ = 0;
};

using Importo = Testo<10>;

/// True when `tolto`, the part of an amount its field has no room for, holds a
/// digit that counts or the sign: the amount written is not the amount paid.
bool perdeCifre(std::string_view tolto) {
    return tolto.find_first_of("-123456789") != std::string_view::npos;
}

/// The amount of a line: the debit's last ten digits, or, when there is a credit,
/// "-" and the credit's last nine, so that it fits the ten characters of the
/// record's amount fields. Both fields at zero give an empty text. `fuori` tells
/// whether digits that count were left out.
Importo importo(std::string_view s, bool& fuori) {
    if (col(s, 111, 125) != "000000000000000") {
        fuori = perdeCifre(col(s, 111, 116));
        return Importo("-", col(s, 117, 125));
    }
    if (col(s, 96, 110) != "000000000000000") {
        fuori = perdeCifre(col(s, 96, 100));
        return Importo(col(s, 101, 110));
    }
    fuori = false;
    return {};
}

/// The numeric value of an amount text or a tribute code: plain digits, with a
/// "-" in front for a credit, are read here; anything else by the lenient rule.
double valore(std::string_view t) {
    const bool meno = !t.empty() && t[0] == '-';
    if (const std::optional<std::int64_t> v = valoreCifre(t.substr(meno ? 1 : 0))) {
        return static_cast<double>(meno ? -*v : *v);
    }
    return valoreNumerico(t);
}

/// `v` as `n` digits, zero-filled on the left, at `p`; higher digits are dropped.
void cifre(char* p, std::size_t n, std::uint64_t v) {
    for (std::size_t i = n; i > 0; --i, v /= 10) {
        p[i - 1] = static_cast<char>('0' + v % 10);
    }
}

class F24 final : public Trasformazione {
public:
    bool riga(const Riga& riga, Uscita& uscita) override {
        const std::string_view s = riga.testo;
        if (s.size() < 260 || s[0] != 'G' || s[1] != '1' || s[259] != 'I') {
            return false;
        }
        ++righe_;
        const std::string_view cf = col(s, 50, 65);
        const std::string_view data = col(s, 67, 74);
        const std::string_view anno = col(s, 90, 91);
        const std::string_view rata = codiceRata(col(s, 128, 129));
        if (aperto_ && (cf != cf_.testo() || data != data_.testo() || anno != anno_.testo() ||
                        rata != rata_.testo())) {
            scriviGruppo(uscita);
        }
        aperto_ = true;
        cf_.assegna(cf);
        data_.assegna(data);
        anno_.assegna(anno);
        rata_.assegna(rata);

        bool fuori = false;
        const Importo testo = importo(s, fuori);
        fuoriFormato_ += fuori ? 1 : 0;
        const std::string_view tributo = col(s, 79, 82);
        if (tributo.substr(0, 3) == "390" && tributo[3] >= '1' && tributo[3] <= '6') {
            // 3901 main dwelling, 3902 agricultural land, 3903 building land,
            // 3904 other buildings, 3905 interest, 3906 penalties.
            importi_[static_cast<std::size_t>(tributo[3] - '1')] = testo;
        }
        // Every line counts in the total, whatever its code.
        totale_ += valore(testo.testo());

        // What is not summed comes from the last line of the group, the line
        // counter too: a group is written when the next one has already begun.
        contatore_ = righe_;
        comune_.assegna(col(s, 75, 78));
        fabbricati_.assegna(senzaSpazi(col(s, 130, 132)));
        detrazione_.assegna(col(s, 141, 148));
        // Codes above 3904 (interest, penalties and the like) are paid on a
        // violation notice.
        violazione_ = valore(tributo) > 3904;
        return true;
    }

    std::uint64_t importiFuoriFormato() const override { return fuoriFormato_; }

    void fine(Uscita& uscita) override {
        if (aperto_) {
            scriviGruppo(uscita);
        }
        // Nothing of a run outlives it.
        aperto_ = false;
        righe_ = 0;
    }

private:
    void metti(std::size_t colonna, std::string_view testo) {
        if (!testo.empty()) {
            std::memcpy(out_.data() + colonna - 1, testo.data(),
                        std::min(testo.size(), kLarghezza + 1 - colonna));
        }
    }

    /// An amount text over the zeros of its field: only as many characters as it has.
    void mettiImporto(std::size_t colonna, std::size_t larghezza, std::string_view testo) {
        metti(colonna, testo.substr(0, larghezza));
    }

    void mettiTotale() {
        const long long t = std::llround(totale_);
        const std::uint64_t v = t < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(t)
                                      : static_cast<std::uint64_t>(t);
        // The readers of the total take columns 64-74: eleven digits, or the sign
        // and ten. A larger total loses its leading digits there; it is written
        // all the same, and counted.
        if (v >= (t < 0 ? kDieciCifre : kUndiciCifre)) {
            ++fuoriFormato_;
        }
        if (t < 0) {
            // Column 63 is never read: the sign goes in column 64, where the
            // readers of the total start, and the value in the ten after it.
            metti(63, "0-");
            cifre(out_.data() + 64, 10, v);
        } else {
            cifre(out_.data() + 62, 12, v);
        }
    }

    void scriviGruppo(Uscita& uscita) {
        out_.fill(' ');
        metti(1, "999");
        std::memset(out_.data() + 62, '0', 60);  // columns 63-122
        metti(160, "99999");
        metti(170, "020");
        metti(173, anno_.testo());
        cifre(out_.data() + 7, 18, contatore_);
        metti(4, comune_.testo());
        metti(26, violazione_ ? "6" : "3");
        metti(35, cf_.testo());
        metti(51, anno_.testo());
        metti(27, data_.testo());
        // Number of properties, trimmed, zero-filled on the left to four characters.
        const std::string_view fabbricati = fabbricati_.testo();
        metti(165, "0000");
        metti(169 - fabbricati.size(), fabbricati);
        mettiTotale();
        mettiImporto(105, 10, importi_[3].testo());  // 3904
        mettiImporto(85, 10, importi_[2].testo());   // 3903
        mettiImporto(95, 10, importi_[0].testo());   // 3901
        mettiImporto(75, 10, importi_[1].testo());   // 3902
        metti(115, detrazione_.testo());
        if (violazione_) {
            // A violation payment shows penalties (3906) in the building-land field
            // and interest (3905) in the deduction field.
            mettiImporto(85, 10, importi_[5].testo());
            // The deduction field has eight characters: a longer interest text
            // keeps its last eight, and is counted when what goes counts.
            const std::string_view interessi = importi_[4].testo();
            if (interessi.size() > 8) {
                fuoriFormato_ += perdeCifre(interessi.substr(0, interessi.size() - 8)) ? 1 : 0;
                metti(115, interessi.substr(interessi.size() - 8));
            } else {
                metti(115, interessi);
            }
        }
        metti(169, rata_.testo().substr(0, 1));
        metti(175, "00000000000000000000000000");
        metti(123, "002000000001");
        uscita.scrivi(std::string_view(out_.data(), out_.size()));

        for (Importo& i : importi_) {
            i.assegna({});
        }
        totale_ = 0;
    }

    std::uint64_t righe_ = 0;  ///< lines taken so far
    bool aperto_ = false;
    // Group key of the last line taken.
    Testo<16> cf_;
    Testo<8> data_;
    Testo<2> anno_, rata_;
    // Values of the last line taken.
    std::uint64_t contatore_ = 0;
    Testo<4> comune_;
    Testo<3> fabbricati_;
    Testo<8> detrazione_;
    bool violazione_ = false;
    std::array<Importo, 6> importi_;  ///< amount texts of codes 3901 to 3906
    double totale_ = 0;
    std::uint64_t fuoriFormato_ = 0;  ///< amounts out of format since construction
    std::array<char, kLarghezza> out_{};
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaF24() {
    return std::make_unique<F24>();
}

}  // namespace pliventa
