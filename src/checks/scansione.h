// The checks over a whole work file, for the window's list of anomalies.
#pragma once

#include <cstdint>
#include <vector>

#include "base/errore.h"
#include "checks/controlli.h"
#include "checks/duplicati.h"
#include "records/archivio.h"
#include "records/scansione.h"

namespace pliventa {

/// One rule broken by one payment: 8 bytes, so that the list stays small even
/// when most of a large file is wrong.
struct Anomalia {
    std::uint32_t numero = 0;  ///< 1-based record number
    Regola regola = Regola::codice_fiscale;
    bool operator==(const Anomalia&) const = default;
};

/// What a scan found.
struct AnomalieTrovate {
    std::vector<Anomalia> anomalie;  ///< in record order, then in the order of kRegole
    std::uint64_t versamenti = 0;    ///< whole payments checked
    std::uint64_t anomali = 0;       ///< payments that break at least one rule
    bool parziale = false;           ///< the file ends in a partial record, not checked
    /// The payments that repeat an earlier one, in record order: the value of
    /// their duplicato rows.
    std::vector<Duplicato> duplicati;

    /// The payment that record `numero` repeats; 0 when it repeats none.
    std::uint32_t originale(std::uint32_t numero) const;
};

/// Checks every whole payment of `archivio` on the parallel pass over a work file
/// in `parti` runs (0: one per processor), duplicates included. Returns the
/// pass's errors (InputOutput, Annullato), InputOutput when the duplicates' table
/// does not fit in memory, or Uso when the file has more payments than a 32-bit
/// record number holds (over 867 GB).
Esito<AnomalieTrovate> cercaAnomalie(const ArchivioLavoro& archivio,
                                     const Controllo& controllo = {}, std::size_t parti = 0);

}  // namespace pliventa
