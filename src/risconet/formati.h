// The import of every kind of input an import of several files reads: the four
// layouts, and the Risconet export converted on the way.
#pragma once

#include <memory>
#include <string>

#include "importers/importazione.h"
#include "importers/riconoscimento.h"

namespace pliventa {

/// A new transformation that writes, for an input of `formato`, the records its
/// own import writes. A Risconet export is converted with the municipality's code
/// `belfiore` (single-byte text, cut to 4) and its CNC lines are then read as the
/// ANCI-CNC 2000 import reads the converted file; `belfiore` is unused otherwise.
std::unique_ptr<Trasformazione> nuovaImportazione(Formato formato, std::string belfiore);

}  // namespace pliventa
