// The summary saved as an .xlsx workbook through the export's writer.
#pragma once

#include <string>

#include "base/errore.h"
#include "summary/riepilogo.h"

namespace pliventa {

/// The sheet's name for the summary by `r`: "Riepilogo per anno", "Riepilogo per
/// mese", "Riepilogo per comune".
std::string nomeFoglioRiepilogo(Raggruppamento r);

/// Writes the summary by `r` to the workbook `destinazione`, one sheet: the headers
/// of intestazioniRiepilogo(r) in row 1, one row per group, and the grand total in
/// bold in the last row. Counts and amounts are numbers: amounts in euro (cents
/// divided by 100, shown "#,##0.00") when `euro`, whole lire otherwise. A
/// four-digit tax year is a number, every other key text. The workbook is written
/// through a Sostituzione (base/file.h), so that a failure leaves any file
/// already at `destinazione` as it was; its rows wait in `cartellaTemporanea`
/// (empty: the system's temporary folder).
/// Returns Uso when `destinazione` is the summary's work file, InputOutput naming
/// the path concerned with the system's reason when a file cannot be written.
EsitoVuoto salvaRiepilogoExcel(const Riepilogo& riepilogo, Raggruppamento r, bool euro,
                               const std::string& destinazione,
                               const std::string& cartellaTemporanea = "");

}  // namespace pliventa
