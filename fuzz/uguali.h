// The duplicate rule the slow way, for the oracles of the fuzz targets: a record
// against every earlier one, field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "checks/controlli.h"
#include "records/versamento.h"

namespace pliventa::fuzz {

/// The 1-based number of the first whole record of `input` before record `i`
/// (0-based) with the same codice fiscale, payment date, tax year, kind and
/// total; 0 when there is none.
inline std::uint32_t primoUguale(std::string_view input, std::size_t i) {
    const auto record = [&](std::size_t k) {
        return Versamento::daByte(input.substr(k * Versamento::kLunghezzaRecord));
    };
    const Versamento v = record(i);
    for (std::size_t j = 0; j < i; ++j) {
        const Versamento w = record(j);
        if (senzaSpazi(v.campo(Campo::codicefiscale)) ==
                senzaSpazi(w.campo(Campo::codicefiscale)) &&
            v.dataVersamento() == w.dataVersamento() &&
            v.campo(Campo::annoimposta) == w.campo(Campo::annoimposta) &&
            v.violazione() == w.violazione() &&
            importo(v.campo(Campo::totale)) == importo(w.campo(Campo::totale))) {
            return static_cast<std::uint32_t>(j + 1);
        }
    }
    return 0;
}

}  // namespace pliventa::fuzz
