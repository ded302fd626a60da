// Calendar days as the records write them: "dd/mm/yyyy" from three text fields.
#pragma once

#include <optional>
#include <string_view>

namespace pliventa {

/// The value of a text made only of digits (at most nine of them, so that it fits),
/// as dates and years are written; nullopt when it is empty or holds anything else.
std::optional<int> valoreCifre(std::string_view testo);

/// A calendar day.
struct Giorno {
    int anno = 0;
    int mese = 0;
    int giorno = 0;
    bool operator==(const Giorno&) const = default;
};

/// Reads "dd/mm/yyyy" as a real calendar day of the years 1900 to 9999 (the
/// Gregorian calendar, and the days a spreadsheet date can hold); nullopt for
/// anything else (blanks, 31/02, 00/00/0000).
std::optional<Giorno> giornoValido(std::string_view ggmmaaaa);

}  // namespace pliventa
