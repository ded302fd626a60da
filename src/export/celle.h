// What one payment puts in the spreadsheet and the totals of its second row,
// decided without the spreadsheet library so the rules stand on their own.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "records/giorno.h"
#include "records/somma.h"
#include "records/versamento.h"
#include "records/voci.h"

namespace pliventa {

/// The headers of row 1, columns A to L: one column for each field, in the order
/// of Voce.
inline constexpr std::array<std::string_view, kNumeroVoci> kIntestazioni = {
    "Data Versamento", "Cod.Fiscale",  "NumFabbr",     "Totale", "Terreni", "Aree Fabbr.",
    "Abit. Princ.",    "Detr. Ab.Pr.", "Altri Fabbr.", "Anno",   "N. Atto", "Data Atto",
};

/// One cell: empty, a text (UTF-8, never read as a formula), a number, or a date.
using Cella = std::variant<std::monostate, std::string, double, Giorno>;

/// Cells A to L of the row of payment `v`, one for each field in the order of
/// Voce. Amounts are euro cents shown divided by 100 when `euro`, whole lire
/// otherwise; the tax year is given for an ordinary payment, the notice, read with
/// `lettura`, for a violation payment.
std::array<Cella, kNumeroVoci> celleVersamento(const Versamento& v, bool euro, LetturaAtto lettura);

/// The values of row 2: how many payments, the sum of their properties (C2) and
/// the sums of the six amount columns (the stored results of D2 to I2).
class Totali {
public:
    void aggiungi(const Versamento& v);
    std::uint64_t versamenti() const { return versamenti_; }
    double fabbricati() const { return fabbricati_.valore(1); }
    /// Column D + `i` (0 to 5), scaled as the cells are.
    double importo(std::size_t i, bool euro) const { return importi_[i].valore(euro ? 100 : 1); }

private:
    std::uint64_t versamenti_ = 0;
    SommaEsatta fabbricati_;
    std::array<SommaEsatta, 6> importi_;
};

/// The formula of column `colonna` (0-based, D is 3) in row 2: the sum of the data
/// rows, to row 65536 as always, or to the last data row when there are more.
std::string formulaTotale(int colonna, std::uint64_t ultimaRiga);

/// The sheet's name for an export made at `quando`: "Estrazione dd-mm-yyyy hh.mm.ss",
/// 30 characters. The time is separated by "." because ":" is not allowed in a
/// sheet name; the same text, with ".xlsx", is the proposed file name.
std::string nomeFoglio(const std::tm& quando);

/// nomeFoglio() of the present moment, in local time.
std::string nomeFoglioDiAdesso();

}  // namespace pliventa
