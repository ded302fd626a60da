#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "processo.h"
#include "righe.h"

extern char** environ;

namespace pliventa::test {

int esegui(const Avvio& a) {
    // execve() writes to neither list.
    std::vector<char*> argv = {const_cast<char*>(a.programma.c_str())};
    for (const std::string& s : a.argomenti) {
        argv.push_back(const_cast<char*>(s.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        envp.push_back(*e);
    }
    for (const std::string& s : a.ambiente) {
        envp.push_back(const_cast<char*>(s.c_str()));
    }
    envp.push_back(nullptr);
    const char* uscita = a.uscita.empty() ? "/dev/null" : a.uscita.c_str();
    const char* errore = a.errore.empty() ? "/dev/null" : a.errore.c_str();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(uscita, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err =
            a.errore == a.uscita ? out : ::open(errore, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0 || (!a.cartella.empty() && ::chdir(a.cartella.c_str()) != 0)) {
            ::_exit(126);
        }
        ::execve(a.programma.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
}

std::string eseguiLinux(const std::vector<std::string>& comando) {
    CartellaTemporanea raccolta;
    const std::string uscita = raccolta.file("uscita");
    const int codice =
        esegui({comando.at(0), {comando.begin() + 1, comando.end()}, "", uscita, uscita, {}});
    std::string testo = leggiFile(uscita);
    if (codice != 0) {
        throw std::runtime_error("failed (" + std::to_string(codice) + "): " + comando[0] + "\n" +
                                 testo);
    }
    return testo;
}

std::string percorsoLinux(const std::string& percorso) {
    return percorso;
}

std::string percorsoDaLinux(const std::string& percorso) {
    return percorso;
}

void impostaAmbiente(const std::string& nome, const std::string& valore) {
    if (valore.empty()) {
        ::unsetenv(nome.c_str());
    } else {
        ::setenv(nome.c_str(), valore.c_str(), 1);
    }
}

}  // namespace pliventa::test
