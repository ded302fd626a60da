#include "browse/spazio_righe.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace pliventa {

SpazioRighe::SpazioRighe(std::size_t righe, std::size_t minimo)
    : dati_(nullptr), byte_(std::max(righe * sizeof(std::uint64_t), minimo)), righe_(righe) {
    dati_ = std::malloc(byte_);
    if (dati_ == nullptr) {
        throw std::bad_alloc();
    }
}

SpazioRighe::~SpazioRighe() {
    std::free(dati_);
}

void SpazioRighe::soloNumeri() {
    // Word i is read before number i is written over its first half, and number i
    // lies below word i + 1: the copy never overwrites a word still to be read.
    auto* byte = static_cast<unsigned char*>(dati_);
    for (std::size_t i = 0; i < righe_; ++i) {
        std::uint64_t parola = 0;
        std::memcpy(&parola, byte + i * sizeof parola, sizeof parola);
        const auto numero = static_cast<std::uint32_t>(parola);
        std::memcpy(byte + i * sizeof numero, &numero, sizeof numero);
    }
}

std::vector<std::uint32_t> SpazioRighe::righe() {
    const std::size_t servono = std::max<std::size_t>(righe_ * sizeof(std::uint32_t), 1);
    // Shrinking a large block gives its pages back (glibc unmaps the tail).
    if (void* meno = std::realloc(dati_, servono); meno != nullptr) {
        dati_ = meno;
        byte_ = servono;
    }
    return {numeri(), numeri() + righe_};
}

}  // namespace pliventa
