// The operating system, behind one set of functions with one POSIX and one Windows
// implementation (sistema_posix.cpp, sistema_windows.cpp): the rest of the program
// reads and writes files, looks at them and asks for the time through these alone.
//
// Descriptors are small integers on both systems (on Windows a C runtime
// descriptor over a Win32 handle, read and written with ReadFile and WriteFile, so
// always in binary). Paths are UTF-8; on Windows they become UTF-16 at every call,
// "\" and "/" both separate folders, and long paths and network shares
// (\\server\share\...) work. A function that fails sets errno and returns -1 or
// false; on Windows errno carries the Win32 error translated by one table
// (errore_windows.cpp), so that motivoDiSistema() gives the same Italian words for
// the same condition on both systems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace pliventa {

/// What tells one file on disk from another, and a file from itself rewritten:
/// the device and inode (on Windows the volume's serial number and the file's
/// index) say which file a path leads to, the length and the time of the last
/// change whether it was written since. All zero: no file at all.
struct IdentitaFile {
    std::uint64_t dispositivo = 0;
    std::uint64_t inode = 0;
    std::uint64_t lunghezza = 0;
    std::int64_t secondi = 0;  ///< last modification
    std::int64_t nanosecondi = 0;

    bool operator==(const IdentitaFile&) const = default;
};

enum class TipoFile {
    Regolare,
    Cartella,
    Altro,  ///< a FIFO, a pipe, a device, a console
};

struct StatoFile {
    TipoFile tipo = TipoFile::Altro;
    IdentitaFile identita;
};

/// The descriptors a program starts with.
inline constexpr int kIngressoStandard = 0;
inline constexpr int kUscitaStandard = 1;
inline constexpr int kErroreStandard = 2;

/// The file `percorso` leads to (links followed). False with errno when it cannot
/// be looked at.
bool statoPercorso(const std::string& percorso, StatoFile& stato);

/// The file open on `fd`. False with errno when it cannot be looked at.
bool statoDescrittore(int fd, StatoFile& stato);

/// True when `a` and `b` both exist and are one file, by whatever name (a hard
/// link, a symbolic link, "..", on Windows another case of the same name or a
/// drive mapped to the same share).
bool stessoFile(const std::string& a, const std::string& b);

/// Reads at most `n` bytes from `fd` at its position, retrying an interrupted
/// read. The bytes read, 0 at the end, -1 with errno (EAGAIN: a descriptor that
/// does not wait has no data yet).
long long leggiDescrittore(int fd, void* dest, std::size_t n);

/// Reads `n` bytes from `fd` at the offset `da`, without moving anything another
/// thread reads (several threads read one work file at once), until `n` or the
/// end of the file. The bytes read, -1 with errno.
long long leggiDallaPosizione(int fd, void* dest, std::size_t n, std::uint64_t da);

/// Writes all `n` bytes to `fd`. False with errno when a write fails.
bool scriviDescrittore(int fd, const void* dati, std::size_t n);

/// Closes `fd`. False with errno when the close reports a failure (some file
/// systems tell a full disk only then).
bool chiudiDescrittore(int fd);

/// Waits at most `millisecondi` for data on `fd`, a FIFO, pipe or device. 1 when
/// a read would not wait (data, or the writer gone), 0 when the time ran out, -1
/// with errno.
int attendiDati(int fd, int millisecondi);

/// Tells the system that `fd` is read from start to end once, where it listens.
void letturaSequenziale(int fd);

/// True when `fd` is a terminal or console.
bool terminale(int fd);

/// `t` in the local time of this computer.
std::tm oraLocale(std::time_t t);

/// This computer's name, as the system gives it; empty when it gives none.
std::string nomeComputer();

/// The number of this process.
long numeroProcesso();

/// False when the process `pid` of this computer is known to be gone (a process
/// this user may not look at is taken to be running).
bool processoAttivo(long pid);

/// The names in the folder `cartella` (without "." and ".."), for a clean-up:
/// an empty list when the folder cannot be read.
std::vector<std::string> nomiNellaCartella(const std::string& cartella);

/// Removes the file `percorso`. False with errno when it cannot.
bool rimuoviFile(const std::string& percorso);

/// Removes the file `percorso` without allocating: safe in a signal handler (or,
/// on Windows, in the console's control handler, on a thread of its own).
void rimuoviFileSubito(const char* percorso) noexcept;

/// `percorso` joined to `nome` with this system's separator; "" is the current
/// folder.
std::string unisciPercorso(const std::string& cartella, const std::string& nome);

/// Where the folder part of `percorso` ends: the position of its last separator
/// ("/", on Windows "\" too, or the ":" of "C:nome"); npos when it has none.
std::size_t fineCartella(std::string_view percorso);

/// The folder of `percorso` ("." when it has none), splitting on this system's
/// separators.
std::string cartellaDelPercorso(const std::string& percorso);

/// The folder for temporary files of this user, before any check: $TMPDIR or /tmp
/// on POSIX, GetTempPathW on Windows.
std::string cartellaTemporaneaDelSistema();

/// True when this user may create files in the folder `cartella`; false with errno.
bool cartellaScrivibile(const std::string& cartella);

/// The C library's numbers on this thread while the object lives: printf and
/// strtod of this thread write and read "893.1", whatever the user's locale
/// (on an Italian desktop they would write "893,1"), and other threads keep theirs.
class NumeriC {
public:
    NumeriC();
    ~NumeriC();
    NumeriC(const NumeriC&) = delete;
    NumeriC& operator=(const NumeriC&) = delete;

private:
    void* precedente_ = nullptr;     ///< the locale (POSIX) or the LC_NUMERIC name (Windows)
    [[maybe_unused]] int modo_ = 0;  ///< the thread's locale mode before (Windows)
};

/// Runs `azione` when the user or the system ends the program (Ctrl+C, the
/// terminal closed, a shutdown: SIGINT, SIGTERM, SIGHUP, SIGQUIT; on Windows the
/// console's Ctrl+C, Ctrl+Break, close, logoff and shutdown events), then lets the
/// program end as it would have. `azione` must be safe in a signal handler. A
/// signal ignored by whoever started the program (nohup) stays ignored.
void allaTerminazione(void (*azione)() noexcept);

/// Makes the standard streams carry bytes as they are: on Windows binary mode (no
/// CR added before LF) and a console that shows UTF-8 ("già" accented); nothing
/// to do on POSIX.
void flussiStandardInBinario();

/// The program's arguments in UTF-8, without the program's name: on Windows read
/// again from the wide command line, as `argv` holds them in the ANSI code page.
std::vector<std::string> argomentiDelProgramma(int argc, char** argv);

}  // namespace pliventa
