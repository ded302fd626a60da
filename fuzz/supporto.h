// What the fuzz targets share: the check that stops a run, a scratch folder,
// files whole in and out, and independent readers of what the core writes (the
// line ends, UTF-8, JSON), so that a target never judges the core by the core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pliventa::fuzz {

/// Prints the broken invariant and aborts: the fuzzer keeps the input as a crash,
/// the replay of a corpus fails.
[[noreturn]] void fallisci(const char* condizione, const char* file, int riga);

#define VERIFICA(condizione)                                             \
    do {                                                                 \
        if (!(condizione)) {                                             \
            ::pliventa::fuzz::fallisci(#condizione, __FILE__, __LINE__); \
        }                                                                \
    } while (false)

/// The fuzz input as text.
inline std::string_view testo(const std::uint8_t* dati, std::size_t n) {
    return {reinterpret_cast<const char*>(dati), n};
}

/// The process's scratch folder, made on first use under $TMPDIR (or /tmp) and
/// removed at exit; `nome` inside it.
std::string inCartella(std::string_view nome);

/// The names in the scratch folder, sorted.
std::vector<std::string> contenutoCartella();

/// Replaces `percorso` with `contenuto`; aborts when it cannot.
void scriviFile(const std::string& percorso, std::string_view contenuto);

/// The whole content of `percorso`; aborts when it cannot be read.
std::string leggiFile(const std::string& percorso);

/// The lines of `s` as the imports read them: CR LF, LF and CR each end a line,
/// and a last line without an end is still a line.
std::vector<std::string_view> righe(std::string_view s);

/// Checks that `s` is whole 202-byte records, each 200 characters without CR or
/// LF followed by CR LF; returns how many.
std::size_t verificaRecord(std::string_view s);

/// True for well-formed UTF-8 (no overlong form, no surrogate, nothing past
/// U+10FFFF, no sequence cut short).
bool utf8BenFormato(std::string_view s);

struct MembroJson;

/// A JSON value as the strict reader below leaves it.
struct ValoreJson {
    enum class Tipo { nullo, booleano, numero, stringa, array, oggetto };
    Tipo tipo = Tipo::nullo;
    std::string testo;  ///< a string unescaped, a number as written, "true" or "false"
    std::vector<ValoreJson> elementi;
    std::vector<MembroJson> membri;  ///< in order

    /// The member `chiave` of an object; aborts when there is none.
    const ValoreJson& operator[](std::string_view chiave) const;
};

/// A member of an object.
struct MembroJson {
    std::string chiave;
    ValoreJson valore;
};

/// Reads `s` as exactly one JSON value by RFC 8259 (UTF-8, no trailing text, no
/// duplicate key); false when it is not one.
bool leggiJson(std::string_view s, ValoreJson& valore);

}  // namespace pliventa::fuzz
