// What the windows on the open work file (the list, the summary, the checks)
// share: their frame, the copy of rows, the tie to the main window.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "records/visualizzazione.h"
#include "shell/dialoghi.h"

class QFontMetrics;
class QPushButton;
class QTableView;

namespace pliventa {

/// The dialogs of a view: its own children once it is on screen, so that answering
/// one leaves the view in front, not the main window; before, while the work of
/// opening it runs from the main window's menu, those of the main window.
class DialoghiVista : public Dialoghi {
public:
    /// `vista` and `principali`, the main window's dialogs, must outlive this.
    DialoghiVista(QWidget* vista, Dialoghi& principali)
        : vista_(vista), principali_(principali), propri_(principali.figli(vista)) {}

    using Dialoghi::messaggio;
    Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti, Icona icona,
                       const QRect& lasciaVisibile) override {
        return scelti().messaggio(testo, titolo, pulsanti, icona, lasciaVisibile);
    }
    QString input(const QString& prompt, const QString& titolo,
                  const QString& predefinito) override {
        return scelti().input(prompt, titolo, predefinito);
    }
    FileScelto salvaCome(const QString& titolo, const QString& proposta,
                         const QString& filtro) override {
        return scelti().salvaCome(titolo, proposta, filtro);
    }
    QStringList scegliFile(const QString& titolo, const QString& cartella) override {
        return scelti().scegliFile(titolo, cartella);
    }
    std::optional<std::vector<Formato>> scegliTracciati(
        const QString& titolo, const std::vector<FileDaImportare>& file) override {
        return scelti().scegliTracciati(titolo, file);
    }
    bool apriDocumento(const QString& percorso) override {
        return scelti().apriDocumento(percorso);
    }
    void attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) override {
        scelti().attendi(lavoro, titolo, fasi);
    }
    bool scegliStampante(const QString& titolo, QPrinter& stampante) override {
        return scelti().scegliStampante(titolo, stampante);
    }
    std::unique_ptr<Dialoghi> figli(QWidget* finestra) override {
        return principali_.figli(finestra);
    }

private:
    Dialoghi& scelti() const { return vista_->isVisible() ? *propri_ : principali_; }

    QWidget* vista_;
    Dialoghi& principali_;
    std::unique_ptr<Dialoghi> propri_;
};

/// Makes `vista` a window of its own over its parent, named `nome`, titled
/// `titolo` followed by the name of the work file `archivio`, deleted when closed.
void preparaVista(QWidget* vista, const QString& nome, const QString& titolo,
                  const std::string& archivio);

/// The separators of the user's locale, as the amounts are shown.
Separatori separatoriDelLocale();

/// The selected rows of `tabella`, every column, as tab-separated text with one
/// line per row, in row order.
QString righeSelezionate(const QTableView* tabella);

/// Copies righeSelezionate() to the clipboard.
void copiaRighe(const QTableView* tabella);

/// Makes Ctrl+C on `tabella` call `copia`, in place of the view's own copy, which
/// takes only the current cell.
void abilitaCopia(QTableView* tabella, std::function<void()> copia);

/// A table of payments: whole rows selected, no sorting (the file's order), row
/// numbers hidden, the font's height per row.
void preparaTabella(QTableView* tabella, const QString& nome);

/// Widens `vista` so that every column of `tabella` shows, within the screen.
void adattaLarghezza(QWidget* vista, const QTableView* tabella);

/// Widens column `colonna` of `tabella`, if need be, so that `campione` and the
/// column's heading show whole: the view measures only the rows it has seen.
void adattaColonna(QTableView* tabella, int colonna, const QString& campione);

/// A codice fiscale of 16 of the font's widest letter or digit: what a box or a
/// column that shows any codice fiscale whole must hold.
QString codiceLarghissimo(const QFontMetrics& metrica);

/// A button "cmdChiudi" captioned `testo` (its access key marked with "&") that
/// closes `vista`.
QPushButton* pulsanteChiudi(QWidget* vista, const QString& testo);

/// UTF-8 text of the core as a QString.
inline QString daUtf8(std::string_view testo) {
    return QString::fromUtf8(testo.data(), static_cast<qsizetype>(testo.size()));
}

}  // namespace pliventa
