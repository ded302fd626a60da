// The filter of the payments list: which records of a work file it shows, found
// in one streaming pass that a worker thread can run and the window can cancel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errore.h"
#include "records/archivio.h"
#include "records/scansione.h"

namespace pliventa {

/// The most records the list can show: a filtered list holds its record numbers
/// in 4 bytes each. A work file of more records (over 800 GB) is refused.
inline constexpr std::uint64_t kMassimoVersamentiElenco = 0xFFFFFFFFu;

/// The whole records of `archivio`, as many as the list can show. Errors:
/// InputOutput when its length cannot be read, Uso when it holds more than
/// kMassimoVersamentiElenco.
Esito<std::uint64_t> versamentiElenco(const ArchivioLavoro& archivio);

/// Which kind of payment the filter keeps.
enum class TipoFiltro {
    qualsiasi,   ///< both kinds
    ordinario,   ///< ordinary payments (column 26 anything but "6")
    violazione,  ///< payments on a violation notice (column 26 is "6")
};

/// The criteria of the filter bar; a record is shown when it meets all of them.
struct Filtro {
    /// Beginning of the codice fiscale, UTF-8 as typed, matched by the search rule
    /// (upper-cased, trimmed); empty or blank keeps every record.
    std::string prefisso{};
    /// Tax year, as typed and trimmed: empty keeps every year; two digits are
    /// compared with the two stored in field 6; four digits with the year as the
    /// window completes it ("03" is 2003, "95" is 1995, so "1903" matches nothing).
    /// Any other text matches nothing.
    std::string anno{};
    TipoFiltro tipo = TipoFiltro::qualsiasi;
    /// Keeps only the payments that break at least one of the checks, the
    /// duplicates of earlier payments included.
    bool soloAnomalie = false;

    /// True when the filter keeps every record, so that nothing has to be scanned.
    bool vuoto() const;
};

/// True when `anno` is a year text the filter understands: empty, or two or four
/// digits once trimmed. The window can warn on anything else, which matches nothing.
bool annoFiltroValido(std::string_view anno);

/// The numbers (1-based, ascending) of the whole records of `archivio` that meet
/// `filtro`, found on the parallel pass over a work file in `parti` runs (0: one
/// per processor), with its progress, cancel and rule for a file that changes.
/// When a criterion can match nothing (an unencodable prefix, an impossible year)
/// the file is not read: the result is empty and the progress is told complete.
/// Uses nothing but its arguments and a const `archivio` (positioned reads), so it
/// may run on a worker thread while the window reads the same file. Errors: those
/// of the pass (Annullato, InputOutput), Uso when the file holds more than
/// kMassimoVersamentiElenco records, InputOutput when the table of the
/// duplicates (soloAnomalie) does not fit in memory.
Esito<std::vector<std::uint32_t>> filtra(const ArchivioLavoro& archivio, const Filtro& filtro,
                                         const Controllo& controllo = {}, std::size_t parti = 0);

}  // namespace pliventa
