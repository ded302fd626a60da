// Line reader of the imports: the input read in large blocks, one line handed
// over at a time, so memory stays the same whatever the size of the file.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

#include "base/errore.h"
#include "importers/importazione.h"

namespace pliventa {

/// Reads a file line by line. CR LF, LF alone and CR alone each end a line (a CR
/// at the end of one block and the LF at the start of the next are one line end);
/// a last line without line end is still a line; line-end characters are never
/// part of a line. A line longer than rigaMassima() (Riga::kMaxRiga unless set)
/// keeps its first bytes and its true length; memory holds one such line at most.
class LettoreRighe {
public:
    static constexpr std::size_t kBlocco = std::size_t{1} << 20;

    /// Opens `percorso` for reading. Returns an InputOutput error naming the path
    /// when it is missing, unreadable or a directory.
    static Esito<LettoreRighe> apri(const std::string& percorso, std::size_t blocco = kBlocco);

    LettoreRighe(LettoreRighe&& altro) noexcept;
    LettoreRighe& operator=(LettoreRighe&& altro) noexcept;
    LettoreRighe(const LettoreRighe&) = delete;
    LettoreRighe& operator=(const LettoreRighe&) = delete;
    ~LettoreRighe();

    /// Fills `riga` with the next line, valid until the next call. Returns true
    /// for a line, false at the end of the input, or an InputOutput error naming
    /// the path when a read fails. An input that is not a regular file (a FIFO, a
    /// device) may keep it waiting for its writer: an Annullato error when the
    /// flag of seguiAnnullamento() is set meanwhile.
    Esito<bool> prossima(Riga& riga);

    /// The longest line handed over whole, in bytes (at least 1); set before the
    /// first line is read.
    void rigaMassima(std::size_t byte) { massimo_ = std::max<std::size_t>(byte, 1); }
    /// Makes a wait for input end, within a tenth of a second, once `annulla` is
    /// set; null: a wait lasts until the input comes or ends.
    void seguiAnnullamento(const std::atomic<bool>* annulla) { annulla_ = annulla; }

    /// The path it reads.
    const std::string& percorso() const { return percorso_; }

private:
    LettoreRighe(int fd, std::string percorso, std::size_t blocco, bool attende);

    /// Reads the next block into the buffer; false at the end of the file.
    Esito<bool> riempi();
    /// Waits until the input can be read (data, or its end); Annullato on a cancel.
    Esito<bool> attendi();
    /// Adds `n` bytes at `p` to the line that spans blocks, keeping at most massimo_.
    void accumula(const char* p, std::size_t n);
    /// The position of the first CR or LF from pos_ on, or fine_ when the block
    /// has none.
    std::size_t cercaFineRiga();
    /// Hands over the line gathered across blocks; false when there is none.
    bool consegnaParziale(Riga& riga);

    int fd_ = -1;
    std::string percorso_;
    std::size_t blocco_ = kBlocco;
    std::size_t massimo_ = Riga::kMaxRiga;
    bool attende_ = false;  ///< not a regular file: its reads wait, through poll()
    const std::atomic<bool>* annulla_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;         ///< next unread byte of the buffer
    std::size_t fine_ = 0;        ///< bytes held in the buffer
    std::size_t prossimoLF_ = 0;  ///< position of the next LF at or after pos_, or fine_
    std::size_t prossimoCR_ = 0;  ///< position of the next CR at or after pos_, or fine_
    bool eof_ = false;
    bool saltaLF_ = false;  ///< the last line ended with a CR: a LF right after belongs to it
    std::string parziale_;  ///< the start of a line that spans blocks
    std::uint64_t lunghezzaParziale_ = 0;
    bool inParziale_ = false;
};

}  // namespace pliventa
