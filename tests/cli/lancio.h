// Runs pliventa-cli as a child process and captures what it says.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace pliventa::test {

/// What a run of the program left behind.
struct Risultato {
    int codice = -1;  ///< exit code; 128 + the signal when killed by one
    std::string out;  ///< standard output
    std::string err;  ///< standard error
};

/// Runs the pliventa-cli under test with `argomenti`, standard input from /dev/null,
/// in the folder `cartella` (the test's own working directory is never used; an
/// empty `cartella` runs it in a scratch folder). Standard output goes to `uscita`
/// when given (then Risultato::out stays empty). Throws std::runtime_error when the
/// child cannot be started.
Risultato lancia(const std::vector<std::string>& argomenti, const std::string& cartella = "",
                 const std::string& uscita = "");

/// Starts pliventa-cli with `argomenti` in `cartella`, standard input from /dev/null,
/// standard output to `uscita` and standard error to `errore`; with the named
/// temporary files when `conNome`, and at most `memoria` bytes of address space.
/// Returns its process number, for attendi(); -1 when it cannot fork. A child that
/// cannot set itself up ends with 126, one that cannot run the program with 127.
pid_t avvia(const std::vector<std::string>& argomenti, const std::string& cartella,
            const std::string& uscita, const std::string& errore, bool conNome = false,
            rlim_t memoria = RLIM_INFINITY);

/// Waits for `pid`; its wait status.
int attendi(pid_t pid);

/// The warning of every reader of the work file `w` about a final record cut short.
inline std::string avvisoParziale(const std::string& w) {
    return "pliventa-cli: " + w +
           ": la lunghezza non è multipla di 202 byte, ignorato un record finale incompleto\n";
}

}  // namespace pliventa::test
