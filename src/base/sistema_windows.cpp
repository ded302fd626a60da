// The functions of sistema.h on Windows: Win32 calls with UTF-16 paths, reads and
// writes through ReadFile and WriteFile (binary, whatever the runtime's mode).
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#include <fcntl.h>
#include <io.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "base/sistema.h"
#include "base/windows_interno.h"

namespace pliventa {

namespace windows {

std::wstring largo(const std::string& testo) {
    if (testo.empty()) {
        return {};
    }
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
    std::wstring r(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), r.data(), n);
    return r;
}

std::string stretto(const wchar_t* testo, int lunghezza) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, testo, lunghezza, nullptr, 0, nullptr, nullptr);
    if (n <= 0) {
        return {};
    }
    std::string r(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, testo, lunghezza, r.data(), n, nullptr, nullptr);
    if (lunghezza < 0) {
        r.pop_back();  // the terminating NUL, counted when the length is not given
    }
    return r;
}

std::wstring percorso(const std::string& percorso) {
    std::wstring w = largo(percorso);
    std::replace(w.begin(), w.end(), L'/', L'\\');
    // The old limit: MAX_PATH less room for a file name of 8.3 in a folder.
    if (w.size() < MAX_PATH - 12 || w.starts_with(L"\\\\?\\") || w.starts_with(L"\\\\.\\")) {
        return w;
    }
    const DWORD n = ::GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) {
        return w;
    }
    std::wstring pieno(n, L'\0');
    const DWORD scritti = ::GetFullPathNameW(w.c_str(), n, pieno.data(), nullptr);
    pieno.resize(scritti);
    if (pieno.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + pieno.substr(2);
    }
    return L"\\\\?\\" + pieno;
}

HANDLE handle(int fd) {
    const auto h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (h == INVALID_HANDLE_VALUE) {
        errno = EBADF;
    }
    return h;
}

int descrittore(HANDLE h, int modo) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(h), modo | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(h);
        errno = EMFILE;
    }
    return fd;
}

}  // namespace windows

namespace {

/// 100-nanosecond steps from 1601-01-01 (Windows) to 1970-01-01 (the Unix epoch).
constexpr std::int64_t kDa1601 = 116444736000000000LL;

bool statoDiHandle(HANDLE h, StatoFile& stato) {
    const DWORD tipo = ::GetFileType(h);
    if (tipo != FILE_TYPE_DISK) {
        if (tipo == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR) {
            return windows::fallito();
        }
        stato = StatoFile{};
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) {
        return windows::fallito();
    }
    const std::int64_t scritto =
        static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
            info.ftLastWriteTime.dwLowDateTime) -
        kDa1601;
    stato.tipo = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? TipoFile::Cartella
                                                                         : TipoFile::Regolare;
    stato.identita = {info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                      (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                      scritto / 10000000, (scritto % 10000000) * 100};
    return true;
}

/// At most what one ReadFile or WriteFile takes.
DWORD pezzo(std::size_t n) {
    return static_cast<DWORD>(std::min<std::size_t>(n, 1U << 30));
}

}  // namespace

bool statoPercorso(const std::string& percorso, StatoFile& stato) {
    // Backup semantics: a folder opens too, and only to be looked at.
    const HANDLE h = ::CreateFileW(windows::percorso(percorso).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return windows::fallito();
    }
    // A file removed while a program holds it open keeps its name until it is
    // closed (where deletion has not POSIX's semantics): it is gone all the same.
    FILE_STANDARD_INFO standard{};
    if (::GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard) &&
        standard.DeletePending) {
        ::CloseHandle(h);
        errno = ENOENT;
        return false;
    }
    const bool ok = statoDiHandle(h, stato);
    ::CloseHandle(h);
    return ok;
}

bool statoDescrittore(int fd, StatoFile& stato) {
    const HANDLE h = windows::handle(fd);
    return h != INVALID_HANDLE_VALUE && statoDiHandle(h, stato);
}

bool stessoFile(const std::string& a, const std::string& b) {
    StatoFile sa, sb;
    // A device has no identity: NUL is never the input.
    return statoPercorso(a, sa) && statoPercorso(b, sb) && sa.tipo != TipoFile::Altro &&
           sb.tipo != TipoFile::Altro && sa.identita.dispositivo == sb.identita.dispositivo &&
           sa.identita.inode == sb.identita.inode;
}

long long leggiDescrittore(int fd, void* dest, std::size_t n) {
    const HANDLE h = windows::handle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        return -1;
    }
    DWORD letti = 0;
    if (!::ReadFile(h, dest, pezzo(n), &letti, nullptr)) {
        const DWORD e = ::GetLastError();
        // A pipe whose writer has gone ends there, as a FIFO does on POSIX.
        if (e == ERROR_BROKEN_PIPE || e == ERROR_HANDLE_EOF) {
            return 0;
        }
        errno = windows::comeErrno(e);
        return -1;
    }
    return letti;
}

long long leggiDallaPosizione(int fd, void* dest, std::size_t n, std::uint64_t da) {
    const HANDLE h = windows::handle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        return -1;
    }
    char* p = static_cast<char*>(dest);
    std::size_t letti = 0;
    while (letti < n) {
        // The offset goes with each read: threads that share the handle never move
        // one another's position.
        OVERLAPPED dove{};
        const std::uint64_t qui = da + letti;
        dove.Offset = static_cast<DWORD>(qui & 0xffffffffU);
        dove.OffsetHigh = static_cast<DWORD>(qui >> 32);
        DWORD r = 0;
        if (!::ReadFile(h, p + letti, pezzo(n - letti), &r, &dove)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            windows::fallito();
            return -1;
        }
        if (r == 0) {
            break;
        }
        letti += r;
    }
    return static_cast<long long>(letti);
}

bool scriviDescrittore(int fd, const void* dati, std::size_t n) {
    const HANDLE h = windows::handle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    const char* p = static_cast<const char*>(dati);
    while (n > 0) {
        DWORD scritti = 0;
        if (!::WriteFile(h, p, pezzo(n), &scritti, nullptr)) {
            return windows::fallito();
        }
        p += scritti;
        n -= scritti;
    }
    return true;
}

bool chiudiDescrittore(int fd) {
    if (::_close(fd) != 0) {
        errno = EIO;
        return false;
    }
    return true;
}

int attendiDati(int fd, int millisecondi) {
    const HANDLE h = windows::handle(fd);
    if (h == INVALID_HANDLE_VALUE) {
        return -1;
    }
    if (::GetFileType(h) != FILE_TYPE_PIPE) {
        return 1;  // a console or device: its read waits as it must
    }
    // A pipe cannot be waited on together with a timeout: it is looked at often.
    const auto fine = std::chrono::steady_clock::now() + std::chrono::milliseconds(millisecondi);
    for (;;) {
        DWORD pronti = 0;
        if (!::PeekNamedPipe(h, nullptr, 0, nullptr, &pronti, nullptr)) {
            return 1;  // the writer gone: the read says the input has ended
        }
        if (pronti > 0) {
            return 1;
        }
        if (std::chrono::steady_clock::now() >= fine) {
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void letturaSequenziale(int /*fd*/) {}

bool terminale(int fd) {
    DWORD modo = 0;
    const HANDLE h = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    return h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &modo) != 0;
}

std::tm oraLocale(std::time_t t) {
    std::tm r{};
    ::localtime_s(&r, &t);
    return r;
}

std::string nomeComputer() {
    wchar_t nome[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(nome, &n)) {
        return {};
    }
    return windows::stretto(nome, static_cast<int>(n));
}

long numeroProcesso() {
    return static_cast<long>(::GetCurrentProcessId());
}

bool processoAttivo(long pid) {
    const HANDLE p =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (p == nullptr) {
        // No such process; one of another user's that this one may not open runs.
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD codice = 0;
    const bool attivo = !::GetExitCodeProcess(p, &codice) || codice == STILL_ACTIVE;
    ::CloseHandle(p);
    return attivo;
}

std::vector<std::string> nomiNellaCartella(const std::string& cartella) {
    std::vector<std::string> nomi;
    WIN32_FIND_DATAW voce{};
    const HANDLE h = ::FindFirstFileW(
        windows::percorso(unisciPercorso(cartella.empty() ? "." : cartella, "*")).c_str(), &voce);
    if (h == INVALID_HANDLE_VALUE) {
        return nomi;
    }
    do {
        const std::wstring_view nome = voce.cFileName;
        if (nome != L"." && nome != L"..") {
            nomi.push_back(windows::stretto(voce.cFileName));
        }
    } while (::FindNextFileW(h, &voce));
    ::FindClose(h);
    return nomi;
}

bool rimuoviFile(const std::string& percorso) {
    return ::DeleteFileW(windows::percorso(percorso).c_str()) != 0 || windows::fallito();
}

void rimuoviFileSubito(const char* percorso) noexcept {
    // No allocation: the console's handler may run while another thread allocates.
    // The slots hold fewer than 4096 bytes, so as many UTF-16 units suffice.
    wchar_t largo[4096];
    if (::MultiByteToWideChar(CP_UTF8, 0, percorso, -1, largo, 4096) > 0) {
        for (wchar_t* c = largo; *c != L'\0'; ++c) {
            if (*c == L'/') {
                *c = L'\\';
            }
        }
        ::DeleteFileW(largo);
    }
}

namespace {

bool separatore(char c) {
    return c == '/' || c == '\\';
}

}  // namespace

std::string unisciPercorso(const std::string& cartella, const std::string& nome) {
    if (cartella.empty()) {
        return nome;
    }
    if (separatore(cartella.back()) || (cartella.size() == 2 && cartella[1] == ':')) {
        return cartella + nome;
    }
    return cartella + "\\" + nome;
}

std::size_t fineCartella(std::string_view percorso) {
    const std::size_t i = percorso.find_last_of("/\\");
    if (i == std::string_view::npos && percorso.size() >= 2 && percorso[1] == ':') {
        return 1;
    }
    return i;
}

std::string cartellaDelPercorso(const std::string& percorso) {
    const std::size_t i = percorso.find_last_of("/\\");
    if (i == std::string::npos) {
        // "C:nome" is in the current folder of drive C:.
        return percorso.size() >= 2 && percorso[1] == ':' ? percorso.substr(0, 2) : ".";
    }
    // The root of a drive or of the current drive keeps its separator.
    if (i == 0 || (i == 2 && percorso[1] == ':')) {
        return percorso.substr(0, i + 1);
    }
    return percorso.substr(0, i);
}

std::string cartellaTemporaneaDelSistema() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr && *tmpdir != '\0') {
        return tmpdir;
    }
    wchar_t cartella[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, cartella);
    std::string r = windows::stretto(cartella, static_cast<int>(n));
    if (r.size() > 3 && separatore(r.back())) {
        r.pop_back();
    }
    return r;
}

bool cartellaScrivibile(const std::string& cartella) {
    // Windows tells the right to make a file only by making one.
    const std::string prova =
        unisciPercorso(cartella, ".pliventa-prova-" + std::to_string(numeroProcesso()) + ".tmp");
    const HANDLE h =
        ::CreateFileW(windows::percorso(prova).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return windows::fallito();
    }
    ::CloseHandle(h);
    return true;
}

NumeriC::NumeriC() {
    // A runtime with locales per thread switches this thread alone; the old msvcrt
    // has one locale for the process, switched while the object lives.
    modo_ = ::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* prima = ::setlocale(LC_NUMERIC, nullptr);
    if (prima != nullptr && std::strcmp(prima, "C") != 0) {
        precedente_ = new std::string(prima);
        ::setlocale(LC_NUMERIC, "C");
    }
}

NumeriC::~NumeriC() {
    if (precedente_ != nullptr) {
        auto* prima = static_cast<std::string*>(precedente_);
        ::setlocale(LC_NUMERIC, prima->c_str());
        delete prima;
    }
    if (modo_ > 0) {
        ::_configthreadlocale(modo_);
    }
}

namespace {

void (*azioneAllaFine)() noexcept = nullptr;

/// The console's events that end the program: the action, then Windows's own
/// handling, which ends the process.
BOOL WINAPI allaFine(DWORD /*evento*/) {
    if (azioneAllaFine != nullptr) {
        azioneAllaFine();
    }
    return FALSE;
}

UINT paginaPrima = 0;

void rimettiPagina() {
    ::SetConsoleOutputCP(paginaPrima);
}

}  // namespace

void allaTerminazione(void (*azione)() noexcept) {
    azioneAllaFine = azione;
    ::SetConsoleCtrlHandler(allaFine, TRUE);
}

void flussiStandardInBinario() {
    for (FILE* f : {stdin, stdout, stderr}) {
        ::_setmode(::_fileno(f), _O_BINARY);
    }
    // The messages are UTF-8: the console shows them so, and gets its own code page
    // back when the program ends.
    const UINT pagina = ::GetConsoleOutputCP();
    if (pagina != 0 && pagina != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        paginaPrima = pagina;
        std::atexit(rimettiPagina);
    }
}

std::vector<std::string> argomentiDelProgramma(int /*argc*/, char** /*argv*/) {
    int n = 0;
    wchar_t** w = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    std::vector<std::string> r;
    for (int i = 1; i < n; ++i) {
        r.push_back(windows::stretto(w[i]));
    }
    ::LocalFree(w);
    return r;
}

}  // namespace pliventa
