// A small random generator with the same sequence on every platform for a given
// seed, so a sample file can be made again byte for byte.
#pragma once

#include <cstdint>
#include <string_view>

namespace pliventa::genera {

class Casuale {
public:
    explicit Casuale(std::uint64_t seme) : stato_(seme) {}

    /// The next 64 random bits (splitmix64).
    std::uint64_t prossimo() {
        std::uint64_t z = (stato_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    /// A whole number from `da` to `a`, both included.
    long long tra(long long da, long long a) {
        return da + static_cast<long long>(prossimo() % static_cast<std::uint64_t>(a - da + 1));
    }

    /// True `percento` times in a hundred.
    bool su100(int percento) { return tra(0, 99) < percento; }

    /// One character of `scelta`.
    char uno(std::string_view scelta) {
        return scelta[static_cast<std::size_t>(tra(0, static_cast<long long>(scelta.size()) - 1))];
    }

private:
    std::uint64_t stato_;
};

}  // namespace pliventa::genera
