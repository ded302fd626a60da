// One payment as a JSON object, for the record dump. Everything appends to a
// caller's buffer, so a dump of a million records allocates almost nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/argomenti.h"
#include "records/versamento.h"

namespace pliventa::cli {

/// Appends `cp1252` (Windows-1252 bytes) as a JSON string: decoded to UTF-8, with
/// quotes and backslashes escaped and every control character written \u00XX.
/// Cannot fail.
void aggiungiStringa(std::string& out, std::string_view cp1252);

/// Appends `utf8` (text already in UTF-8) as a JSON string, escaped as
/// aggiungiStringa() escapes: quotes, backslashes, and every control character,
/// C1 ones (U+0080 to U+009F) included, written \u00XX. Other bytes are copied as
/// they are. Cannot fail.
void aggiungiStringaUtf8(std::string& out, std::string_view utf8);

/// Appends the numeric value of the field text `campo` as a JSON number, exactly,
/// without passing through floating point. `centesimi` divides it by 100 (euro
/// cents) and then always writes at least two decimals (100 cents: 1.00); otherwise
/// the value is written as it is, without decimals when whole. A leading "-" keeps
/// its sign; a field without digits writes 0 (0.00 in cents). Cannot fail.
void aggiungiNumero(std::string& out, std::string_view campo, bool centesimi);

/// How amounts and the notice are read: the options --valuta and --notice.
using OpzioniJson = OpzioniLettura;

/// Appends record `numero` as one JSON object, without line end: its number, kind,
/// date, codice fiscale, number of properties, six amounts, the four-digit tax year
/// (null for a violation payment) and the notice number and date (null for an
/// ordinary payment). Cannot fail.
void aggiungiVersamento(std::string& out, const Versamento& v, std::uint64_t numero,
                        const OpzioniJson& opzioni);

}  // namespace pliventa::cli
