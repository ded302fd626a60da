// Search by the beginning of the codice fiscale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/archivio.h"
#include "records/errore.h"
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

/// Scans a work file from record 1 to its last whole record, reading in blocks,
/// and stops at each match.
class ScansioneRicerca {
public:
    /// A scan of `archivio` (which must outlive it) for `testoUtf8` as typed.
    /// The record count is taken once, here.
    ScansioneRicerca(const ArchivioLavoro& archivio, std::string_view testoUtf8);

    /// The next match, nullopt at the end of the file, or an InputOutput error.
    Esito<std::optional<Trovato>> prossimo();

    /// The record count taken at the start; a fraction tells of a trailing partial
    /// record, which the scan leaves out. 0 when the count failed.
    double conteggio() const { return conteggio_; }

    /// When the file ended before the whole records counted at the start (it was
    /// cut short while being scanned): how many it gave. nullopt otherwise.
    std::optional<std::uint64_t> accorciato() const { return accorciato_; }

private:
    const ArchivioLavoro& archivio_;
    std::optional<std::string> chiave_;
    double conteggio_ = 0;
    std::optional<std::uint64_t> accorciato_;
    std::uint64_t totale_ = 0;
    std::uint64_t successivo_ = 1;  ///< number of the next record to look at
    std::string blocco_;
    std::uint64_t primoDelBlocco_ = 1;
    std::size_t nelBlocco_ = 0;
    std::optional<Errore> errore_;
};

}  // namespace pliventa
