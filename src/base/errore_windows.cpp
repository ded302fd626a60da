// The one table from Win32 errors to the conditions motivoDiSistema() names, so
// that a clerk on Windows reads the same words as one on Linux for a missing file,
// a folder, a refused permission, a full disk or a file another program holds.
#include <cerrno>

#include "base/errore.h"
#include "base/windows_interno.h"

namespace pliventa::windows {

int comeErrno(DWORD errore) {
    switch (errore) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NET_NAME:
        case ERROR_BAD_PATHNAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_LOGON_FAILURE:
        case ERROR_CANNOT_MAKE:
            return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
            return kFileAperto;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
#ifdef EDQUOT
        case ERROR_DISK_QUOTA_EXCEEDED:
            return EDQUOT;
#endif
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_DIR_NOT_EMPTY:
            return ENOTEMPTY;
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BUFFER_OVERFLOW:
            return ENAMETOOLONG;
        case ERROR_INVALID_NAME:
            return kNomeNonValido;
        case ERROR_NOT_READY:
        case ERROR_NO_MEDIA_IN_DRIVE:
            return kUnitaNonPronta;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_NO_SYSTEM_RESOURCES:
            return ENOBUFS;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_INVALID_HANDLE:
            return EBADF;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_INVALID_PARAMETER:
            return EINVAL;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
            return ENOTSUP;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_CANT_RESOLVE_FILENAME:
            return ELOOP;
        case ERROR_FILE_TOO_LARGE:
            return EFBIG;
        case ERROR_OPERATION_ABORTED:
            return ECANCELED;
        case ERROR_CRC:
        case ERROR_IO_DEVICE:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_UNEXP_NET_ERR:
            return EIO;
        case ERROR_FILE_CORRUPT:
        case ERROR_DISK_CORRUPT:
            return kFileSystemDanneggiato;
        // Files on a network share: the server gone, the share lost, a slow line.
        case ERROR_BAD_NETPATH:
        case ERROR_HOST_UNREACHABLE:
            return EHOSTUNREACH;
        case ERROR_NETNAME_DELETED:
            return ECONNRESET;
        case ERROR_NETWORK_UNREACHABLE:
            return ENETUNREACH;
        case ERROR_SEM_TIMEOUT:
            return ETIMEDOUT;
        case ERROR_NOT_CONNECTED:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_CONNECTION_UNAVAIL:
            return ENOTCONN;
        case ERROR_CONNECTION_REFUSED:
            return ECONNREFUSED;
        case ERROR_CONNECTION_ABORTED:
            return ECONNABORTED;
        default:
            return kBaseWindows + static_cast<int>(errore & 0xffff);
    }
}

bool fallito() {
    errno = comeErrno(::GetLastError());
    return false;
}

}  // namespace pliventa::windows
