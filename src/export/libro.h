// The workbook file: one sheet written row by row through libxlsxwriter in its
// constant-memory mode, so memory stays flat whatever the number of rows (the
// rows wait in a temporary file until the workbook is packed).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/errore.h"
#include "export/celle.h"

namespace pliventa {

/// How a cell looks.
enum class Stile {
    normale,
    grassetto,  ///< bold
    importo,    ///< "#,##0.00", the amounts in euro
    totale,     ///< bold and "#,##0.00", the totals in euro
    data,       ///< "dd/mm/yyyy"
};

class LibroExcel {
public:
    /// A workbook with the one sheet `nomeFoglio`, to be written to `file` when
    /// chiudi() succeeds; its rows wait in `cartellaTemporanea`. Errors name
    /// `perMessaggi` (the path the user chose) or the temporary folder.
    static Esito<std::unique_ptr<LibroExcel>> crea(const std::string& file,
                                                   const std::string& nomeFoglio,
                                                   const std::string& cartellaTemporanea,
                                                   const std::string& perMessaggi);
    /// Drops a workbook not closed, writing nothing.
    ~LibroExcel();
    LibroExcel(const LibroExcel&) = delete;
    LibroExcel& operator=(const LibroExcel&) = delete;

    /// Width of columns `prima` to `ultima` (0-based) and, unless normale, the
    /// style of their cells that are still empty.
    EsitoVuoto colonne(int prima, int ultima, double larghezza, Stile stile);

    /// Writes `cella` at `riga`, `colonna` (0-based) in `stile`. Rows must come in
    /// order. An empty cell is written only when it has a style of its own. A
    /// text's NUL characters, which would end it, are written as U+FFFD (senzaNul())
    /// and the cell counted in celleRiparate().
    EsitoVuoto scrivi(std::uint32_t riga, int colonna, const Cella& cella, Stile stile);

    /// Text cells written so far whose NUL characters were replaced.
    std::uint64_t celleRiparate() const;

    /// Writes a formula with the result stored beside it, so that readers that do
    /// not recalculate show the right value.
    EsitoVuoto formula(std::uint32_t riga, int colonna, const std::string& testo, double risultato,
                       Stile stile);

    /// Fails when writing the rows to the temporary folder has failed (a full disk):
    /// the library itself would go on and pack a cut sheet as if all were well.
    EsitoVuoto controllaTemporanei();

    /// Packs the workbook into its file. Error with the system's reason when the
    /// file or a temporary file cannot be written.
    EsitoVuoto chiudi();

private:
    struct Dati;
    explicit LibroExcel(std::unique_ptr<Dati> dati);
    std::unique_ptr<Dati> d_;
};

}  // namespace pliventa
