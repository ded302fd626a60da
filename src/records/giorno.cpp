#include "records/giorno.h"

#include <chrono>

#include "records/versamento.h"

namespace pliventa {

std::optional<Giorno> giornoValido(std::string_view aaaa, std::string_view mm,
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
