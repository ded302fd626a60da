// The work-file record: one payment in 200 characters of fixed-width fields,
// followed by CR LF, 202 bytes on disk.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/cifre.h"
#include "records/giorno.h"

namespace pliventa {

/// The 17 fields of a payment record, numbered 1 to 17 as the layout numbers them.
enum class Campo : int {
    intestazione = 1,      ///< cols 1-26: code, Belfiore code, progressive, record type (col 26)
    annoversamento,        ///< cols 27-30: payment year
    meseversamento,        ///< cols 31-32: payment month
    giornoversamento,      ///< cols 33-34: payment day
    codicefiscale,         ///< cols 35-50: the payer's codice fiscale, blank-filled
    annoimposta,           ///< cols 51-52: last two digits of the tax year
    riservato1,            ///< cols 53-63: not read (col 63 is the 12th digit of a built total)
    totale,                ///< cols 64-74: total paid
    terreni,               ///< cols 75-84: agricultural land; violation: tax
    areefabbricabili,      ///< cols 85-94: building land; violation: penalties
    abitazioneprincipale,  ///< cols 95-104: main dwelling; violation: pecuniary penalty
    altrifabbricati,       ///< cols 105-114: other buildings
    detrazione,            ///< cols 115-122: main-dwelling deduction; violation: interest
    riservato2,            ///< cols 123-164: not read
    numerofabbricati,      ///< cols 165-168: number of properties
    estremiatto,           ///< cols 169-200: instalment code and the violation notice
    finelinea,             ///< cols 201-202: CR LF
};

/// Offset (0-based) and width of a field.
struct Posizione {
    std::size_t inizio;
    std::size_t larghezza;
};

/// Offset and width of each field, in the order of Campo.
inline constexpr std::array<Posizione, 17> kPosizioni = {{
    {0, 26},    // intestazione
    {26, 4},    // annoversamento
    {30, 2},    // meseversamento
    {32, 2},    // giornoversamento
    {34, 16},   // codicefiscale
    {50, 2},    // annoimposta
    {52, 11},   // riservato1
    {63, 11},   // totale
    {74, 10},   // terreni
    {84, 10},   // areefabbricabili
    {94, 10},   // abitazioneprincipale
    {104, 10},  // altrifabbricati
    {114, 8},   // detrazione
    {122, 42},  // riservato2
    {164, 4},   // numerofabbricati
    {168, 32},  // estremiatto
    {200, 2},   // finelinea
}};

/// Where field `c` lies in the 202 bytes of a record. Inline: the checks, the
/// summary and the list read a dozen fields of millions of records.
constexpr Posizione posizione(Campo c) {
    return kPosizioni[static_cast<std::size_t>(c) - 1];
}

/// The two arrangements of the violation notice inside field 16. Long: number at
/// positions 7-15, date (ddmmyyyy) at 16-23, as in the 2000 layout. Short: number
/// at 7-12, date at 13-20, as in the 1997 violation layout. The record does not say
/// which one it uses; the work file's origin does.
enum class LetturaAtto { lunga, breve };

/// Notice number and date of a violation payment, as stored (date split dd/mm/yyyy),
/// and the date as a calendar day when it is one.
struct EstremiAtto {
    std::string numero;
    std::string data;
    std::optional<Giorno> giorno;
};

/// One payment record. Always exactly 202 bytes; short input is padded with blanks.
class Versamento {
public:
    static constexpr std::size_t kLarghezzaDati = 200;
    static constexpr std::size_t kLunghezzaRecord = 202;

    /// A record of 200 blanks followed by CR LF.
    Versamento();

    /// The record made of `byte`: the first 202 bytes, blank-padded when shorter.
    static Versamento daByte(std::string_view byte);

    /// The text of field `c`, exactly its width, as stored.
    std::string_view campo(Campo c) const {
        const Posizione p = posizione(c);
        return {dati_.data() + p.inizio, p.larghezza};
    }

    /// All 202 bytes.
    std::string_view byte() const { return {dati_.data(), dati_.size()}; }

    /// Record type: the character in column 26.
    char tipo() const { return dati_[25]; }

    /// True for a payment made on a violation notice (column 26 is "6"); any
    /// other character, blank included, is an ordinary payment.
    bool violazione() const { return tipo() == '6'; }

    /// Notice number and date read from field 16 with the given arrangement.
    EstremiAtto estremi(LetturaAtto lettura) const;

    /// Payment date as day/month/year from fields 4, 3 and 2, unchecked.
    std::string dataVersamento() const;

    /// The payment date (fields 2, 3 and 4) when it is a real calendar day.
    std::optional<Giorno> giornoVersamento() const;

    /// Field 6 with its century in front, as text: annoCompleto() of field 6.
    std::string annoImpostaCompleto() const;

    /// The tax year as a number when field 6 is two digits (93 gives 1993, 05
    /// gives 2005); nullopt otherwise.
    std::optional<int> annoImposta() const;

private:
    struct DaRiempire {};
    /// Bytes left to the caller to write, every one of them.
    explicit Versamento(DaRiempire) {}

    std::array<char, kLunghezzaRecord> dati_;
};

/// A number read from a text field, kept as its decimal digits so that callers can
/// print it exactly: the value is (negativo ? -1 : 1) * cifre / 10^decimali.
struct NumeroLetto {
    bool negativo = false;
    std::string cifre;         ///< the digits read, in order (may be empty: the value 0)
    std::size_t decimali = 0;  ///< how many of them follow the point
};

/// The numeric value rule, walked once over `testo`: blanks are ignored anywhere,
/// a leading "-" makes it negative ("+" is allowed too), one "." may start the
/// decimals, reading stops at the first character that cannot continue the number,
/// and no digits give 0. Calls `cifra(c, decimale)` for each digit in order;
/// when it returns false the walk stops there. Returns true for a leading "-".
/// Allocates nothing, so the hot paths read by the rule itself.
template <typename Cifra>
constexpr bool scorriNumero(std::string_view testo, Cifra&& cifra) {
    bool negativo = false;
    bool dopoPunto = false;
    bool inizio = true;  // no sign, digit or point seen yet
    for (const char c : testo) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        if (inizio && (c == '-' || c == '+')) {
            negativo = c == '-';
        } else if (c >= '0' && c <= '9') {
            if (!cifra(c, dopoPunto)) {
                break;
            }
        } else if (c == '.' && !dopoPunto) {
            dopoPunto = true;
        } else {
            break;
        }
        inizio = false;
    }
    return negativo;
}

/// Reads a text field by the numeric value rule (see scorriNumero()).
NumeroLetto leggiNumero(std::string_view testo);

/// Numeric value of a text field by the rule of leggiNumero().
double valoreNumerico(std::string_view testo);

/// The century of a two-digit tax year read as `valore` (the numeric value of the
/// field): ICI was first paid in 1993, so 93 to 99 are the 1990s and anything
/// lower, a field without digits included, the 2000s. Returns 1900 or 2000.
constexpr int secolo(double valore) {
    return valore < 93 ? 2000 : 1900;
}

// Read for every record of a scan: inline, with the fields' fixed widths.
inline std::optional<Giorno> Versamento::giornoVersamento() const {
    return giornoValido(campo(Campo::annoversamento), campo(Campo::meseversamento),
                        campo(Campo::giornoversamento));
}

inline std::optional<int> Versamento::annoImposta() const {
    const std::optional<std::int64_t> aa = valoreCifre(campo(Campo::annoimposta));
    if (!aa) {
        return std::nullopt;
    }
    const int anno = static_cast<int>(*aa);
    return secolo(anno) + anno;
}

/// A two-character tax-year field with its century in front, as text: "93" gives
/// "1993", "05" gives "2005", two blanks "20  ".
std::string annoCompleto(std::string_view dueCifre);

/// `testo` without leading and trailing blanks (spaces only, as the fields pad).
std::string_view senzaSpazi(std::string_view testo);

}  // namespace pliventa
