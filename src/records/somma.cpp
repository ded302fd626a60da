#include "records/somma.h"

#include <algorithm>
#include <string_view>

namespace pliventa {

void SommaEsatta::aggiungi(const NumeroLetto& n) {
    // A field is at most 11 characters wide, so its whole part fits easily and its
    // decimals are at most 10: both parts are exact in 64 bits.
    const std::size_t interiCifre = n.cifre.size() - n.decimali;
    std::int64_t intero = 0;
    for (std::size_t i = 0; i < interiCifre; ++i) {
        intero = intero * 10 + (n.cifre[i] - '0');
    }
    std::int64_t frazione = 0;
    std::int64_t peso = kFrazione;
    for (std::size_t i = interiCifre; i < n.cifre.size() && peso > 1; ++i) {
        peso /= 10;
        frazione += (n.cifre[i] - '0') * peso;
    }
    interi_ += n.negativo ? -intero : intero;
    frazione_ += n.negativo ? -frazione : frazione;
    normalizza();
}

void SommaEsatta::aggiungi(const SommaEsatta& altra) {
    interi_ += altra.interi_;
    frazione_ += altra.frazione_;
    normalizza();
}

void SommaEsatta::normalizza() {
    interi_ += frazione_ / kFrazione;
    frazione_ %= kFrazione;
    // One sign for both parts, so that equal sums compare equal.
    if (interi_ > 0 && frazione_ < 0) {
        --interi_;
        frazione_ += kFrazione;
    } else if (interi_ < 0 && frazione_ > 0) {
        ++interi_;
        frazione_ -= kFrazione;
    }
}

double SommaEsatta::valore(double divisore) const {
    if (frazione_ == 0) {
        return static_cast<double>(interi_) / divisore;
    }
    return (static_cast<double>(interi_) + static_cast<double>(frazione_) / kFrazione) / divisore;
}

NumeroLetto SommaEsatta::numero() const {
    NumeroLetto n;
    n.negativo = negativa();
    const auto assoluto = [](std::int64_t x) { return static_cast<std::uint64_t>(x < 0 ? -x : x); };
    n.cifre = std::to_string(assoluto(interi_));
    if (frazione_ != 0) {
        std::string decimali = std::to_string(assoluto(frazione_));
        decimali.insert(0, 10 - decimali.size(), '0');
        decimali.erase(decimali.find_last_not_of('0') + 1);
        n.cifre += decimali;
        n.decimali = decimali.size();
    }
    return n;
}

std::string testoEsatto(const NumeroLetto& n, bool centesimi) {
    std::string cifre = n.cifre;
    const std::size_t scala = n.decimali + (centesimi ? 2 : 0);
    const std::size_t minimo = centesimi ? 2 : 0;  // decimals always written
    // Left-pad so there is at least one digit before the point.
    if (cifre.size() < scala + 1) {
        cifre.insert(0, scala + 1 - cifre.size(), '0');
    }
    std::string_view intera(cifre.data(), cifre.size() - scala);
    std::string_view frazione(cifre.data() + intera.size(), scala);
    intera.remove_prefix(std::min(intera.find_first_not_of('0'), intera.size() - 1));
    while (frazione.size() > minimo && frazione.back() == '0') {
        frazione.remove_suffix(1);
    }
    const bool zero = intera == "0" && frazione.find_first_not_of('0') == std::string_view::npos;
    std::string out;
    if (n.negativo && !zero) {
        out += '-';
    }
    out += intera;
    if (!frazione.empty()) {
        out += '.';
        out += frazione;
    }
    return out;
}

}  // namespace pliventa
