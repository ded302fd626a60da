#include "lancio.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "righe.h"

extern char** environ;

namespace pliventa::test {

Risultato lancia(const std::vector<std::string>& argomenti, const std::string& cartella,
                 const std::string& uscita) {
    // Output goes to files rather than pipes: nothing to drain while the child runs.
    CartellaTemporanea raccolta;
    const std::string out = uscita.empty() ? raccolta.file("stdout") : uscita;
    const std::string err = raccolta.file("stderr");
    const std::string dove = cartella.empty() ? raccolta.percorso().string() : cartella;

    std::vector<std::string> tutti = {PLIVENTA_CLI};
    tutti.insert(tutti.end(), argomenti.begin(), argomenti.end());
    std::vector<char*> argv;
    for (auto& a : tutti) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&azioni, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&azioni, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&azioni, dove.c_str());
    pid_t pid = 0;
    const int e = posix_spawn(&pid, PLIVENTA_CLI, &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    if (e != 0) {
        throw std::runtime_error(std::string("posix_spawn: ") + std::strerror(e));
    }
    int stato = 0;
    while (waitpid(pid, &stato, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
        }
    }
    Risultato r;
    r.codice = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
    r.out = uscita.empty() ? leggiFile(out) : "";
    r.err = leggiFile(err);
    return r;
}

}  // namespace pliventa::test
