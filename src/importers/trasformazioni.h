// The transformation of each layout, one file each; nuovaTrasformazione() picks one.
#pragma once

#include <memory>

#include "importers/importazione.h"

namespace pliventa {

/// ANCI-CNC 2000: lines of type "3" and "6" copied as they are.
std::unique_ptr<Trasformazione> nuovaCnc2000();
/// CNC 1997: type "3" lines widened with the century of the payment date.
std::unique_ptr<Trasformazione> nuovaCnc1997();
/// 1997 violations: type "6" lines copied as they are.
std::unique_ptr<Trasformazione> nuovaViol1997();
/// F24: G1 lines of tax kind "I" grouped into one payment line each.
std::unique_ptr<Trasformazione> nuovaF24();

}  // namespace pliventa
