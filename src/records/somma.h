// Exact arithmetic on amount fields: a million amounts in cents must add up to
// the cent, so sums never pass through floating point.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "records/versamento.h"

namespace pliventa {

/// A sum of field values kept exact: whole units in an integer and the rare
/// decimals a lenient field may carry in an integer of 10^-10 units. A field is at
/// most 11 characters, so 64 bits hold the sum of hundreds of millions of them.
class SommaEsatta {
public:
    /// Adds a value read by the numeric value rule.
    void aggiungi(const NumeroLetto& n);
    /// Adds a whole number of units.
    void aggiungi(std::int64_t unita) {
        interi_ += unita;
        normalizza();
    }
    /// Adds another sum.
    void aggiungi(const SommaEsatta& altra);
    /// The sum divided by `divisore` (100 for euro cents, 1 otherwise).
    double valore(double divisore) const;
    /// The sum as decimal digits, exactly (what testoEsatto() prints).
    NumeroLetto numero() const;
    /// True when the sum is below zero.
    bool negativa() const { return interi_ < 0 || (interi_ == 0 && frazione_ < 0); }
    /// The whole units, and the decimals in 10^-10 units with the same sign: one
    /// pair for each value, so equal sums give equal pairs.
    std::int64_t interi() const { return interi_; }
    std::int64_t frazione() const { return frazione_; }
    bool operator==(const SommaEsatta&) const = default;

private:
    void normalizza();
    static constexpr std::int64_t kFrazione = 10'000'000'000;  ///< units of the decimals
    std::int64_t interi_ = 0;
    std::int64_t frazione_ = 0;  ///< same sign as interi_ once normalised
};

/// The six amount fields, 8 to 13 (columns 64-122: total, land, building land,
/// main dwelling, other buildings, deduction), when every one of their 59 bytes is
/// a digit, as the layouts write them; nullopt otherwise (a sign, a blank, a
/// point), and the caller reads them by the numeric value rule. Several million
/// records a second: the digits are checked and read eight at a time.
std::optional<std::array<std::int64_t, 6>> importiSemplici(const Versamento& v);

/// `n` as exact decimal text with "." as the point and no grouping: divided by 100
/// with at least two decimals when `centesimi` (123456 gives 1234.56), otherwise as
/// it is, without decimals when whole. A leading "-" keeps its sign; zero is never
/// negative. Cannot fail.
std::string testoEsatto(const NumeroLetto& n, bool centesimi);

}  // namespace pliventa
