// File › Stampa…: what the clerk is looking at — the payment shown, or the view
// in front (the list, the summary, the checks, a statement) — through the print
// dialog, on paper or into a PDF file.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QStatusBar>
#include <QTextDocument>
#include <memory>

#include "shell/controllore.h"
#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_riepilogo.h"
#include "shell/finestra_scheda.h"
#include "shell/frmview.h"
#include "shell/stampa.h"

namespace pliventa {

namespace {

const QString kTitoloStampa = QStringLiteral("Stampa");

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
        if (vista != nullptr && vista == davanti) {
            stampaVista(vista, archivio);
            return;
        }
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
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setDocName(kTitoloStampa);
    if (!dialoghi_.scegliStampante(kTitoloStampa, stampante)) {
        return;
    }
    if (const EsitoVuoto esito = stampaDocumento(stampante, *documento); !esito) {
        avvisaErrore(QStringLiteral("Impossibile stampare."), esito.errore(), kTitoloStampa);
    }
}

void frmView::stampaVista(QWidget* vista, const QString& archivio) {
    // The list's table holds only the rows on screen: its printout reads them all.
    std::unique_ptr<TabellaStampa> tabella;
    if (vista == elenco_) {
        tabella = elenco_->tabellaStampa();
    } else if (const auto* t = vista->findChild<QAbstractItemView*>(); t && t->model()) {
        tabella = copiaTabella(*t->model());
    } else {
        return;
    }
    const std::uint64_t righe = tabella->righe();
    if (righe > kRigheSenzaDomanda &&
        !dialoghi_.domanda(
            QStringLiteral("Le righe da stampare sono %1, circa %2 pagine. Stampare comunque?")
                .arg(QLocale().toString(static_cast<qulonglong>(righe)),
                     QLocale().toString(static_cast<qulonglong>(pagineStampa(righe)))),
            kTitoloStampa, Icona::domanda)) {
        return;
    }
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setDocName(vista->windowTitle());
    // Tables of many columns: across the page.
    stampante.setPageOrientation(QPageLayout::Landscape);
    if (!dialoghi_.scegliStampante(kTitoloStampa, stampante)) {
        return;
    }
    const EsitoVuoto esito =
        controllore_.stampa(stampante, *tabella, vista->windowTitle(), archivio, kTitoloStampa);
    if (esito) {
        statusBar()->showMessage(QStringLiteral("Stampa completata: %1").arg(vista->windowTitle()));
    } else if (esito.errore().codice == CodiceErrore::Annullato) {
        statusBar()->showMessage(QStringLiteral("Stampa annullata"));
    } else {
        avvisaErrore(QStringLiteral("Impossibile stampare."), esito.errore(), kTitoloStampa);
    }
}

}  // namespace pliventa
