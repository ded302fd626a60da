// The export of a whole work file to an .xlsx workbook: headers in row 1, the
// totals in row 2, one row per payment from row 3.
#pragma once

#include <cstdint>
#include <string>

#include "base/errore.h"
#include "records/archivio.h"
#include "records/scansione.h"
#include "records/versamento.h"

namespace pliventa {

/// Rows of a sheet: row 1 holds the headers and row 2 the totals, so a sheet takes
/// 1,048,574 payments.
inline constexpr std::uint32_t kRigheFoglio = 1'048'576;

struct OpzioniEsportazione {
    /// The currency box as typed: exactly "E" means amounts in euro cents.
    std::string valuta = "E";
    /// The notice arrangement the work file was written in.
    LetturaAtto lettura = LetturaAtto::lunga;
    /// The sheet's name, nomeFoglio() of the moment of the export.
    std::string nomeFoglio;
    /// Where the rows wait before the workbook is packed; empty: the system's
    /// temporary folder ($TMPDIR, else /tmp; a TMPDIR that cannot be used is an
    /// error). Needs about twice the sheet's XML.
    std::string cartellaTemporanea;
    /// Rows of the sheet; fewer only to try the limit on small files.
    std::uint32_t righeFoglio = kRigheFoglio;
};

/// The stages of an export, for a progress display: Controllo::nuovaFase() is told
/// each as it begins.
enum class FaseEsportazione : unsigned {
    totali,        ///< first reading of the work file, for row 2
    righe,         ///< one row per payment
    compressione,  ///< the workbook is packed; no count, and it cannot stop midway
};

/// What an export did.
struct RiepilogoEsportazione {
    std::uint64_t esportati = 0;  ///< payments written, one row each
    std::uint64_t esclusi = 0;    ///< payments left out because the sheet was full
    bool parziale = false;        ///< the work file ends in a partial record, left out
    /// Text cells holding a NUL character, written with U+FFFD in its place.
    std::uint64_t celleRiparate = 0;
};

/// Writes every whole record of `archivio` to the workbook `destinazione`. The
/// workbook is written to a temporary file beside it and renamed over it only when
/// complete, so a failure or a cancel leaves no new file and any file already at
/// `destinazione` as it was. Returns the summary, or an error: InputOutput naming
/// the path concerned (the work file, `destinazione` or the temporary folder) with
/// the system's reason, Annullato when `avanzamento` asked to stop.
Esito<RiepilogoEsportazione> stampaexcel(const ArchivioLavoro& archivio,
                                         const std::string& destinazione,
                                         const OpzioniEsportazione& opzioni,
                                         const Controllo& controllo = {});

}  // namespace pliventa
