// Errors returned as values across the layers of Pliventa.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace pliventa {

/// Kind of failure, so that callers can tell the user apart from the cases
/// they must stay silent on.
enum class CodiceErrore {
    NessunArchivio,     ///< no work file is open
    RecordInesistente,  ///< a record number outside the file (0, negative, past the end)
    InputOutput,        ///< the system refused a read, write, open or rename
    Uso,                ///< a caller passed a value that makes no sense
    Annullato,          ///< the user cancelled a long operation; nothing was changed
};

/// A failure: what went wrong, on which path, and the system's reason in Italian.
struct Errore {
    CodiceErrore codice = CodiceErrore::InputOutput;
    std::string percorso;  ///< the path concerned, may be empty
    std::string motivo;    ///< the reason, in Italian, UTF-8

    /// One line for the user: "percorso: motivo", or just the reason without a path.
    std::string descrizione() const;
};

/// The condition, beside the errno values, of a file that another program holds
/// open and will not share (on Windows a sharing or lock violation). Out of the
/// range of errno values.
inline constexpr int kFileAperto = 100001;
/// A file name the system cannot hold (on Windows one with ":", "?", "*", ...).
inline constexpr int kNomeNonValido = 100002;
/// A drive with no medium in it (a card reader, a stick drawn out).
inline constexpr int kUnitaNonPronta = 100003;
/// A file system that needs checking.
inline constexpr int kFileSystemDanneggiato = 100004;
/// A Win32 error the table does not know: kBaseWindows plus its number.
inline constexpr int kBaseWindows = 200000;

/// Builds an InputOutput error for `percorso` from an errno value.
Errore erroreDiSistema(std::string percorso, int numeroErrore);

/// Italian text for an errno value or kFileAperto (the system's messages are
/// English here). On Windows the platform layer gives errno the Win32 error
/// translated, so the same condition gets the same words.
std::string motivoDiSistema(int numeroErrore);

/// Either a value or an Errore. Errors cross layers as values, never as exceptions.
template <typename T>
class [[nodiscard]] Esito {
public:
    Esito(T valore) : dato_(std::move(valore)) {}
    Esito(Errore errore) : dato_(std::move(errore)) {}

    bool ok() const { return std::holds_alternative<T>(dato_); }
    explicit operator bool() const { return ok(); }

    T& valore() { return std::get<T>(dato_); }
    const T& valore() const { return std::get<T>(dato_); }
    T& operator*() { return valore(); }
    const T& operator*() const { return valore(); }
    T* operator->() { return &valore(); }
    const T* operator->() const { return &valore(); }

    const Errore& errore() const { return std::get<Errore>(dato_); }

private:
    std::variant<T, Errore> dato_;
};

/// Result of an operation that gives nothing back but may fail.
struct Nulla {};
using EsitoVuoto = Esito<Nulla>;

}  // namespace pliventa
