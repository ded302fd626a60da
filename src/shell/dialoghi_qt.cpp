#include "shell/dialoghi_qt.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace pliventa {

namespace {

QMessageBox::Icon iconaQt(Icona icona) {
    switch (icona) {
        case Icona::informazione:
            return QMessageBox::Information;
        case Icona::esclamazione:
            return QMessageBox::Warning;
        case Icona::critica:
            return QMessageBox::Critical;
        case Icona::domanda:
            return QMessageBox::Question;
        case Icona::nessuna:
            break;
    }
    return QMessageBox::NoIcon;
}

// Message texts break lines with CR LF, as the program has always written them.
QString perSchermo(QString testo) {
    return testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

Risposta DialoghiQt::messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                               Icona icona) {
    QMessageBox box(iconaQt(icona), titolo, perSchermo(testo), QMessageBox::NoButton, genitore_);
    if (pulsanti == Pulsanti::siNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sì"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Risposta::si : Risposta::no;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Risposta::ok;
}

QString DialoghiQt::input(const QString& prompt, const QString& titolo,
                          const QString& predefinito) {
    QInputDialog box(genitore_);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(titolo);
    box.setLabelText(prompt);
    box.setTextValue(predefinito);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annulla"));
    box.resize(520, box.sizeHint().height());  // room for a whole path
    if (box.exec() != QDialog::Accepted) {
        return {};
    }
    return box.textValue();
}

}  // namespace pliventa
