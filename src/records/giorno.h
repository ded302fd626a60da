// Calendar days as the records write them: year, month and day in fields of digits.
#pragma once

#include <chrono>
#include <optional>
#include <string_view>

#include "records/cifre.h"

namespace pliventa {

/// A calendar day.
struct Giorno {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    bool operator==(const Giorno&) const = default;
};

/// The day written as the digit fields `aaaa`, `mm` and `gg` when it is a real
/// calendar day of the years 1900 to 9999 (the Gregorian calendar, and the days a
/// spreadsheet date can hold); nullopt for anything else (blanks, 31/06, 29/02 of
/// a common year, 00/00/0000).
/// Inline: it is read for every record of a scan, and the fields' fixed widths
/// then unroll the reading of their digits.
inline std::optional<Giorno> giornoValido(std::string_view aaaa, std::string_view mm,
                                          std::string_view gg) {
    const std::optional<std::int64_t> anno = valoreCifre(aaaa);
    const std::optional<std::int64_t> mese = valoreCifre(mm);
    const std::optional<std::int64_t> giorno = valoreCifre(gg);
    if (!anno || !mese || !giorno || *anno < 1900 || *anno > 9999 || *mese > 12 || *giorno > 31) {
        return std::nullopt;
    }
    const Giorno g{static_cast<int>(*anno), static_cast<int>(*mese), static_cast<int>(*giorno)};
    // The calendar knows the length of each month and the leap years.
    const std::chrono::year_month_day ymd{std::chrono::year{g.anno},
                                          std::chrono::month{static_cast<unsigned>(g.mese)},
                                          std::chrono::day{static_cast<unsigned>(g.giorno)}};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return g;
}

}  // namespace pliventa
