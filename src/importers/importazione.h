// The one streaming routine every import runs: input lines in, 200-character
// payment lines out, one line held at a time. Importers differ only in the
// Trasformazione they plug in.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/controllo.h"
#include "base/errore.h"

namespace pliventa {

/// Where a transformation writes its payment lines. Each line is padded with blanks
/// or cut to exactly 200 characters and ended with CR LF, so the work file is always
/// a whole number of 202-byte records.
class Uscita {
public:
    virtual ~Uscita() = default;
    /// Writes one payment line (without line end).
    virtual void scrivi(std::string_view riga) = 0;
};

/// One line of the input as the reader hands it over: its first characters (at
/// most kMaxRiga bytes, or what the transformation asks for; no line end) and its
/// true length.
struct Riga {
    static constexpr std::size_t kMaxRiga = 4096;
    std::string_view testo;
    std::uint64_t lunghezza = 0;  ///< may exceed testo.size() for a very long line
};

/// A line filter or a transformation: sees every input line in order, writes
/// zero or more payment lines, and may flush what it holds at the end.
class Trasformazione {
public:
    virtual ~Trasformazione() = default;
    /// Handles one input line; returns false when the line was skipped (not taken).
    virtual bool riga(const Riga& riga, Uscita& uscita) = 0;
    /// Called once after the last line.
    virtual void fine(Uscita& /*uscita*/) {}
    /// The longest line it reads whole, in bytes: a longer one is handed over cut
    /// to this length, and counted (Conteggi::righeTagliate). The fixed-width layouts
    /// read their first few hundred characters; a layout of separated fields needs
    /// its lines whole.
    virtual std::size_t rigaMassima() const { return Riga::kMaxRiga; }
    /// Amounts met since the transformation was made that have more digits than
    /// their field of the work file holds, and so were written without their
    /// leading digits (or sign). Layouts that copy their lines have none.
    virtual std::uint64_t importiFuoriFormato() const { return 0; }
};

/// Counts of one import, for the status bar and the command line.
struct Conteggi {
    std::uint64_t righeLette = 0;     ///< input lines read
    std::uint64_t righeScartate = 0;  ///< input lines the transformation did not take
    std::uint64_t versamenti = 0;     ///< payment lines written
    std::uint64_t completate = 0;     ///< written lines shorter than 200, padded with blanks
    std::uint64_t troncate = 0;       ///< written lines longer than 200, cut
    /// Input lines longer than the transformation reads whole (rigaMassima()),
    /// handed over cut: what followed was not read.
    std::uint64_t righeTagliate = 0;
    /// Amounts (F24: a line's debit or credit, a group's total or interest) written
    /// without the leading digits their field has no room for.
    std::uint64_t importiFuoriFormato = 0;

    /// Adds the counts of another input, for the totals of an import of several.
    Conteggi& operator+=(const Conteggi& altri);
};

/// Reads `input` line by line (CR LF, LF or CR end a line; a last line without
/// end is still a line), passes each line to `t`, and writes the work file
/// `output`. The output is written to a temporary file beside it and renamed over
/// `output` only when complete, so a failure leaves the previous file as it was;
/// an existing `output` that is not a regular file (a device, a FIFO) is written in
/// place instead. Returns the counts, or an InputOutput error naming the path
/// (the input's when it cannot be read, the output's when it cannot be written),
/// Uso naming `output` when it is the input by another name (nothing written), or
/// Annullato when `controllo` asked to stop (it is looked at every few thousand
/// lines): then, as after any failure, no temporary file is left and `output` is
/// as it was. The progress told is the bytes of the input read so far (line ends
/// counted as one byte, so a little short of the truth) and the input's size (0
/// when it has none, a FIFO for one).
Esito<Conteggi> importa(const std::string& input, const std::string& output, Trasformazione& t,
                        const Controllo& controllo = {});

class LettoreRighe;

/// The same, from an input already opened: a caller that must know the input is
/// readable before it asks anything more opens it first.
Esito<Conteggi> importa(LettoreRighe& lettore, const std::string& output, Trasformazione& t,
                        const Controllo& controllo = {});

/// One input of an import of several files: its path and the transformation its
/// own import would use, a new one for each input (numbering and groups start
/// afresh in every file, as they do when it is imported alone).
struct Ingresso {
    std::string percorso;
    std::unique_ptr<Trasformazione> trasformazione;
};

/// Imports `ingressi`, in order, into the one work file `output`: the records of
/// each input are those its own import would write, one input after the other, so
/// the work file is the concatenation of the work files of the single imports (a
/// work file has no header and its records no number of their own). Every input
/// is found readable before anything is written. Returns the counts of each input,
/// in order, or the first error (naming the input or the output) or Annullato;
/// then no new file is left and `output` is as it was. The progress told is the
/// bytes read of all the inputs together, of their total size.
Esito<std::vector<Conteggi>> importaTutti(std::span<Ingresso> ingressi, const std::string& output,
                                          const Controllo& controllo = {});

}  // namespace pliventa
