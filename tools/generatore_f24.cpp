// F24 payment data: per payment, a form record ("M1") and one "G1" line per
// tribute code; ICI lines carry tax kind "I" in column 260, lines of other taxes
// (and other record kinds) are mixed in, as the collection agents send them.
#include <algorithm>
#include <array>
#include <cstdio>

#include "contribuenti.h"
#include "generatori.h"

namespace pliventa::genera {

namespace {

struct Tributo {
    const char* codice;
    std::uint64_t importo;  ///< euro cents
};

class F24 final : public Generatore {
public:
    explicit F24(std::uint64_t seme) : caso_(seme) {}

    std::string testa() override {
        return Linea(lunghezza()).a(1, "A1").a(3, "FLUSSO F24 ENTI - RIPARTIZIONE").str();
    }

    void blocco(std::vector<std::string>& righe) override {
        const Contribuente c = nuovoContribuente(caso_);
        const int anno = static_cast<int>(caso_.tra(2004, 2008));
        const std::string giorno = data(caso_, anno);
        const bool viol = caso_.su100(10);
        const int annoRif = viol ? anno - static_cast<int>(caso_.tra(1, 4)) : anno;
        righe.push_back(Linea(lunghezza())
                            .a(1, "M1")
                            .cifre(3, 8, ++deleghe_)
                            .a(50, c.codiceFiscale)
                            .a(67, giorno)
                            .str());
        // Often the first instalment and the balance are paid on the same day: two
        // payments of one payer that differ by their flags only.
        if (!viol && caso_.su100(15)) {
            pagamento(righe, c, giorno, annoRif, "10", false);
            pagamento(righe, c, giorno, annoRif, "01", false);
            return;
        }
        pagamento(righe, c, giorno, annoRif, flag(), viol);
    }

    std::string coda(std::uint64_t righe) override {
        return Linea(lunghezza()).a(1, "Z1").cifre(3, 12, righe).str();
    }

private:
    std::size_t lunghezza() { return static_cast<std::size_t>(caso_.tra(260, 320)); }

    std::string flag() {
        const int p = static_cast<int>(caso_.tra(0, 99));
        return p < 40 ? "11" : p < 65 ? "10" : p < 90 ? "01" : p < 95 ? "00" : "  ";
    }

    std::string fabbricati() {
        const int p = static_cast<int>(caso_.tra(0, 99));
        char b[8];
        std::snprintf(b, sizeof b, p < 5 ? "%03d" : "%3d", static_cast<int>(caso_.tra(1, 14)));
        return p < 95 ? b : "   ";
    }

    /// The tax codes of one payment and their amounts, into `tributi`; how many.
    std::size_t scegliTributi(std::array<Tributo, 6>& tributi, bool viol) {
        std::size_t n = 0;
        auto importo = [&](long long da, long long a) {
            return static_cast<std::uint64_t>(caso_.tra(da, a));
        };
        if (viol) {
            tributi[n++] = {"3904", importo(5000, 90000)};
            if (caso_.su100(50)) {
                tributi[n++] = {"3901", importo(2000, 40000)};
            }
            tributi[n++] = {"3906", importo(1000, 30000)};
            tributi[n++] = {"3905", importo(100, 5000)};
            if (caso_.su100(50)) {
                std::swap(tributi[n - 1], tributi[n - 2]);  // either may come last
            }
        } else {
            if (caso_.su100(10)) {
                tributi[n++] = {"3902", importo(1000, 50000)};
            }
            if (caso_.su100(5)) {
                tributi[n++] = {"3903", importo(5000, 200000)};
            }
            if (caso_.su100(60)) {
                tributi[n++] = {"3901", importo(2000, 60000)};
            }
            if (n == 0 || caso_.su100(50)) {
                tributi[n++] = {"3904", importo(3000, 250000)};
            }
            if (caso_.su100(3)) {
                tributi[n++] = {"3940", importo(100, 2000)};  // a code the import only sums
            }
        }
        return n;
    }

    void pagamento(std::vector<std::string>& righe, const Contribuente& c,
                   const std::string& giorno, int annoRif, const std::string& flag, bool viol) {
        std::array<Tributo, 6> tributi{};
        const std::size_t n = scegliTributi(tributi, viol);
        const std::string fabb = fabbricati();
        const bool abitazione =
            std::any_of(tributi.begin(), tributi.begin() + static_cast<long>(n),
                        [](const Tributo& t) { return std::string_view(t.codice) == "3901"; });
        for (std::size_t i = 0; i < n; ++i) {
            if (caso_.su100(15)) {
                righe.push_back(altraImposta(c, giorno));
            }
            Linea l(lunghezza());
            l.a(1, "G1").cifre(3, 8, deleghe_).cifre(11, 5, i + 1).a(16, "0306901234");
            l.a(50, c.codiceFiscale).a(67, giorno).a(75, kComune).a(79, tributi[i].codice);
            l.a(83, "0101").cifre(88, 4, static_cast<std::uint64_t>(annoRif));
            const int p = static_cast<int>(caso_.tra(0, 99));
            if (p < 5) {  // a credit set against the payment
                l.cifre(96, 15, 0).cifre(111, 15, tributi[i].importo / 4);
            } else if (p < 7) {  // nothing due on this code
                l.cifre(96, 15, 0).cifre(111, 15, 0);
            } else {
                l.cifre(96, 15, tributi[i].importo).cifre(111, 15, 0);
            }
            l.a(126, "00").a(128, flag).a(130, fabb);
            l.cifre(141, 8, abitazione ? 10329 : 0);
            l.a(170, campo(c.denominazione(), 50)).a(260, "I");
            righe.push_back(std::move(l.str()));
        }
    }

    /// A G1 line of another tax (state or region) of the same payer.
    std::string altraImposta(const Contribuente& c, const std::string& giorno) {
        const bool erario = caso_.su100(60);
        Linea l(lunghezza());
        l.a(1, "G1").cifre(3, 8, deleghe_).a(50, c.codiceFiscale).a(67, giorno);
        l.a(75, erario ? "    " : "0800").a(79, erario ? "4001" : "3801").a(83, "0101");
        l.cifre(88, 4, 2005).cifre(96, 15, static_cast<std::uint64_t>(caso_.tra(1000, 90000)));
        l.cifre(111, 15, 0).a(128, "11").a(260, erario ? "E" : "R");
        return std::move(l.str());
    }

    Casuale caso_;
    std::uint64_t deleghe_ = 0;
};

}  // namespace

std::unique_ptr<Generatore> nuovoF24(std::uint64_t seme) {
    return std::make_unique<F24>(seme);
}

}  // namespace pliventa::genera
