// Another program run by a test, and the paths it is given, on either system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pliventa::test {

/// What a run of a program left behind.
struct Risultato {
    int codice = -1;  ///< exit code; on POSIX 128 + the signal when killed by one
    std::string out;  ///< standard output
    std::string err;  ///< standard error
};

/// A program to run: standard input from the null device, standard output and
/// error into the files `uscita` and `errore`, in the folder `cartella`, with
/// `ambiente` ("NOME=valore") added to this process's environment.
struct Avvio {
    std::string programma;
    std::vector<std::string> argomenti;
    std::string cartella;
    std::string uscita;
    std::string errore;
    std::vector<std::string> ambiente;
};

/// Runs `a` to its end and returns its exit code (128 + the signal that killed
/// it). Throws std::runtime_error when it cannot be started.
int esegui(const Avvio& a);

/// Runs a program of the build machine: a Linux tool (python3, soffice, sh) that
/// reads back what the program under test wrote. Under Wine it runs natively,
/// outside Wine, on the Linux paths of its arguments (see percorsoLinux). What it
/// printed, on standard output and error together; throws std::runtime_error
/// when it fails.
std::string eseguiLinux(const std::vector<std::string>& comando);

/// The path on the build machine of `percorso`, a path of this program's:
/// itself on Linux, the Unix path Wine maps a Windows one to.
std::string percorsoLinux(const std::string& percorso);

/// The path by which this program reaches `percorso`, a file of the build
/// machine: itself on Linux, under Wine the same path on the drive Z:.
std::string percorsoDaLinux(const std::string& percorso);

/// Sets the variable `nome` of this process's environment to `valore`; an
/// empty `valore` removes it.
void impostaAmbiente(const std::string& nome, const std::string& valore);

/// `p` in UTF-8, whatever the system's own encoding of paths.
inline std::string utf8(const std::filesystem::path& p) {
    const std::u8string u = p.u8string();
    return {u.begin(), u.end()};
}

/// The path of a UTF-8 text.
inline std::filesystem::path daUtf8(std::string_view testo) {
    return std::filesystem::path(std::u8string(testo.begin(), testo.end()));
}

}  // namespace pliventa::test
