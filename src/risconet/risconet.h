// The conversion of a Risconet export (a header line, then one payment a line,
// fields separated by ";") into 200-character lines of the CNC payment layout,
// the layout the ANCI-CNC 2000 import reads.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "importers/importazione.h"

namespace pliventa {

/// The name of the converted file, which is written beside its input.
inline constexpr std::string_view kNomeConvertito = "versunir.out";

/// The converted file of `input`: its folder (up to and including the last "/")
/// followed by "versunir.out"; "versunir.out" alone, in the current directory,
/// when `input` names no folder.
std::string percorsoConvertito(std::string_view input);

/// A CNC payment line, without line end.
using RigaCnc = std::array<char, 200>;

/// Makes in `out` the CNC line of one Risconet payment line, numbered
/// `progressivo`, for the municipality `belfiore` (Windows-1252, cut to 4). Fields
/// the line lacks leave their columns blank. Returns false, and `out` means
/// nothing, when the line writes nothing: an empty line, or a line of four fields
/// whose fourth is not "N".
bool convertiRiga(std::string_view riga, std::string_view belfiore, std::uint64_t progressivo,
                  RigaCnc& out);

/// The transformation for importa(): drops the first line (the header) and turns
/// every payment line into its CNC line, numbered from 1.
std::unique_ptr<Trasformazione> nuovaConversioneRisconet(std::string belfiore);

}  // namespace pliventa
