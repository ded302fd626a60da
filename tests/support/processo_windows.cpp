// Programs run by the tests on Windows, and under Wine the Linux tools that read
// back what the program wrote (Wine starts a Linux program natively).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "processo.h"
#include "righe.h"

namespace pliventa::test {

namespace {

std::wstring largo(const std::string& s) {
    return daUtf8(s).wstring();
}

/// One argument as the Windows runtime splits a command line: quoted when it has
/// blanks or quotes, with the backslashes before a quote doubled.
void aggiungiArgomento(std::wstring& riga, const std::wstring& a) {
    if (!riga.empty()) {
        riga += L' ';
    }
    if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        riga += a;
        return;
    }
    riga += L'"';
    std::size_t barre = 0;
    for (const wchar_t c : a) {
        if (c == L'\\') {
            ++barre;
            continue;
        }
        riga.append(c == L'"' ? barre * 2 + 1 : barre, L'\\');
        barre = 0;
        riga += c;
    }
    riga.append(barre * 2, L'\\');
    riga += L'"';
}

HANDLE apriPerFiglio(const std::string& percorso, DWORD accesso, DWORD disposizione) {
    SECURITY_ATTRIBUTES ereditabile{sizeof ereditabile, nullptr, TRUE};
    const std::wstring nome = percorso.empty() ? L"NUL" : largo(percorso);
    return ::CreateFileW(nome.c_str(), accesso, FILE_SHARE_READ | FILE_SHARE_WRITE, &ereditabile,
                         disposizione, FILE_ATTRIBUTE_NORMAL, nullptr);
}

/// This process's environment with `aggiunte`, as CreateProcessW takes it.
std::wstring ambiente(const std::vector<std::string>& aggiunte) {
    std::wstring blocco;
    wchar_t* proprio = ::GetEnvironmentStringsW();
    for (const wchar_t* p = proprio; *p != L'\0'; p += std::wcslen(p) + 1) {
        blocco += p;
        blocco += L'\0';
    }
    ::FreeEnvironmentStringsW(proprio);
    for (const std::string& a : aggiunte) {
        blocco += largo(a);
        blocco += L'\0';
    }
    blocco += L'\0';
    return blocco;
}

}  // namespace

int esegui(const Avvio& a) {
    std::wstring programma = largo(a.programma);
    std::replace(programma.begin(), programma.end(), L'/', L'\\');
    std::wstring riga;
    aggiungiArgomento(riga, programma);
    for (const std::string& s : a.argomenti) {
        aggiungiArgomento(riga, largo(s));
    }
    const HANDLE in = apriPerFiglio("", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = apriPerFiglio(a.uscita, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err =
        a.errore == a.uscita ? out : apriPerFiglio(a.errore, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    std::wstring env = ambiente(a.ambiente);
    const std::wstring cartella = largo(a.cartella);
    PROCESS_INFORMATION pi{};
    const BOOL avviato = ::CreateProcessW(programma.c_str(), riga.data(), nullptr, nullptr, TRUE,
                                          CREATE_UNICODE_ENVIRONMENT, env.data(),
                                          cartella.empty() ? nullptr : cartella.c_str(), &si, &pi);
    const DWORD errore = ::GetLastError();
    for (const HANDLE h : {in, out, err != out ? err : INVALID_HANDLE_VALUE}) {
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
        }
    }
    if (!avviato) {
        throw std::runtime_error("cannot start " + a.programma + ": error " +
                                 std::to_string(errore));
    }
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD codice = 0;
    ::GetExitCodeProcess(pi.hProcess, &codice);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return static_cast<int>(codice);
}

std::string percorsoLinux(const std::string& percorso) {
    using Conversione = char*(__cdecl*)(const wchar_t*);
    const auto converti = reinterpret_cast<Conversione>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (converti == nullptr) {
        return percorso;  // not under Wine
    }
    char* unix = converti(largo(percorso).c_str());
    if (unix == nullptr) {
        return percorso;
    }
    std::string r = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return r;
}

std::string percorsoDaLinux(const std::string& percorso) {
    return "Z:" + percorso;
}

std::string eseguiLinux(const std::vector<std::string>& comando) {
    // Wine neither waits for a Linux program nor hands on its exit code: the shell
    // writes the code last, under its final name in one step, and it is waited for.
    CartellaTemporanea raccolta;
    const std::string uscita = raccolta.file("uscita");
    const std::string codice = raccolta.file("codice");
    std::vector<std::string> argomenti = {
        "-c", "o=$1; r=$2; shift 2; \"$@\" >\"$o\" 2>&1; echo $? >\"$r.tmp\"; mv \"$r.tmp\" \"$r\"",
        "sh", percorsoLinux(uscita), percorsoLinux(codice)};
    argomenti.insert(argomenti.end(), comando.begin(), comando.end());
    esegui({"Z:\\bin\\sh", argomenti, "", "", "", {}});
    const auto limite = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while (!std::filesystem::exists(daUtf8(codice)) && std::chrono::steady_clock::now() < limite) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::string testo = leggiFile(uscita);
    const std::string fine = leggiFile(codice);
    if (fine != "0\n") {
        throw std::runtime_error("failed (" + fine + "): " + comando.at(0) + "\n" + testo);
    }
    return testo;
}

void impostaAmbiente(const std::string& nome, const std::string& valore) {
    // The runtime's copy, which getenv() reads, and Windows's, which children get.
    ::_putenv_s(nome.c_str(), valore.c_str());
    ::SetEnvironmentVariableW(largo(nome).c_str(),
                              valore.empty() ? nullptr : largo(valore).c_str());
}

}  // namespace pliventa::test
