// The summary as a table of text: the cells of each row, and the CSV file that
// the command line prints and the window saves.
#pragma once

#include <string>
#include <vector>

#include "base/errore.h"
#include "records/somma.h"
#include "summary/riepilogo.h"

namespace pliventa {

/// `s` as exact text without grouping: divided by 100 with at least two decimals
/// when `euro` (123456 cents give 1234.56), as it is otherwise (whole lire without
/// decimals), with `punto` as the decimal mark and a leading "-" when negative.
/// Cannot fail.
std::string testoImporto(const SommaEsatta& s, bool euro, char punto);

/// The cells of `g`'s row in the columns of intestazioniRiepilogo(r), as UTF-8
/// text: the key, the kind (by tax year), the counts of payments and of violation
/// payments, the amounts of importiRiepilogo() by testoImporto() and the count of
/// anomalies. Cannot fail.
std::vector<std::string> celleRiepilogo(const GruppoRiepilogo& g, Raggruppamento r, bool euro,
                                        char punto);

/// The cells of the grand-total row: kTotaleGenerale in the first column, the
/// kind's column (by tax year) empty, then the totals as celleRiepilogo() writes
/// them. Cannot fail.
std::vector<std::string> celleTotaleGenerale(const Riepilogo& riepilogo, Raggruppamento r,
                                             bool euro, char punto);

/// The CSV separator: Italian spreadsheets read ";" as the field separator, since
/// "," is their decimal mark.
inline constexpr char kSeparatoreCsv = ';';

/// The summary by `r` as CSV text in UTF-8: the headers, one line per group and
/// the grand-total line, each ended by CR LF. Fields are separated by `separatore`
/// (kSeparatoreCsv in a file; a tab suits the clipboard) and put in double quotes
/// when they hold the separator, a quote or a line end. A key that a spreadsheet
/// would read as a formula is kept as text by testoNonFormula() (base/testo.h),
/// in quotes. Amounts are exact with "," as the decimal mark, as Italian
/// spreadsheets read numbers. Cannot fail.
std::string testoCsv(const Riepilogo& riepilogo, Raggruppamento r, bool euro,
                     char separatore = kSeparatoreCsv);

/// Refuses a save of `riepilogo` over the work file it was made from, by any name:
/// replacing it would lose the payments. Returns Uso naming `destinazione` then.
EsitoVuoto destinazioneAmmessa(const Riepilogo& riepilogo, const std::string& destinazione);

/// Writes testoCsv() with kSeparatoreCsv to `destinazione` through a Sostituzione
/// (base/file.h), so that a failure leaves any file already there as it was.
/// Returns Uso when `destinazione` is the summary's work file, InputOutput naming
/// `destinazione` with the system's reason when it cannot be written.
EsitoVuoto salvaCsv(const Riepilogo& riepilogo, Raggruppamento r, bool euro,
                    const std::string& destinazione);

}  // namespace pliventa
