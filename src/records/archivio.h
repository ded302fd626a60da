// The work file opened for record access: records of 202 bytes read by number.
// Every read seeks; nothing is loaded whole, so files over 4 GiB work the same.
#pragma once

#include <cstdint>
#include <string>

#include "base/errore.h"
#include "base/sistema.h"
#include "records/versamento.h"

namespace pliventa {

class ArchivioLavoro {
public:
    /// Opens `percorso` for record access. Returns an InputOutput error naming the
    /// path when the file cannot be opened or is not a regular file: a directory,
    /// or a FIFO or device, which cannot be read by record number and would wait
    /// for a writer or read as empty.
    static Esito<ArchivioLavoro> apriarchivio(const std::string& percorso);

    ArchivioLavoro(ArchivioLavoro&& altro) noexcept;
    ArchivioLavoro& operator=(ArchivioLavoro&& altro) noexcept;
    ArchivioLavoro(const ArchivioLavoro&) = delete;
    ArchivioLavoro& operator=(const ArchivioLavoro&) = delete;
    ~ArchivioLavoro();

    /// Number of records: the file's length divided by 202, not rounded (a file
    /// of 2121 bytes gives 10.5). Computed afresh on every call. InputOutput error
    /// when the length cannot be read.
    Esito<double> numerorecord() const;

    /// The file's length in bytes, read afresh. InputOutput error when it cannot be read.
    Esito<std::uint64_t> lunghezza() const;

    /// Reads record `n` (1-based). A fractional number is rounded to the nearest
    /// whole one, a half to the even one (10.5 reads record 10). A final record cut
    /// short by the end of the file is padded with blanks. RecordInesistente when
    /// the number is below 1 or past the end, InputOutput when the read fails.
    Esito<Versamento> leggirecord(double n) const;

    /// Reads up to `quanti` whole records from record `primo` (1-based) on, in one
    /// read, into `buffer` (202 bytes each). Returns how many whole records it holds:
    /// 0 past the end. InputOutput error when the read fails.
    Esito<std::size_t> leggiblocco(std::uint64_t primo, std::size_t quanti,
                                   std::string& buffer) const;

    /// The path the file was opened with.
    const std::string& percorso() const { return percorso_; }

    /// The file open, as it was when opened.
    const IdentitaFile& identita() const { return identita_; }

    /// The file now found at percorso(), which another program may have replaced
    /// or rewritten since it was opened. An InputOutput error naming the path when
    /// there is none there (or it cannot be looked at).
    Esito<IdentitaFile> identitaSulDisco() const;

private:
    ArchivioLavoro(int fd, std::string percorso, IdentitaFile identita)
        : fd_(fd), percorso_(std::move(percorso)), identita_(identita) {}

    int fd_ = -1;
    std::string percorso_;
    IdentitaFile identita_;
};

}  // namespace pliventa
