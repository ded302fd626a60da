// The checks: the payments that look wrong, each rule a small named function.
// They report, they never change a record: a payment the agent sent is kept as
// sent, and the office decides what to do with it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "records/somma.h"
#include "records/versamento.h"
#include "records/visualizzazione.h"

namespace pliventa {

/// The rules, in the order they are reported for one record.
enum class Regola : std::uint8_t {
    codice_fiscale,   ///< neither a valid personal code nor a valid company code
    data_versamento,  ///< the payment date is not a calendar date
    anno_imposta,     ///< the tax year comes after the payment year
    totale_negativo,  ///< the total is below zero, and no F24 compensation explains it
    somma_parti,      ///< the total differs from the sum of its parts
    /// the same payment as an earlier one of the work file (checks/duplicati.h):
    /// the only rule that looks beyond the record, so controlla() never reports it
    duplicato,
};

inline constexpr std::array<Regola, 6> kRegole = {Regola::codice_fiscale, Regola::data_versamento,
                                                  Regola::anno_imposta,   Regola::totale_negativo,
                                                  Regola::somma_parti,    Regola::duplicato};
// Bit i of Violazioni is kRegole[i]: the table lists the rules in their order.
static_assert([] {
    for (std::size_t i = 0; i < kRegole.size(); ++i) {
        if (static_cast<std::size_t>(kRegole[i]) != i) {
            return false;
        }
    }
    return true;
}());

/// The rules a record breaks, one bit per rule (bit i is kRegole[i]); 0 when none.
using Violazioni = std::uint8_t;

/// True when `v` has the bit of `r`.
constexpr bool viola(Violazioni v, Regola r) {
    return (v >> static_cast<unsigned>(r)) & 1u;
}

/// The rule's name on the command line: "codice_fiscale", "data_versamento",
/// "anno_imposta", "totale_negativo", "somma_parti", "duplicato".
std::string_view nomeRegola(Regola r);

/// The rule as the window states it, in Italian ("Codice fiscale non valido", ...).
std::string_view descrizioneRegola(Regola r);

/// True for a codice fiscale (the text of field 5 without its blanks) that is a
/// valid 16-character personal code, homocode variants included, or a valid
/// 11-digit company code. Blank is not valid.
bool codiceFiscaleValido(std::string_view codice);

/// True when fields 2 to 4 form a calendar day.
bool dataVersamentoValida(const Versamento& v);

/// False only when both years can be read and the tax year (completed to four
/// digits as the window completes it) comes after the payment year.
bool annoImpostaValido(const Versamento& v);

/// The exact value of an amount field, by the numeric value rule.
SommaEsatta importo(std::string_view campo);

/// True when `v` was built by the F24 import and its total reads below zero: a
/// credit offset on the F24 form (compensation), which settles the form.
bool compensazioneF24(const Versamento& v);

/// False when the total (field 8) reads below zero, unless an F24 compensation
/// explains it (compensazioneF24).
bool totaleNonNegativo(const Versamento& v);

/// False when the total differs from the sum of its parts: the four amounts of an
/// ordinary payment; tax, penalties, pecuniary penalty, interest and other
/// buildings of a violation payment.
bool sommaPartiCorretta(const Versamento& v);

/// Every rule `v` breaks on its own: all but duplicato.
Violazioni controlla(const Versamento& v);

/// What the rule `r` looked at in `v`, as UTF-8 text: the codice fiscale, the date
/// "dd/mm/yyyy", "anno AAAA, versamento AAAA", the total, "totale T, parti P", or
/// for a duplicate "uguale al versamento N", N being `originale`, the payment it
/// repeats. Amounts are exact with "." as the point, divided by 100 when `euro`.
std::string valoreControllato(const Versamento& v, Regola r, bool euro,
                              std::uint32_t originale = 0);

/// The same as the window shows it: amounts as the record display shows them
/// (formattaImporto: by `valuta`, with the separators `sep`).
std::string valoreMostrato(const Versamento& v, Regola r, std::string_view valuta,
                           const Separatori& sep, std::uint32_t originale = 0);

}  // namespace pliventa
