// The room a sort of the list works in: eight bytes a row, whose first half ends
// holding the rows in their new order, four bytes each. It is one block of
// malloc() memory so that the half no longer needed goes back to the system
// before the rows are copied out, and a sort of ten million rows never holds
// more than eight bytes a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pliventa {

class SpazioRighe {
public:
    /// Room for `righe` rows: 8 bytes each, and at least `minimo` bytes in all.
    /// Throws std::bad_alloc when there is not that much memory.
    SpazioRighe(std::size_t righe, std::size_t minimo);
    ~SpazioRighe();
    SpazioRighe(const SpazioRighe&) = delete;
    SpazioRighe& operator=(const SpazioRighe&) = delete;

    /// The whole room, aligned for 8-byte words.
    void* dati() { return dati_; }
    std::size_t byte() const { return byte_; }
    /// The room as one 8-byte word a row.
    std::uint64_t* parole() { return static_cast<std::uint64_t*>(dati_); }
    /// The room's start as one 4-byte row number each.
    std::uint32_t* numeri() { return static_cast<std::uint32_t*>(dati_); }

    /// Puts the low four bytes of each of the first `righe` words, in order, at
    /// the room's start.
    void soloNumeri();
    /// The first `righe` row numbers at the room's start, copied out after the
    /// rest of the room has been given back.
    std::vector<std::uint32_t> righe();

private:
    void* dati_;
    std::size_t byte_;
    std::size_t righe_;
};

}  // namespace pliventa
