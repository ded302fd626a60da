// F24 payment data: one G1 line per tribute code, with the payer, the date and
// the amounts. The consecutive ICI lines of one payment (same payer, date,
// reference year and instalment flags) become one work-file record. Only the
// current group is held, so memory does not depend on the file.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "importers/trasformazioni.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

constexpr std::size_t kLarghezza = Versamento::kLarghezzaDati;

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

/// The amount of a line: the debit's last ten digits, or, when there is a credit,
/// "-" and the credit's last nine. Both fields at zero give an empty text.
std::string importo(std::string_view s) {
    std::string testo;
    if (col(s, 96, 110) != "000000000000000") {
        testo = col(s, 101, 110);
    }
    if (col(s, 111, 125) != "000000000000000") {
        testo = "-";
        testo += col(s, 117, 125);
    }
    return testo;
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
        if (aperto_ && (cf != cf_ || data != data_ || anno != anno_ || rata != rata_)) {
            scriviGruppo(uscita);
        }
        aperto_ = true;
        cf_ = cf;
        data_ = data;
        anno_ = anno;
        rata_ = rata;

        const std::string testo = importo(s);
        const std::string_view tributo = col(s, 79, 82);
        if (tributo.substr(0, 3) == "390" && tributo[3] >= '1' && tributo[3] <= '6') {
            // 3901 main dwelling, 3902 agricultural land, 3903 building land,
            // 3904 other buildings, 3905 interest, 3906 penalties.
            importi_[static_cast<std::size_t>(tributo[3] - '1')] = testo;
        }
        // Every line counts in the total, whatever its code.
        totale_ += valoreNumerico(testo);

        // What is not summed comes from the last line of the group, the line
        // counter too: a group is written when the next one has already begun.
        contatore_ = righe_;
        comune_ = col(s, 75, 78);
        fabbricati_ = senzaSpazi(col(s, 130, 132));
        detrazione_ = col(s, 141, 148);
        // Codes above 3904 (interest, penalties and the like) are paid on a
        // violation notice.
        violazione_ = valoreNumerico(tributo) > 3904;
        return true;
    }

    void fine(Uscita& uscita) override {
        if (aperto_) {
            scriviGruppo(uscita);
        }
    }

  private:
    void metti(std::size_t colonna, std::string_view testo) {
        std::memcpy(out_.data() + colonna - 1, testo.data(),
                    std::min(testo.size(), kLarghezza + 1 - colonna));
    }

    /// An amount text over the zeros of its field: only as many characters as it has.
    void mettiImporto(std::size_t colonna, std::size_t larghezza, std::string_view testo) {
        metti(colonna, testo.substr(0, larghezza));
    }

    void mettiTotale() {
        const long long t = std::llround(totale_);
        char cifre[32];
        if (t < 0) {
            // Column 63 is never read: the sign goes in column 64, where the
            // readers of the total start, and the value in the ten after it.
            std::snprintf(cifre, sizeof cifre, "%010lld", -t % 10000000000LL);
            metti(63, "0-");
            metti(65, cifre);
        } else {
            std::snprintf(cifre, sizeof cifre, "%012lld", t % 1000000000000LL);
            metti(63, cifre);
        }
    }

    void scriviGruppo(Uscita& uscita) {
        out_.fill(' ');
        metti(1, "999");
        std::memset(out_.data() + 62, '0', 60);  // columns 63-122
        metti(160, "99999");
        metti(170, "020");
        metti(173, anno_);
        char contatore[32];
        std::snprintf(contatore, sizeof contatore, "%018llu",
                      static_cast<unsigned long long>(contatore_));
        metti(8, contatore);
        metti(4, comune_);
        metti(26, violazione_ ? "6" : "3");
        metti(35, cf_);
        metti(51, anno_);
        metti(27, data_);
        const std::string fabbricati =
            std::string(fabbricati_.size() < 4 ? 4 - fabbricati_.size() : 0, '0') + fabbricati_;
        metti(165, fabbricati);
        mettiTotale();
        mettiImporto(105, 10, importi_[3]);  // 3904
        mettiImporto(85, 10, importi_[2]);   // 3903
        mettiImporto(95, 10, importi_[0]);   // 3901
        mettiImporto(75, 10, importi_[1]);   // 3902
        metti(115, detrazione_);
        if (violazione_) {
            // A violation payment shows penalties (3906) in the building-land field
            // and interest (3905) in the deduction field.
            mettiImporto(85, 10, importi_[5]);
            const std::string& interessi = importi_[4];
            metti(115, interessi.size() > 8
                           ? std::string_view(interessi).substr(interessi.size() - 8)
                           : std::string_view(interessi));
        }
        metti(169, rata_.substr(0, 1));
        metti(175, "00000000000000000000000000");
        metti(123, "002000000001");
        uscita.scrivi(std::string_view(out_.data(), out_.size()));

        for (auto& i : importi_) {
            i.clear();
        }
        totale_ = 0;
    }

    std::uint64_t righe_ = 0;  ///< lines taken so far
    bool aperto_ = false;
    // Group key of the last line taken.
    std::string cf_, data_, anno_, rata_;
    // Values of the last line taken.
    std::uint64_t contatore_ = 0;
    std::string comune_, fabbricati_, detrazione_;
    bool violazione_ = false;
    std::array<std::string, 6> importi_;  ///< amount texts of codes 3901 to 3906
    double totale_ = 0;
    std::array<char, kLarghezza> out_{};
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaF24() {
    return std::make_unique<F24>();
}

}  // namespace pliventa
