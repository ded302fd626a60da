// The conversion of a Risconet export (a header line, then one payment a line,
// fields separated by ";") into 200-character lines of the CNC payment layout,
// the layout the ANCI-CNC 2000 import reads.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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

/// The CNC line of one Risconet payment line (without line end), numbered
/// `progressivo`, for the municipality `belfiore` (Windows-1252, cut to 4). Fields
/// the line lacks leave their columns blank. nullopt when the line writes nothing:
/// an empty line, or a line of four fields whose fourth is not "N".
std::optional<std::string> convertiRiga(std::string_view riga, std::string_view belfiore,
                                        std::uint64_t progressivo);

/// The transformation for importa(): drops the first line (the header) and turns
/// every payment line into its CNC line, numbered from 1.
std::unique_ptr<Trasformazione> nuovaConversioneRisconet(std::string belfiore);

}  // namespace pliventa
