#include "utente.h"

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace pliventa::test {

std::optional<int> comeUtenteComune(const std::string& nome) {
    if (::geteuid() != 0) {
        return std::nullopt;
    }
    const passwd* utente = ::getpwnam("nobody");
    if (utente == nullptr) {
        return kUtenteNonDisponibile;
    }
    std::error_code ec;
    const std::string programma = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    std::string cartella =
        (std::filesystem::temp_directory_path() / "pliventa-nobody-XXXXXX").string();
    if (ec || ::mkdtemp(cartella.data()) == nullptr ||
        ::chown(cartella.c_str(), utente->pw_uid, utente->pw_gid) != 0) {
        throw std::runtime_error("cannot prepare a folder for nobody");
    }
    const std::string filtro = "--gtest_filter=" + nome;
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        // Groups first, then the group, then the user: after setuid nothing else
        // may be dropped.
        if (::setgroups(0, nullptr) != 0 || ::setgid(utente->pw_gid) != 0 ||
            ::setuid(utente->pw_uid) != 0 || ::access(programma.c_str(), X_OK) != 0) {
            ::_exit(kUtenteNonDisponibile);
        }
        ::setenv("TMPDIR", cartella.c_str(), 1);
        ::setenv("HOME", cartella.c_str(), 1);
        const char* argomenti[] = {programma.c_str(), filtro.c_str(), nullptr};
        ::execv(programma.c_str(), const_cast<char* const*>(argomenti));
        ::_exit(kUtenteNonDisponibile);
    }
    int stato = 0;
    const bool atteso = figlio > 0 && ::waitpid(figlio, &stato, 0) == figlio;
    std::filesystem::remove_all(cartella, ec);
    if (!atteso) {
        throw std::runtime_error("cannot start the test as nobody");
    }
    return WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
}

}  // namespace pliventa::test

#endif
