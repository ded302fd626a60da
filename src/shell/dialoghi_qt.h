// The real dialogs: QMessageBox, QInputDialog, QFileDialog, QProgressDialog and the
// desktop's default applications.
#pragma once

#include <QPointer>
#include <QWidget>

#include "shell/dialoghi.h"

namespace pliventa {

class DialoghiQt : public Dialoghi {
public:
    /// Dialogs are centred on `genitore` (may be null, and set later).
    explicit DialoghiQt(QWidget* genitore = nullptr) : genitore_(genitore) {}
    void impostaGenitore(QWidget* genitore) { genitore_ = genitore; }

    using Dialoghi::messaggio;
    /// Shows a modal QMessageBox, at least as wide as its title needs; closing a Yes/No
    /// box gives No, an OK box OK. With `lasciaVisibile`, the box stands beside that
    /// area (right, left, below, above: the first side with room on the screen).
    Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti, Icona icona,
                       const QRect& lasciaVisibile) override;
    /// Shows a modal one-line QInputDialog; cancelling gives an empty text.
    QString input(const QString& prompt, const QString& titolo,
                  const QString& predefinito) override;

    /// Shows a modal QFileDialog for saving; the extension of the type chosen is
    /// added to a name without one before the dialog asks about replacing a file.
    FileScelto salvaCome(const QString& titolo, const QString& proposta,
                         const QString& filtro) override;
    /// Shows a modal QFileDialog for opening existing files.
    QStringList scegliFile(const QString& titolo, const QString& cartella) override;
    /// Shows a modal table of the files, a combo box of the layouts on each row.
    std::optional<std::vector<Formato>> scegliTracciati(
        const QString& titolo, const std::vector<FileDaImportare>& file) override;
    /// Hands `percorso` to the desktop (xdg-open on Linux).
    bool apriDocumento(const QString& percorso) override;
    /// Runs a local event loop until `lavoro` ends, with a window-modal QProgressDialog.
    void attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) override;
    /// Shows a modal QPrintDialog and prints `documento` on the printer chosen.
    bool scegliStampante(const QString& titolo, QPrinter& stampante) override;
    /// Real dialogs with `finestra` as their parent.
    std::unique_ptr<Dialoghi> figli(QWidget* finestra) override;

private:
    QPointer<QWidget> genitore_;
};

}  // namespace pliventa
