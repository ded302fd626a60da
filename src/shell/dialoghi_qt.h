// The real dialogs: QMessageBox and QInputDialog.
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

    /// Shows a modal QMessageBox; closing a Yes/No box gives No, an OK box OK.
    Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                       Icona icona) override;
    /// Shows a modal one-line QInputDialog; cancelling gives an empty text.
    QString input(const QString& prompt, const QString& titolo,
                  const QString& predefinito) override;

private:
    QPointer<QWidget> genitore_;
};

}  // namespace pliventa
