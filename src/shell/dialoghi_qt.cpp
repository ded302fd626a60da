#include "shell/dialoghi_qt.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include "shell/lavoro.h"

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

QString DialoghiQt::salvaCome(const QString& titolo, const QString& proposta,
                              const QString& filtro) {
    QFileDialog box(genitore_, titolo);
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    box.setNameFilter(filtro);
    const QRegularExpressionMatch estensione =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filtro);
    if (estensione.hasMatch()) {
        box.setDefaultSuffix(estensione.captured(1));
    }
    box.selectFile(proposta);
    box.setLabelText(QFileDialog::Accept, QStringLiteral("&Salva"));
    box.setLabelText(QFileDialog::Reject, QStringLiteral("Annulla"));
    box.setLabelText(QFileDialog::FileName, QStringLiteral("Nome del file:"));
    box.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo di file:"));
    box.setLabelText(QFileDialog::LookIn, QStringLiteral("Salva in:"));
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) {
        return {};
    }
    return box.selectedFiles().constFirst();
}

bool DialoghiQt::apriDocumento(const QString& percorso) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(percorso));
}

void DialoghiQt::attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) {
    QProgressDialog box(genitore_);
    box.setWindowTitle(titolo);
    box.setWindowModality(Qt::WindowModal);
    box.setCancelButtonText(QStringLiteral("Annulla"));
    box.setAutoClose(false);
    box.setAutoReset(false);
    box.setMinimumDuration(500);
    box.setMinimumWidth(420);
    box.setLabelText(fasi.value(0));
    box.setRange(0, 0);
    QObject::connect(&box, &QProgressDialog::canceled, &box, [&] {
        lavoro.annulla();
        box.setLabelText(QStringLiteral("Annullamento in corso…"));
        box.show();  // a cancelled dialog hides itself; it stays until the work ends
    });

    QEventLoop ciclo;
    QTimer controllo;
    controllo.setInterval(100);
    QObject::connect(&controllo, &QTimer::timeout, &ciclo, [&] {
        if (lavoro.finito()) {
            ciclo.quit();
            return;
        }
        if (lavoro.annullato()) {
            return;
        }
        const Lavoro::Stato s = lavoro.stato();
        box.setLabelText(fasi.value(s.fase));
        // QProgressBar counts in int: large totals are shown in thousandths.
        if (s.totale == 0) {
            box.setRange(0, 0);
        } else {
            box.setRange(0, 1000);
            box.setValue(static_cast<int>(s.fatti * 1000 / s.totale));
        }
    });
    lavoro.avvia();
    controllo.start();
    ciclo.exec();
    lavoro.aspetta();
}

}  // namespace pliventa
