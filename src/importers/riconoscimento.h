// The layout of an input file told from its first lines, for an import of several
// files whose layouts the clerk does not name one by one.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/errore.h"
#include "importers/importatori.h"

namespace pliventa {

/// The kinds of input an import reads: the four layouts, and the Risconet export,
/// whose lines are converted into ANCI-CNC 2000 lines on the way.
enum class Formato { cnc2000, cnc1997, viol1997, f24, risconet };

/// What the first lines of a file tell of its layout.
struct Riconoscimento {
    std::optional<Formato> formato;  ///< nullopt when it cannot be told
    std::string motivo;              ///< why it cannot, in Italian; empty otherwise
};

/// How much of a file is looked at: its first lines, never the whole file.
inline constexpr std::size_t kInizioLetto = 8192;

/// The layout of a file that begins with `inizio`. `intero` says that `inizio` is
/// the whole file; otherwise its last line, cut by the limit, is left out. The
/// rules, in order:
/// - no line with something in it: the file is empty;
/// - a NUL byte or a control character other than tab, CR, LF and the end-of-file
///   mark (26): not a text file;
/// - every line holds a ";": a Risconet export (its header, then its payments);
/// - a line that begins with "G1" and is at least 260 characters long: F24;
/// - otherwise the payment lines decide (type "3" or "6" in column 26, at least
///   34 characters): a payment date with a two-digit year in columns 27-32, not
///   followed by two digits (and no four-digit one in 27-34), is the 1997 layout;
///   a four-digit year is ANCI-CNC
///   2000, or the 1997 violations when the violation lines read their notice date
///   (ddmmyyyy) in the short arrangement (columns 181-188) and none in the long
///   one (184-191). Lines of both kinds of year, or notices of both arrangements,
///   cannot be told apart, nor a file without a payment line to read.
Riconoscimento riconosci(std::string_view inizio, bool intero);

/// Reads the first kInizioLetto bytes of `percorso` and tells its layout. A file
/// that is not a regular file (a FIFO would lose the bytes read) cannot be told.
/// Returns an InputOutput error naming the path when it cannot be read.
Esito<Riconoscimento> riconosciFile(const std::string& percorso);

/// The name of `formato` on the command line: "cnc2000", "cnc1997", "viol1997",
/// "f24", "risconet".
std::string_view nomeFormato(Formato formato);

/// The kind of input of the layout `tracciato`.
Formato formatoDi(Tracciato tracciato);

/// The layout whose import writes the records of `formato`: the converted lines
/// of a Risconet export are read by the ANCI-CNC 2000 import.
Tracciato tracciatoDi(Formato formato);

}  // namespace pliventa
