// Calendar days as the records write them: year, month and day in fields of digits.
#pragma once

#include <optional>
#include <string_view>

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
std::optional<Giorno> giornoValido(std::string_view aaaa, std::string_view mm, std::string_view gg);

}  // namespace pliventa
