// What the Windows implementations of src/base share: paths and texts in UTF-16
// at every Win32 call, and the Win32 error as errno. Internal to src/base, and
// included only where _WIN32 is defined.
#pragma once

#include <windows.h>

#include <string>

namespace pliventa::windows {

/// UTF-8 to UTF-16; an invalid sequence becomes U+FFFD.
std::wstring largo(const std::string& testo);

/// UTF-16 to UTF-8.
std::string stretto(const wchar_t* testo, int lunghezza = -1);

/// `percorso` as Win32 wants it: UTF-16, "/" turned to "\", and a path longer than
/// the old limit of 260 characters made absolute under "\\?\" (or "\\?\UNC\" for
/// a network share), where that limit does not hold.
std::wstring percorso(const std::string& percorso);

/// The errno value for a Win32 error (GetLastError()): the one table.
int comeErrno(DWORD errore);

/// Sets errno from GetLastError() and returns false, for the functions of
/// sistema.h that fail.
bool fallito();

/// The Win32 handle behind the descriptor `fd`; INVALID_HANDLE_VALUE (errno set)
/// when there is none.
HANDLE handle(int fd);

/// A descriptor that owns `h`, opened for `modo` (_O_RDONLY, _O_WRONLY); -1 with
/// errno when the runtime refuses it, and `h` is then closed.
int descrittore(HANDLE h, int modo);

}  // namespace pliventa::windows
