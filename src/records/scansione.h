// The one pass over a work file. Every operation that reads a whole work file
// (search, dump, export, checks, summary, the list's filter) reads it here, so
// that they agree on what the file holds and on what it means when it changes
// while it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "base/controllo.h"
#include "base/errore.h"
#include "records/archivio.h"
#include "records/versamento.h"

namespace pliventa {

/// Whole records as one read gave them, in file order.
class Blocco {
public:
    Blocco() = default;
    Blocco(std::uint64_t primo, std::string_view byte) : primo_(primo), byte_(byte) {}

    /// The 1-based number of its first record.
    std::uint64_t primo() const { return primo_; }
    /// How many records it holds.
    std::size_t size() const { return byte_.size() / Versamento::kLunghezzaRecord; }
    bool empty() const { return byte_.empty(); }
    /// The 1-based number of its record `i`.
    std::uint64_t numero(std::size_t i) const { return primo_ + i; }
    /// The 202 bytes of its record `i`.
    std::string_view record(std::size_t i) const {
        return byte_.substr(i * Versamento::kLunghezzaRecord, Versamento::kLunghezzaRecord);
    }
    Versamento versamento(std::size_t i) const { return Versamento::daByte(record(i)); }

private:
    std::uint64_t primo_ = 1;
    std::string_view byte_;
};

/// What a whole pass met besides its records.
struct Lettura {
    std::uint64_t versamenti = 0;  ///< whole records read
    /// The file ends in a partial record (its length is not a multiple of 202
    /// bytes): not a payment, so left out; the caller warns.
    bool parziale = false;
};

/// Reads the whole records of a work file in order, a block at a time.
///
/// The rule every reader of a work file follows: the number of whole records is
/// taken once, when the scan starts. A trailing partial record is left out and
/// told by parziale(). A file that is shorter or longer than that when it is read
/// has been changed by someone else meanwhile (an import over it, a copy not yet
/// complete): what was read can no longer be trusted to be one file, so it is an
/// error.
class Scansione {
public:
    static constexpr std::uint64_t kFine = std::numeric_limits<std::uint64_t>::max();
    /// Records read with one system call: about 800 KB, so a pass over a million
    /// records takes a few hundred reads instead of a million.
    static constexpr std::size_t kRecordPerBlocco = 4096;

    /// The records `primo` to `ultimo` (1-based, both included; `ultimo` past the
    /// last record means the last) of `archivio`, which must outlive the scan.
    /// InputOutput naming the file when its length cannot be read.
    static Esito<Scansione> apri(const ArchivioLavoro& archivio, std::uint64_t primo = 1,
                                 std::uint64_t ultimo = kFine);

    /// The next block; an empty one after the last. InputOutput naming the file
    /// when a read fails, or when the file turns out shorter or (after the last
    /// block) longer than it was when the scan started.
    Esito<Blocco> prossimo();

    /// The file's length in bytes when the scan started.
    std::uint64_t lunghezza() const { return lunghezza_; }
    /// Whole records of the file when the scan started.
    std::uint64_t versamenti() const { return versamenti_; }
    /// The file ended in a partial record when the scan started.
    bool parziale() const { return parziale_; }
    /// Records of the range this scan reads.
    std::uint64_t daLeggere() const { return ultimo_ + 1 - primo_; }
    /// Records handed over so far.
    std::uint64_t letti() const { return successivo_ - primo_; }

private:
    Scansione(const ArchivioLavoro& archivio, std::uint64_t lunghezza, std::uint64_t primo,
              std::uint64_t ultimo);
    EsitoVuoto controllaLunghezza() const;
    Errore cambiato() const;

    const ArchivioLavoro* archivio_;
    std::uint64_t lunghezza_;  ///< bytes, when the scan started
    std::uint64_t versamenti_;
    bool parziale_;
    std::uint64_t primo_;
    std::uint64_t ultimo_;
    std::uint64_t successivo_;
    bool finito_ = false;
    std::string buffer_;
};

/// The error of a pass that finds `archivio` changed by someone else while it
/// reads it: InputOutput naming the file.
Errore cambiato(const ArchivioLavoro& archivio);

/// The error of a pass over `archivio` stopped by the caller: Annullato naming
/// the file.
Errore annullata(const ArchivioLavoro& archivio);

/// What a pass does with each block; an error stops the pass and is its result.
using PerBlocco = std::function<EsitoVuoto(const Blocco&)>;

/// Hands every block of `archivio` up to record `ultimo` (past the last record:
/// the last) in order to `f`, telling `controllo` the records done before the
/// first block and after each, and stopping with Annullato (naming the file) when
/// it asks between blocks. Returns what the pass met (`versamenti` counts the
/// file's whole records), or the first error of the scan or of `f`.
Esito<Lettura> scandisci(const ArchivioLavoro& archivio, const Controllo& controllo,
                         const PerBlocco& f, std::uint64_t ultimo = Scansione::kFine);

/// What one part of a parallel pass does with each of its blocks: `parte` is the
/// part's index, 0 for the records that come first.
using PerBloccoDiParte = std::function<EsitoVuoto(std::size_t parte, const Blocco&)>;

/// Called on the calling thread after each round of a parallel pass, once every
/// part has handed its blocks of the round over: what the parts found in the
/// round, taken in ascending part order, is in record order.
using FineGiro = std::function<EsitoVuoto()>;

/// How many parts parallelo() splits a pass over `versamenti` records into: one
/// per processor, but none smaller than a few blocks, where a thread would cost
/// more than it saves. At least 1.
std::size_t partiPerScansione(std::uint64_t versamenti);

/// The pass of scandisci() for work that costs time on every record, on `parti`
/// threads. The file is read in rounds of `parti` runs of consecutive records,
/// one run a part (a few blocks each); each part hands its run's blocks in order
/// to `f` with its index, then `giro` is called once the round is done. So a
/// part may keep what it finds apart from the others (`f` is called from several
/// threads at once, never twice at once for one part), and whoever merges the
/// parts' findings by ascending index after each round, or at the end for sums,
/// gets exactly what one pass gives, with memory bound by a round, not the file.
/// The progress is told from the calling thread only, after each round. An error
/// (of a read, of `f`, of `giro`, or a cancel) stops every part; of the errors
/// met, the one of the earliest part is returned.
Esito<Lettura> parallelo(const ArchivioLavoro& archivio, const Controllo& controllo,
                         std::size_t parti, const PerBloccoDiParte& f, const FineGiro& giro = {});

}  // namespace pliventa
