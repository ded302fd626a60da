// The subcommands of pliventa-cli. Each takes the arguments after its name and
// returns the exit code: kRiuscito, kErroreIO (message on standard error) or
// kErroreUso (short usage on standard error).
#pragma once

#include <span>
#include <string_view>

namespace pliventa::cli {

/// dump WORKFILE [--valuta E|L] [--notice long|short]: the records as JSON Lines.
int comandoDump(std::span<const std::string_view> argomenti);

/// search WORKFILE PREFIX: the numbers of the records whose codice fiscale begins
/// with PREFIX.
int comandoSearch(std::span<const std::string_view> argomenti);

/// export WORKFILE -o BOOK.xlsx [--valuta E|L] [--notice long|short]: the records
/// into an .xlsx workbook with their totals.
int comandoExport(std::span<const std::string_view> argomenti);

/// risconet INPUT --belfiore CODE [-o OUTPUT]: a Risconet export into CNC lines.
int comandoRisconet(std::span<const std::string_view> argomenti);

/// import LAYOUT INPUT [-o WORKFILE]: a payment file into a work file.
int comandoImport(std::span<const std::string_view> argomenti);

/// check WORKFILE [--valuta E|L]: one JSON object per anomaly, in record order.
int comandoCheck(std::span<const std::string_view> argomenti);

/// summary WORKFILE --by anno|mese|comune [--format text|csv|json] [--valuta E|L]:
/// the totals of the payments grouped by tax year and kind, payment month or
/// municipality.
int comandoSummary(std::span<const std::string_view> argomenti);

/// statement WORKFILE CODICEFISCALE [--format text|csv|json] [--valuta E|L]: the
/// totals by tax year of one taxpayer's payments, with their record numbers.
int comandoStatement(std::span<const std::string_view> argomenti);

/// list WORKFILE [--cf PREFIX] [--anno YEAR] [--tipo O|V] [--anomalie]
/// [--sort COLUMN[:desc]]: the numbers of the payments the list shows, in its order.
int comandoList(std::span<const std::string_view> argomenti);

}  // namespace pliventa::cli
