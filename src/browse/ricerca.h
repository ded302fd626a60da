// Search by the beginning of the codice fiscale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/errore.h"
#include "records/archivio.h"
#include "records/scansione.h"
#include "records/versamento.h"

namespace pliventa {

/// The match rule: the codice fiscale (field 5, Windows-1252 bytes) trimmed of
/// blanks begins with `cercato` (Windows-1252 bytes, already upper-cased and
/// trimmed). Case matters on the record's side; an empty `cercato` matches all.
bool corrisponde(std::string_view codiceFiscale, std::string_view cercato);

/// The search text as the rule compares it: upper-cased, trimmed of blanks and
/// turned into Windows-1252; nullopt when it holds a character the work file
/// cannot contain or is not well-formed UTF-8 (then nothing matches).
std::optional<std::string> chiaveRicerca(std::string_view testoUtf8);

/// A matching record.
struct Trovato {
    std::uint64_t numero = 0;  ///< 1-based record number
    Versamento versamento;
};

/// Scans a work file from record 1 to its last whole record, on the one pass over
/// a work file, and stops at each match.
class ScansioneRicerca {
public:
    /// A scan of `archivio` (which must outlive it) for `testoUtf8` as typed.
    /// The record count is taken once, here.
    ScansioneRicerca(const ArchivioLavoro& archivio, std::string_view testoUtf8);

    /// The next match, nullopt at the end of the file, or the scan's error (a read
    /// failed, the file changed meanwhile).
    Esito<std::optional<Trovato>> prossimo();

    /// The file ended in a partial record, which the scan leaves out.
    bool parziale() const { return scansione_.ok() && scansione_->parziale(); }

private:
    std::optional<std::string> chiave_;
    Esito<Scansione> scansione_;
    Blocco blocco_;
    std::size_t indice_ = 0;  ///< the next record of blocco_ to look at
};

}  // namespace pliventa
