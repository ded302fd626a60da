// Runs pliventa-cli as a child process and captures what it says.
#pragma once

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <stdexcept>
#include <string>
#include <vector>

#include "processo.h"
#include "righe.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace pliventa::test {

#ifndef _WIN32

/// Starts pliventa-cli with `argomenti` in `cartella`, standard input from /dev/null,
/// standard output to `uscita` and standard error to `errore`; with the named
/// temporary files when `conNome`, and at most `memoria` bytes of address space.
/// Returns its process number, for attendi(); -1 when it cannot fork. A child that
/// cannot set itself up ends with 126, one that cannot run the program with 127.
inline pid_t avvia(const std::vector<std::string>& argomenti, const std::string& cartella,
                   const std::string& uscita, const std::string& errore, bool conNome = false,
                   rlim_t memoria = RLIM_INFINITY) {
    // execve() writes to neither list.
    std::vector<char*> argv = {const_cast<char*>(PLIVENTA_CLI)};
    for (const std::string& a : argomenti) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        envp.push_back(*e);
    }
    envp.push_back(conNome ? const_cast<char*>("PLIVENTA_TEMPORANEI_CON_NOME=1") : nullptr);
    envp.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec. Output goes to files
        // rather than pipes: nothing to drain while the child runs.
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(uscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errore.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const rlimit limite{memoria, memoria};
        const rlimit senzaCore{0, 0};  // a SIGQUIT leaves no core file in the folder
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0 || ::chdir(cartella.c_str()) != 0 ||
            ::setrlimit(RLIMIT_AS, &limite) != 0 || ::setrlimit(RLIMIT_CORE, &senzaCore) != 0) {
            ::_exit(126);
        }
        ::execve(PLIVENTA_CLI, argv.data(), envp.data());
        ::_exit(127);
    }
    return pid;
}

/// Waits for `pid`; its wait status.
inline int attendi(pid_t pid) {
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
    }
    return stato;
}
#endif

/// Runs the pliventa-cli under test with `argomenti`, standard input from /dev/null,
/// in the folder `cartella` (the test's own working directory is never used; an
/// empty `cartella` runs it in a scratch folder). Standard output goes to `uscita`
/// when given (then Risultato::out stays empty). Throws std::runtime_error when the
/// child cannot be started.
inline Risultato lancia(const std::vector<std::string>& argomenti, const std::string& cartella = "",
                        const std::string& uscita = "") {
    CartellaTemporanea raccolta;
    const std::string out = uscita.empty() ? raccolta.file("stdout") : uscita;
    const std::string err = raccolta.file("stderr");
    const int codice = esegui({PLIVENTA_CLI,
                               argomenti,
                               cartella.empty() ? utf8(raccolta.percorso()) : cartella,
                               out,
                               err,
                               {}});
    return {codice, uscita.empty() ? leggiFile(out) : "", leggiFile(err)};
}

/// The sample file `nome`, in the source tree.
inline std::string campione(const char* nome) {
    return std::string(PLIVENTA_SAMPLES_DIR) + "/" + nome;
}

/// The warning of every reader of the work file `w` about a final record cut short.
inline std::string avvisoParziale(const std::string& w) {
    return "pliventa-cli: " + w +
           ": la lunghezza non è multipla di 202 byte, ignorato un record finale incompleto\n";
}

}  // namespace pliventa::test
