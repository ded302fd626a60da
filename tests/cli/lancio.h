// Runs pliventa-cli as a child process and captures what it says.
#pragma once

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

}  // namespace pliventa::test
