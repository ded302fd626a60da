// A summary group made by hand, for the tests of the summary's CSV and workbook.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "summary/riepilogo.h"

namespace pliventa::test {

/// Three payments, one of them on a violation notice, four anomalies; the sums by
/// kCampiRiepilogo (total, land, building land, dwelling, deduction, others).
inline GruppoRiepilogo gruppo(std::string chiave, char tipo) {
    GruppoRiepilogo g;
    g.chiave = std::move(chiave);
    g.tipo = tipo;
    g.versamenti = 3;
    g.violazioni = 1;
    g.anomalie = 4;
    const std::array<std::int64_t, 6> ordinari = {123456, -1234, 0, 5, 100, 1};
    const std::array<std::int64_t, 6> violazione = {1000, 200, 300, 400, 70, 30};
    for (std::size_t j = 0; j < ordinari.size(); ++j) {
        g.ordinari[j].aggiungi(ordinari[j]);
        g.violazione[j].aggiungi(violazione[j]);
    }
    return g;
}

}  // namespace pliventa::test
