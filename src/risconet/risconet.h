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

/// The converted file of `input`: its folder (up to and including the last
/// separator, on Windows "\" and the ":" of a drive too) followed by
/// "versunir.out"; "versunir.out" alone, in the current directory,
/// when `input` names no folder.
std::string percorsoConvertito(std::string_view input);

/// The longest Risconet line converted whole. A payment line is a few hundred
/// bytes, but a field may run long (a name, a note) and push the codice fiscale,
/// the last field read, far along the line; beyond a mebibyte the line is no
/// payment, and is converted from its first mebibyte and counted as cut.
inline constexpr std::size_t kRigaMassimaRisconet = std::size_t{1} << 20;

/// Checks the municipality's code as typed (UTF-8) before a conversion: a control
/// character in it (a line break, a carriage return, a tab) would break or shift
/// every converted line, and the import would then read no payment. Returns a Uso
/// error without a path saying so.
EsitoVuoto controllaBelfiore(std::string_view codice);

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
/// every payment line, read whole up to kRigaMassimaRisconet, into its CNC line,
/// numbered from 1.
std::unique_ptr<Trasformazione> nuovaConversioneRisconet(std::string belfiore);

}  // namespace pliventa
