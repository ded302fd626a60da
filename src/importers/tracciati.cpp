// Facts about each input layout that the window and the command line share.
#include "importers/importatori.h"

#include <algorithm>

#include "importers/trasformazioni.h"

namespace pliventa {

std::unique_ptr<Trasformazione> nuovaTrasformazione(Tracciato tracciato) {
    switch (tracciato) {
        case Tracciato::cnc2000:
            return nuovaCnc2000();
        case Tracciato::cnc1997:
            return nuovaCnc1997();
        case Tracciato::viol1997:
            return nuovaViol1997();
        case Tracciato::f24:
            return nuovaF24();
    }
    return nuovaCnc2000();
}

LetturaAtto letturaAtto(Tracciato tracciato) {
    // The 1997 violation files keep the notice number in 6 characters and the
    // date right after it; every other layout uses the 9-character number.
    return tracciato == Tracciato::viol1997 ? LetturaAtto::breve : LetturaAtto::lunga;
}

std::string_view nomeArchivio(Tracciato tracciato) {
    return tracciato == Tracciato::cnc1997 ? "iciview97.out" : "iciview.out";
}

LetturaAtto letturaAtto(std::span<const Tracciato> tracciati) {
    const bool tuttiViol = !tracciati.empty() && std::ranges::all_of(tracciati, [](Tracciato t) {
        return letturaAtto(t) == LetturaAtto::breve;
    });
    return tuttiViol ? LetturaAtto::breve : LetturaAtto::lunga;
}

std::string_view nomeArchivio(std::span<const Tracciato> tracciati) {
    // The 1997 layout has a work file of its own; one input of any other layout
    // makes the work file the common one.
    const bool tutti1997 = !tracciati.empty() && std::ranges::all_of(tracciati, [](Tracciato t) {
        return t == Tracciato::cnc1997;
    });
    return tutti1997 ? nomeArchivio(Tracciato::cnc1997) : nomeArchivio(Tracciato::cnc2000);
}

std::optional<Tracciato> tracciatoDaNome(std::string_view nome) {
    if (nome == "cnc2000") {
        return Tracciato::cnc2000;
    }
    if (nome == "cnc1997") {
        return Tracciato::cnc1997;
    }
    if (nome == "viol1997") {
        return Tracciato::viol1997;
    }
    if (nome == "f24") {
        return Tracciato::f24;
    }
    return std::nullopt;
}

}  // namespace pliventa
