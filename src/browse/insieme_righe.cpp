#include "browse/insieme_righe.h"

#include <bit>

namespace pliventa {

InsiemeRighe::InsiemeRighe(const std::vector<std::uint32_t>& righe)
    : quante_(righe.size()), ultimo_(righe.empty() ? 0 : righe.back()) {
    bit_.assign(static_cast<std::size_t>(ultimo_ / 64) + 1, 0);
    for (const std::uint32_t n : righe) {
        bit_[n / 64] |= std::uint64_t{1} << (n % 64);
    }
    primaParola_.resize(bit_.size());
    std::uint32_t prima = 0;
    for (std::size_t i = 0; i < bit_.size(); ++i) {
        primaParola_[i] = prima;
        prima += static_cast<std::uint32_t>(std::popcount(bit_[i]));
    }
}

std::uint64_t InsiemeRighe::rango(std::uint64_t n) const {
    if (n > ultimo_) {
        return quante_;
    }
    const auto parola = static_cast<std::size_t>(n / 64);
    const std::uint64_t sotto = (std::uint64_t{1} << (n % 64)) - 1;
    return primaParola_[parola] + static_cast<std::uint64_t>(std::popcount(bit_[parola] & sotto));
}

std::vector<std::uint32_t> InsiemeRighe::righe() const {
    std::vector<std::uint32_t> r;
    r.reserve(quante_);
    for (std::size_t i = 0; i < bit_.size(); ++i) {
        for (std::uint64_t w = bit_[i]; w != 0; w &= w - 1) {
            r.push_back(
                static_cast<std::uint32_t>(i * 64 + static_cast<std::size_t>(std::countr_zero(w))));
        }
    }
    return r;
}

}  // namespace pliventa
