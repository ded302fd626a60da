// Fields of plain digits: dates, years and zero-filled amounts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pliventa {

/// The value of a text made only of the digits 0-9, at most 18 of them so that any
/// such text fits; nullopt when it is empty or holds anything else (a blank, a
/// sign, a point). Dates, years and plain amounts are written this way.
inline std::optional<std::int64_t> valoreCifre(std::string_view testo) {
    // The fields read this way are short and of a fixed width (a year, a day, an
    // amount of 11 digits) and read for every record of a scan: inline, the loop
    // is unrolled for the width of the field.
    if (testo.empty() || testo.size() > 18) {
        return std::nullopt;
    }
    std::uint64_t n = 0;  // unsigned: a non-digit on the way may wrap it harmlessly
    bool cifre = true;
    for (char c : testo) {
        const auto d = static_cast<unsigned char>(c - '0');
        cifre = cifre && d <= 9;
        n = n * 10 + d;
    }
    if (!cifre) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(n);
}

}  // namespace pliventa
