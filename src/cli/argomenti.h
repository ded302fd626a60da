// Command-line arguments of a subcommand, and the messages and exit codes every
// subcommand shares.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/errore.h"
#include "records/versamento.h"

namespace pliventa::cli {

/// Exit codes of pliventa-cli.
inline constexpr int kRiuscito = 0;   ///< done
inline constexpr int kErroreIO = 1;   ///< a file could not be read or written
inline constexpr int kErroreUso = 2;  ///< the command line makes no sense

/// The arguments of a subcommand: option values in the order given, operands, and
/// whether help was asked for.
struct Argomenti {
    std::vector<std::pair<std::string_view, std::string_view>> opzioni;
    std::vector<std::string_view> operandi;
    bool aiuto = false;

    /// The value of the last `nome` given, if any.
    std::optional<std::string_view> valore(std::string_view nome) const;
};

/// Splits `argomenti` into options and operands. Every option in `ammesse` takes a
/// value, as "--opzione VALORE" or "--opzione=VALORE"; "-h" and "--help" ask for
/// help; "--" ends the options. Returns the Italian message for an unknown option
/// or a missing value instead.
std::variant<Argomenti, std::string> analizza(std::span<const std::string_view> argomenti,
                                              std::span<const std::string_view> ammesse);

/// A subcommand's texts: its name, its one-line usage and the help that follows.
struct Guida {
    std::string_view comando;
    std::string_view uso;
    std::string_view dettagli;
};

/// Prints the full help on standard output; returns kRiuscito.
int aiuto(const Guida& guida);

/// Prints `messaggio` and the short usage on standard error; returns kErroreUso.
int erroreUso(const Guida& guida, std::string_view messaggio);

/// Prints `errore` on one line of standard error; returns kErroreIO.
int erroreIO(const Errore& errore);

/// Prints `errore` from the core: as erroreUso() when it is a wrong use (Uso: an
/// output that is its own input, or a file the shell opened) and then returns
/// kErroreUso, otherwise as erroreIO().
int erroreDi(const Guida& guida, const Errore& errore);

/// Parses a subcommand's arguments with analizza(). When they already settle the
/// command (a usage error, or help asked for) it prints what is due and returns the
/// exit code; otherwise the arguments.
std::variant<Argomenti, int> preparaComando(std::span<const std::string_view> argomenti,
                                            std::span<const std::string_view> ammesse,
                                            const Guida& guida);

/// Checks that the operands are exactly one work file, not empty. When they are
/// not it prints the usage error and returns kErroreUso; otherwise nullopt.
std::optional<int> soloArchivio(const Argomenti& arg, const Guida& guida);

/// How the records of a work file are read: the currency and the notice arrangement.
struct OpzioniLettura {
    bool euro = true;
    LetturaAtto lettura = LetturaAtto::lunga;
};

/// Reads "--valuta E|L" (default E) and "--notice long|short" (default long). When a
/// value is wrong it prints the usage error and returns kErroreUso instead.
std::variant<OpzioniLettura, int> opzioniLettura(const Argomenti& arg, const Guida& guida);

/// A subcommand that reads one work file: its arguments and how the records are read.
struct ComandoArchivio {
    Argomenti arg;
    OpzioniLettura lettura;
};

/// preparaComando(), soloArchivio() and opzioniLettura() in turn: the arguments and
/// the reading options, or the exit code when the command line already settles the
/// command (help, or a usage error, printed).
std::variant<ComandoArchivio, int> preparaComandoArchivio(
    std::span<const std::string_view> argomenti, std::span<const std::string_view> ammesse,
    const Guida& guida);

/// Prints a one-line note on standard error (counts, warnings).
void avviso(std::string_view testo);

/// Tells, in a warning on standard error, that the work file `percorso` ends in a
/// partial record, which was left out. Every subcommand that reads a work file
/// says it so.
void avvisaParziale(const std::string& percorso);

}  // namespace pliventa::cli
