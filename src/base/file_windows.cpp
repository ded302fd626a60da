// The opening of an input and the replacement of an output on Windows.
//
// Every file is opened sharing reading, writing and deletion, so that an import
// may put a new work file in place of one the window or a view holds open, as on
// POSIX. The new file is written beside the old one under a short hidden-style
// name (Windows has no file without a name), flushed, and put in place in one step
// by ReplaceFileW, which keeps the old file's attributes and security, or by
// MoveFileExW where there is no old file.
#include <fcntl.h>

#include <cerrno>
#include <string>
#include <utility>

#include "base/collegamenti.h"
#include "base/file.h"
#include "base/sistema.h"
#include "base/temporanei.h"
#include "base/windows_interno.h"

namespace pliventa {

namespace {

constexpr int kTentativi = 100;
constexpr DWORD kCondiviso = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

/// Renames the file `da` over `a`, replacing it even while other programs hold it
/// open with deletion shared (Windows 10 and later): the names change at once, and
/// those programs go on reading the old file. False with errno where the system
/// cannot.
bool rinominaComePosix(const std::wstring& da, const std::wstring& a) {
    const HANDLE h = ::CreateFileW(da.c_str(), DELETE | SYNCHRONIZE, kCondiviso, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return windows::fallito();
    }
    const std::size_t dimensione = sizeof(FILE_RENAME_INFO) + a.size() * sizeof(wchar_t);
    std::string spazio(dimensione, '\0');
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(spazio.data());
    info->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    info->FileNameLength = static_cast<DWORD>(a.size() * sizeof(wchar_t));
    a.copy(info->FileName, a.size());
    // FileRenameInfoEx (22), which the headers name only for newer targets.
    constexpr auto kRinominaEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
    const BOOL ok =
        ::SetFileInformationByHandle(h, kRinominaEx, info, static_cast<DWORD>(dimensione));
    const DWORD e = ::GetLastError();
    ::CloseHandle(h);
    if (!ok) {
        errno = windows::comeErrno(e);
        return false;
    }
    return true;
}

/// Puts `temporaneo` in place of `vero`. False with errno.
bool mettiAlPosto(const std::string& temporaneo, const std::string& vero) {
    const std::wstring da = windows::percorso(temporaneo);
    const std::wstring a = windows::percorso(vero);
    StatoFile vecchio;
    if (!statoPercorso(vero, vecchio)) {
        return ::MoveFileExW(da.c_str(), a.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
               windows::fallito();
    }
    // A file some program holds without sharing its deletion (the spreadsheet
    // program's workbook) is in use: said before ReplaceFileW tries, which may
    // leave a file of its own behind when it fails midway.
    const HANDLE prova =
        ::CreateFileW(a.c_str(), DELETE, kCondiviso, nullptr, OPEN_EXISTING, 0, nullptr);
    if (prova == INVALID_HANDLE_VALUE) {
        const DWORD e = ::GetLastError();
        errno = e == ERROR_SHARING_VIOLATION ? kFileAperto : windows::comeErrno(e);
        return false;
    }
    ::CloseHandle(prova);
    if (::ReplaceFileW(a.c_str(), da.c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                       nullptr) != 0) {
        return true;
    }
    const DWORD e = ::GetLastError();
    // The old file held open by a reader of ours (the window's work file): where
    // the system allows it, the new one takes its name all the same.
    if ((e == ERROR_SHARING_VIOLATION || e == ERROR_ACCESS_DENIED ||
         e == ERROR_UNABLE_TO_REMOVE_REPLACED || e == ERROR_UNABLE_TO_MOVE_REPLACEMENT) &&
        rinominaComePosix(da, a)) {
        return true;
    }
    errno = windows::comeErrno(e);
    return false;
}

}  // namespace

Esito<int> apriInLettura(const std::string& percorso) {
    // Backup semantics let a folder open, so that it is told apart as one.
    const HANDLE h = ::CreateFileW(windows::percorso(percorso).c_str(), GENERIC_READ, kCondiviso,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        windows::fallito();
        return erroreDiSistema(percorso, errno);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(h);
        return erroreDiSistema(percorso, EISDIR);
    }
    const int fd = windows::descrittore(h, _O_RDONLY);
    if (fd < 0) {
        return erroreDiSistema(percorso, errno);
    }
    return fd;
}

Esito<Sostituzione> Sostituzione::prepara(const std::string& percorso, bool descrittore) {
    Esito<Bersaglio> bersaglio = daSostituire(percorso);
    if (!bersaglio) {
        return bersaglio.errore();
    }
    Sostituzione s;
    s.percorso_ = percorso;
    s.vero_ = std::move(bersaglio->vero);
    StatoFile st;
    if (statoPercorso(s.vero_, st) && st.tipo != TipoFile::Regolare) {
        if (st.tipo == TipoFile::Cartella) {
            return erroreDiSistema(percorso, EISDIR);
        }
        // A device (NUL, CON, a printer port) or a pipe is written as it is.
        s.inPosto_ = true;
        s.nome_ = s.vero_;
        if (descrittore) {
            const HANDLE h = ::CreateFileW(windows::percorso(s.vero_).c_str(), GENERIC_WRITE,
                                           kCondiviso, nullptr, OPEN_EXISTING, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE) {
                windows::fallito();
                return erroreDiSistema(percorso, errno);
            }
            s.fd_ = windows::descrittore(h, _O_WRONLY);
            if (s.fd_ < 0) {
                return erroreDiSistema(percorso, errno);
            }
        }
        return s;
    }
    s.cartella_ = cartellaDelPercorso(s.vero_);
    temporanei::rimuoviAvanzi(s.cartella_);
    for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
        // Known to the console's handler and to the destructor before it exists.
        s.temporaneo_ =
            unisciPercorso(s.cartella_, nomeTemporaneo(numeroProcesso(), temporanei::prossimo()));
        s.posto_ = temporanei::registra(s.temporaneo_);
        // Deletion shared, so that the handler of Ctrl+C removes it while it is open.
        const HANDLE h =
            ::CreateFileW(windows::percorso(s.temporaneo_).c_str(), GENERIC_WRITE, kCondiviso,
                          nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            s.fd_ = windows::descrittore(h, _O_WRONLY);
            if (s.fd_ < 0) {
                return erroreDiSistema(percorso, errno);
            }
            s.nome_ = s.temporaneo_;
            return s;
        }
        windows::fallito();
        const int e = errno;
        s.temporaneo_.clear();  // not ours
        temporanei::libera(s.posto_);
        if (e != EEXIST) {
            return erroreDiSistema(percorso, e);
        }
    }
    return erroreDiSistema(percorso, EEXIST);
}

EsitoVuoto Sostituzione::completa() {
    if (inPosto_) {
        if (fd_ >= 0 && !chiudiDescrittore(std::exchange(fd_, -1))) {
            return erroreDiSistema(percorso_, errno);
        }
        return Nulla{};
    }
    if (fd_ < 0) {
        return erroreDiSistema(percorso_, EBADF);  // completed or discarded already
    }
    const auto fallito = [this](int e) -> EsitoVuoto {
        scarta();
        return erroreDiSistema(percorso_, e);
    };
    // On the disk before it takes the name: a power cut must find the old file or
    // the new one whole, never an empty one.
    const HANDLE h = windows::handle(fd_);
    if (h == INVALID_HANDLE_VALUE) {
        return fallito(errno);
    }
    if (!::FlushFileBuffers(h)) {
        windows::fallito();
        return fallito(errno);
    }
    if (!chiudiDescrittore(std::exchange(fd_, -1))) {
        return fallito(errno);
    }
    if (!mettiAlPosto(temporaneo_, vero_)) {
        return fallito(errno);
    }
    temporaneo_.clear();
    temporanei::libera(posto_);
    return Nulla{};
}

}  // namespace pliventa
