#include "lancio.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "righe.h"

extern char** environ;

namespace pliventa::test {

pid_t avvia(const std::vector<std::string>& argomenti, const std::string& cartella,
            const std::string& uscita, const std::string& errore, bool conNome) {
    std::vector<std::string> tutti = {PLIVENTA_CLI};
    tutti.insert(tutti.end(), argomenti.begin(), argomenti.end());
    std::vector<char*> argv;
    for (std::string& a : tutti) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::string variabile = "PLIVENTA_TEMPORANEI_CON_NOME=1";
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        envp.push_back(*e);
    }
    if (conNome) {
        envp.push_back(variabile.data());
    }
    envp.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec. Output goes to files
        // rather than pipes: nothing to drain while the child runs.
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(uscita.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errore.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0 || ::chdir(cartella.c_str()) != 0) {
            ::_exit(126);
        }
        ::execve(PLIVENTA_CLI, argv.data(), envp.data());
        ::_exit(127);
    }
    return pid;
}

int attendi(pid_t pid) {
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
    }
    return stato;
}

Risultato lancia(const std::vector<std::string>& argomenti, const std::string& cartella,
                 const std::string& uscita) {
    CartellaTemporanea raccolta;
    const std::string out = uscita.empty() ? raccolta.file("stdout") : uscita;
    const std::string err = raccolta.file("stderr");
    const pid_t pid =
        avvia(argomenti, cartella.empty() ? raccolta.percorso().string() : cartella, out, err);
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    const int stato = attendi(pid);
    Risultato r;
    r.codice = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
    r.out = uscita.empty() ? leggiFile(out) : "";
    r.err = leggiFile(err);
    return r;
}

}  // namespace pliventa::test
