// Writer of the work file: 200-character lines with CR LF, buffered, written to a
// new file beside the target that replaces it only when complete. A
// full buffer is written by a thread of its own while the next one fills, so
// reading the input and writing the work file overlap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/errore.h"
#include "base/file.h"
#include "importers/importazione.h"

namespace pliventa {

/// The work file being written: the Uscita that importa() hands to the layouts.
class ScrittoreArchivio final : public Uscita {
public:
    static constexpr std::size_t kBuffer = std::size_t{1} << 20;

    /// Prepares the writing of `percorso` through a Sostituzione: a regular file (or
    /// a new one) is replaced when complete, an existing path that is not a regular
    /// file (a device, a FIFO) is opened in place. Returns an InputOutput error
    /// naming `percorso` when neither can be done.
    static Esito<ScrittoreArchivio> apri(const std::string& percorso);

    ScrittoreArchivio(ScrittoreArchivio&& altro) noexcept;
    ScrittoreArchivio& operator=(ScrittoreArchivio&&) = delete;
    ScrittoreArchivio(const ScrittoreArchivio&) = delete;
    ScrittoreArchivio& operator=(const ScrittoreArchivio&) = delete;
    /// Removes the new file when chiudi() did not complete the work file.
    ~ScrittoreArchivio() override;

    /// Writes `riga` padded with blanks or cut to 200 characters, then CR LF.
    /// After a failure it writes nothing more; fallito() tells.
    void scrivi(std::string_view riga) override;

    /// True once a write has failed.
    bool fallito() const;

    /// Writes what is buffered and puts the file in place of the target (see
    /// Sostituzione::completa()). Returns an InputOutput error naming the target
    /// when any of that fails (or an earlier write failed); the new file is then
    /// removed and the previous target is left as it was.
    EsitoVuoto chiudi();

    /// The work file as the caller named it.
    const std::string& percorso() const { return sostituzione_.percorso(); }
    /// Lines written so far.
    std::uint64_t righe() const { return righe_; }
    /// Lines shorter than 200 characters, padded with blanks.
    std::uint64_t completate() const { return completate_; }
    /// Lines longer than 200 characters, cut.
    std::uint64_t troncate() const { return troncate_; }

private:
    struct Scrittura;  // the thread that writes into the file

    explicit ScrittoreArchivio(Sostituzione sostituzione);

    /// Hands the filled buffer over to be written and goes on with the other one.
    void svuota();
    /// Stops the writing and removes the new file.
    void scarta();

    // The file outlives the thread that writes into it: declared first, it is
    // destroyed last even when the construction fails halfway.
    Sostituzione sostituzione_;
    std::unique_ptr<Scrittura> scrittura_;
    std::unique_ptr<char[]> buffer_[2];
    int corrente_ = 0;  ///< the buffer being filled
    std::size_t usato_ = 0;
    std::uint64_t righe_ = 0;
    std::uint64_t completate_ = 0;
    std::uint64_t troncate_ = 0;
};

}  // namespace pliventa
