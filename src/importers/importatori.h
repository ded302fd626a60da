// The payment-file layouts Pliventa imports, each a Trasformazione for importa().
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "importers/importazione.h"
#include "records/versamento.h"

namespace pliventa {

/// The kinds of input file.
enum class Tracciato {
    cnc2000,   ///< ANCI-CNC 2000: lines of type "3" and "6" copied as they are
    cnc1997,   ///< CNC 1997: type "3" lines widened with the century
    viol1997,  ///< 1997 violations: type "6" lines copied
    f24,       ///< F24: G1 lines of tax kind "I" grouped into payments
};

/// A new transformation for `tracciato`.
std::unique_ptr<Trasformazione> nuovaTrasformazione(Tracciato tracciato);

/// The notice arrangement of the work files an import of `tracciato` writes:
/// short for the 1997 violations, long for the others.
LetturaAtto letturaAtto(Tracciato tracciato);

/// Name of the work file an import of `tracciato` writes in the current
/// directory: "iciview97.out" for the 1997 layout, "iciview.out" otherwise.
std::string_view nomeArchivio(Tracciato tracciato);

/// The notice arrangement of a work file made of inputs of `tracciati` (an import
/// of several files): short only when every input is a 1997 violation file.
LetturaAtto letturaAtto(std::span<const Tracciato> tracciati);

/// The work file an import of inputs of `tracciati` writes in the current
/// directory: "iciview97.out" only when every input is in the 1997 layout.
std::string_view nomeArchivio(std::span<const Tracciato> tracciati);

/// The layout named `nome` ("cnc2000", "cnc1997", "viol1997", "f24"), if any.
std::optional<Tracciato> tracciatoDaNome(std::string_view nome);

}  // namespace pliventa
