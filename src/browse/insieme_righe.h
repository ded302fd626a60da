// The rows of a list as a set over the records of the work file: one bit a
// record, so that a long sort can give back the room of the rows' own numbers
// (four bytes a row) and still know which records it orders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pliventa {

/// A set of record numbers (1-based) kept as one bit for each record up to the
/// largest.
class InsiemeRighe {
public:
    /// The set of `righe`, record numbers in ascending order.
    explicit InsiemeRighe(const std::vector<std::uint32_t>& righe);

    /// How many rows it holds.
    std::size_t size() const { return quante_; }
    /// The largest record number it holds; 0 when empty.
    std::uint64_t ultimo() const { return ultimo_; }
    /// Whether record `n` is one of its rows.
    bool contiene(std::uint64_t n) const {
        return n <= ultimo_ && ((bit_[n / 64] >> (n % 64)) & 1U) != 0;
    }
    /// How many of its rows come before record `n`: the place of `n` among them.
    std::uint64_t rango(std::uint64_t n) const;
    /// Its rows in ascending order.
    std::vector<std::uint32_t> righe() const;

private:
    std::vector<std::uint64_t> bit_;          ///< bit n % 64 of word n / 64: record n
    std::vector<std::uint32_t> primaParola_;  ///< rows before each word
    std::size_t quante_ = 0;
    std::uint64_t ultimo_ = 0;
};

}  // namespace pliventa
