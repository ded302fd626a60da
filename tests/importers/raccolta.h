// Runs a transformation over lines held in memory and gathers what it writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "importers/importatori.h"

namespace pliventa::test {

/// What a transformation made of some lines: the lines written (as handed to the
/// writer, before padding), how many input lines it took and how many amounts it
/// found out of format.
struct Raccolta final : Uscita {
    std::vector<std::string> righe;
    int prese = 0;
    std::uint64_t fuoriFormato = 0;
    void scrivi(std::string_view riga) override { righe.emplace_back(riga); }
};

/// Passes `righe` to a new transformation of `tracciato`, then ends it.
inline Raccolta applica(Tracciato tracciato, const std::vector<std::string>& righe) {
    Raccolta r;
    auto t = nuovaTrasformazione(tracciato);
    for (const std::string& s : righe) {
        r.prese += t->riga(Riga{s, s.size()}, r) ? 1 : 0;
    }
    t->fine(r);
    r.fuoriFormato = t->importiFuoriFormato();
    return r;
}

}  // namespace pliventa::test
