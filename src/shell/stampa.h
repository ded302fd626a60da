// What File › Stampa… prints: the Italian heading of every printout (what it is,
// the work file's name, the day), then the payment shown or the table of the view
// in front. A table is painted page by page off the window's thread, with its
// progress and cancel: a list of millions of payments is a long printout.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/controllo.h"
#include "base/errore.h"

class QAbstractItemModel;
class QPrinter;
class QTextDocument;

namespace pliventa {

/// A table to print: its headers, and its rows read one at a time, from a thread
/// other than the one that made it.
class TabellaStampa {
public:
    virtual ~TabellaStampa() = default;
    virtual int colonne() const = 0;
    virtual QString intestazione(int colonna) const = 0;
    /// True for a column of numbers, aligned to the right.
    virtual bool aDestra(int colonna) const = 0;
    virtual std::uint64_t righe() const = 0;
    /// The cells of row `riga`; `livello` is how deep it lies in a tree (0: a top row).
    virtual QStringList riga(std::uint64_t riga, int& livello) const = 0;
};

/// A copy of the table of `modello`, made on its thread: its headers, then its
/// rows in order, each row's children (a tree) under it.
std::unique_ptr<TabellaStampa> copiaTabella(const QAbstractItemModel& modello);

/// Rows a printout of a table holds before the clerk is asked whether to go on:
/// about a thousand pages.
inline constexpr std::uint64_t kRigheSenzaDomanda = 40'000;

/// The pages `righe` rows of a table take, about.
std::uint64_t pagineStampa(std::uint64_t righe);

/// Paints `tabella`, titled `titolo`, of the work file `archivio` (a path; its
/// name is shown) on `stampante`, across the page: the heading on the first page,
/// the column headers and "Pagina N di M" on every page. A PDF file is written
/// beside its place and put there only when complete. Errors: Annullato when
/// `controllo` asks between pages (a PDF file chosen is left as it was),
/// InputOutput when the printer or the file cannot be written.
EsitoVuoto stampaTabella(QPrinter& stampante, const TabellaStampa& tabella, const QString& titolo,
                         const QString& archivio, const Controllo& controllo = {});

/// Prints `documento` on `stampante`, a PDF file as stampaTabella() writes it.
/// Errors: InputOutput when the file cannot be written.
EsitoVuoto stampaDocumento(QPrinter& stampante, QTextDocument& documento);

/// A printout titled `titolo` of the work file `archivio` holding `campi`, a
/// caption and its value a line. Cannot fail.
std::unique_ptr<QTextDocument> documentoCampi(const QString& titolo, const QString& archivio,
                                              const QList<QPair<QString, QString>>& campi);

}  // namespace pliventa
