// Opening an input file the way every reader of Pliventa does, and the writing of
// an output file that replaces the old one only once it is complete: every writer
// (the imports, the conversion, the exports, the summary saves) goes through
// Sostituzione, so a failure, a cancel or a kill leaves the old file as it was.
#pragma once

#include <string>
#include <string_view>

#include "base/errore.h"
#include "base/sistema.h"

namespace pliventa {

/// Opens `percorso` read-only and returns its descriptor (the caller closes it).
/// A directory opens for reading on this system but cannot be read, so it is
/// refused here, before the caller does anything else. The open never waits: the
/// descriptor of anything but a regular file (a FIFO, a device) is non-blocking,
/// and its reader waits for data with attendiDati(). On Windows the file is
/// shared for reading, writing and deletion, so that an import may replace a work
/// file the window holds open. Returns an InputOutput error naming
/// the path with the system's reason.
Esito<int> apriInLettura(const std::string& percorso);

/// Refuses an output that is its own input by another name: the output replaces
/// its file once complete, so the input would be read whole and then lost.
/// `cosa` says what the input is to the user ("il file da importare"). Returns a
/// Uso error naming `uscita`, with `cosa` and `ingresso` in the reason.
EsitoVuoto uscitaDistinta(const std::string& ingresso, const std::string& uscita,
                          std::string_view cosa);

/// The folder for temporary files: `scelta` when not empty, else $TMPDIR when set
/// and not empty, else /tmp (on Windows the user's temporary folder). Checked to
/// be a folder this user may write in: a TMPDIR that is missing, not a folder or
/// not writable is an InputOutput error naming it, its reason beginning "cartella
/// dei file temporanei: ", never a quiet fall back on /tmp (the user set it to
/// have room elsewhere).
Esito<std::string> cartellaTemporanea(const std::string& scelta = {});

/// A new file being written in place of an output file.
///
/// The new file is made in the folder of the file it replaces, so that a rename
/// puts it in place without copying. Where the file system allows it, it has no
/// name at all until it is complete (a killed program leaves nothing behind);
/// elsewhere (network shares, USB sticks) it has a short hidden name of its own,
/// ".pliventa-PID-N-HOST.tmp", whatever the length of the destination's name.
/// Such a name left behind by a program that was killed is removed when a later
/// one makes a new file in the same folder and that process is gone. The
/// environment variable PLIVENTA_TEMPORANEI_CON_NOME=1 asks for the named route
/// everywhere (to try it on any file system).
///
/// An output that is a symbolic link stays one: the file it leads to is replaced.
/// In a folder that everyone may write in and that keeps each name to its owner
/// (mode 1777, /tmp), a symbolic link on the way is followed only when it belongs
/// to this user or to the folder's owner, as the system does when it opens a
/// path: another user's link there may have been planted to turn this user's
/// writing onto a file of his. An existing output that is not a regular file (a
/// device, a FIFO, the pipe or terminal of /dev/stdout) cannot be renamed over and
/// is written in place as a stream; /dev/stdout or /dev/fd/N that leads to a
/// regular file is a file the shell opened (perhaps to append to it) and is
/// refused. The destruction of an incomplete Sostituzione removes the new file.
class Sostituzione {
public:
    /// Prepares to write `percorso`. When `descrittore` is false the caller writes
    /// through nome() alone and nothing is opened for a device or FIFO written in
    /// place. Returns an InputOutput error naming `percorso` (a folder, a symbolic
    /// link that loops or leads nowhere, a folder that refuses a new file) or the
    /// link (another user's link in a shared folder); Uso naming `percorso` for a
    /// descriptor of the shell that is a regular file.
    static Esito<Sostituzione> prepara(const std::string& percorso, bool descrittore = true);

    Sostituzione(Sostituzione&& altro) noexcept;
    Sostituzione& operator=(Sostituzione&&) = delete;
    Sostituzione(const Sostituzione&) = delete;
    Sostituzione& operator=(const Sostituzione&) = delete;
    /// Removes the new file unless completa() put it in place.
    ~Sostituzione();

    /// The descriptor open for writing; -1 for a device or FIFO prepared without
    /// one. It stays owned by the Sostituzione.
    int fd() const { return fd_; }
    /// A name that opens the new file again, for writers that take a name (the
    /// workbook library): the temporary name, a name under /proc for a file that
    /// has none, or the output itself when written in place.
    const std::string& nome() const { return nome_; }
    /// The output as the caller named it.
    const std::string& percorso() const { return percorso_; }

    /// Makes the new file durable and puts it in place of the output: it takes the
    /// permissions (and, where the system allows, the owner and group) of the file
    /// it replaces, is synced to the disk, renamed over the output, and the folder
    /// is synced after the rename. Returns an InputOutput error naming the output
    /// with the system's reason; the new file is then removed and the old one left.
    EsitoVuoto completa();

    /// Closes and removes the new file, leaving the output as it was.
    void scarta();

private:
    Sostituzione() = default;

    std::string percorso_;  ///< the output as the caller named it, for messages
    std::string vero_;      ///< the file replaced (a symbolic link followed)
    std::string cartella_;  ///< the folder of vero_
    std::string nome_;
    std::string temporaneo_;  ///< the name the new file has, if any
    int fd_ = -1;
    int posto_ = -1;  ///< the slot that lets a signal handler remove temporaneo_
    bool anonimo_ = false;
    bool inPosto_ = false;
};

/// The name of the temporary file number `numero` of process `pid` on this
/// computer, without folder.
std::string nomeTemporaneo(long pid, unsigned numero);

/// Removes the named temporary files of this process that are not complete.
/// Async-signal-safe: meant for a handler of SIGINT, SIGTERM, SIGHUP or SIGQUIT
/// that then ends the process.
void rimuoviTemporaneiAperti() noexcept;

}  // namespace pliventa
