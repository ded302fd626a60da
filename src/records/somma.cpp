#include "records/somma.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

namespace pliventa {

namespace {

constexpr std::uint64_t kUni = 0x0101010101010101ULL;

// Eight digits are read as one word whose lowest byte is the first digit.
static_assert(std::endian::native == std::endian::little,
              "the digits are read as little-endian words");

std::uint64_t parola(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return x;
}

// True when the eight bytes are all "0" to "9": every high nibble is 3, and adding
// 6 to each byte carries none of them out of the 0x30 row.
bool ottoCifre(std::uint64_t x) {
    return (x & (0xF0 * kUni)) == 0x30 * kUni && ((x + 6 * kUni) & (0xF0 * kUni)) == 0x30 * kUni;
}

// The value of eight digits, the first the most significant: pairs, then fours,
// then the eight, each step a multiply that shifts the higher part into place.
std::uint64_t valoreOtto(std::uint64_t x) {
    x = ((x & (0x0F * kUni)) * 2561) >> 8;
    x = ((x & 0x00FF00FF00FF00FFULL) * 6553601) >> 16;
    return ((x & 0x0000FFFF0000FFFFULL) * 42949672960001ULL) >> 32;
}

// A field of `larghezza` digits (8 to 16), already checked: the last eight are one
// word, and the first ones the top bytes of the word that ends where those begin;
// that word's other bytes, before the field, are taken as "0".
std::int64_t valoreCampo(const char* p, std::size_t larghezza) {
    const std::size_t testa = larghezza - 8;
    if (testa == 0) {
        return static_cast<std::int64_t>(valoreOtto(parola(p)));
    }
    const std::uint64_t campo = ~std::uint64_t{0} << (8 * (8 - testa));
    const std::uint64_t alta = (parola(p + testa - 8) & campo) | (0x30 * kUni & ~campo);
    return static_cast<std::int64_t>(valoreOtto(alta) * 100'000'000 +
                                     valoreOtto(parola(p + testa)));
}

}  // namespace

std::optional<std::array<std::int64_t, 6>> importiSemplici(const Versamento& v) {
    static_assert(posizione(Campo::totale).inizio + 59 == posizione(Campo::riservato2).inizio);
    // The words read before each field stay inside the record.
    static_assert(posizione(Campo::totale).inizio >= 8);
    const char* p = v.byte().data() + posizione(Campo::totale).inizio;
    // 59 bytes: seven words, and the last eight bytes as an eighth.
    for (std::size_t i : {0, 8, 16, 24, 32, 40, 48, 51}) {
        if (!ottoCifre(parola(p + i))) {
            return std::nullopt;
        }
    }
    std::array<std::int64_t, 6> importi{};
    constexpr std::array<Campo, 6> kCampi = {Campo::totale,           Campo::terreni,
                                             Campo::areefabbricabili, Campo::abitazioneprincipale,
                                             Campo::altrifabbricati,  Campo::detrazione};
    for (std::size_t i = 0; i < kCampi.size(); ++i) {
        const Posizione pos = posizione(kCampi[i]);
        static_assert(posizione(Campo::detrazione).larghezza >= 8);
        importi[i] = valoreCampo(v.byte().data() + pos.inizio, pos.larghezza);
    }
    return importi;
}

void SommaEsatta::aggiungi(const NumeroLetto& n) {
    // A field is at most 11 characters wide, so its whole part fits easily and its
    // decimals are at most 10: both parts are exact in 64 bits.
    const std::size_t interiCifre = n.cifre.size() - n.decimali;
    const std::int64_t intero =
        valoreCifre(std::string_view(n.cifre).substr(0, interiCifre)).value_or(0);
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
        decimali = std::string(10 - decimali.size(), '0') + decimali;
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
        cifre = std::string(scala + 1 - cifre.size(), '0') + cifre;
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
