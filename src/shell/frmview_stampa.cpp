// File › Stampa…: what the clerk is looking at — the payment shown, or the view
// in front (the list, the summary, the checks, a statement) — through the print
// dialog, on paper or into a PDF file.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTextDocument>
#include <memory>

#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_riepilogo.h"
#include "shell/finestra_scheda.h"
#include "shell/frmview.h"
#include "shell/stampa.h"

namespace pliventa {

namespace {

const QString kTitoloStampa = QStringLiteral("Stampa");

// A page holds about forty rows of a table.
constexpr int kRighePerPagina = 40;

}  // namespace

void frmView::stampa() {
    if (!sessione().aperto()) {
        avvisaNessunArchivio();
        return;
    }
    const QString archivio = QString::fromStdString(sessione().archivio()->percorso());
    QWidget* davanti = QApplication::activeWindow();
    for (QWidget* vista :
         std::initializer_list<QWidget*>{elenco_, riepilogo_, controlli_, scheda_}) {
        if (vista == nullptr || vista != davanti) {
            continue;
        }
        // The list's table holds only the rows on screen; the printout takes them all.
        std::unique_ptr<QAbstractItemModel> intero;
        const QAbstractItemModel* modello = nullptr;
        if (vista == elenco_) {
            intero = elenco_->modelloStampa();
            modello = intero.get();
        } else if (const auto* tabella = vista->findChild<QAbstractItemView*>()) {
            modello = tabella->model();
        }
        if (modello == nullptr) {
            break;
        }
        const int righe = righeDaStampare(*modello);
        if (righe > kRigheSenzaDomanda &&
            !dialoghi_.domanda(
                QStringLiteral("Le righe da stampare sono %1, circa %2 pagine. Stampare comunque?")
                    .arg(QLocale().toString(righe), QLocale().toString(righe / kRighePerPagina)),
                kTitoloStampa, Icona::domanda)) {
            return;
        }
        const auto documento = documentoTabella(vista->windowTitle(), archivio, *modello);
        dialoghi_.stampa(kTitoloStampa, *documento);
        return;
    }
    // The payment shown: each caption on screen with the value beside it.
    QList<QPair<QString, QString>> campi;
    campi.append({QStringLiteral("Numero record"), Text4->text()});
    for (const QLabel* didascalia : findChildren<QLabel*>()) {
        const QWidget* compagno = didascalia->buddy();
        if (compagno == nullptr || !didascalia->isVisibleTo(this) || !compagno->isVisibleTo(this)) {
            continue;
        }
        QString valore;
        if (const auto* casella = qobject_cast<const QLineEdit*>(compagno)) {
            valore = casella->text();
        } else if (const auto* scelta = qobject_cast<const QComboBox*>(compagno)) {
            valore = scelta->currentText();
        }
        campi.append({didascalia->text().remove(u'&'), valore});
    }
    const auto documento = documentoCampi(QStringLiteral("Versamento"), archivio, campi);
    dialoghi_.stampa(kTitoloStampa, *documento);
}

}  // namespace pliventa
