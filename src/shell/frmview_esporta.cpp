// The export of the open work file to an .xlsx workbook, written off the
// window's thread and then opened in the user's spreadsheet program.
#include <QDir>
#include <QLocale>
#include <QStatusBar>

#include "export/celle.h"
#include "export/esportazione.h"
#include "shell/frmview.h"

namespace pliventa {

namespace {

const QString kTitoloExcel = QStringLiteral("Crea File Excel");
const QString kFiltroExcel = QStringLiteral("Cartella di lavoro Excel (*.xlsx)");

}  // namespace

void frmView::cmdExcel_Click() {
    stampaexcel();
}

void frmView::stampaexcel() {
    // Nothing to export from: say so before anything is asked or written.
    if (!sessione().aperto()) {
        avvisaNessunArchivio();
        return;
    }
    verificaArchivio();  // the export is of the file the clerk means
    const std::string foglio = nomeFoglioDiAdesso();
    const QString proposta =
        QDir::current().filePath(QString::fromStdString(foglio) + QStringLiteral(".xlsx"));
    const QString percorso = dialoghi_.salvaCome(kTitoloExcel, proposta, kFiltroExcel).percorso;
    if (percorso.isEmpty()) {
        return;
    }

    const Esito<RiepilogoEsportazione> esito =
        controllore_.esporta(percorso, foglio, valuta(), kTitoloExcel);

    if (!esito.ok()) {
        if (esito.errore().codice == CodiceErrore::Annullato) {
            statusBar()->showMessage(QStringLiteral("Esportazione annullata: nessun file scritto"));
            return;
        }
        avvisaErrore(QStringLiteral("Impossibile creare il file Excel."), esito.errore(),
                     kTitoloExcel);
        statusBar()->showMessage(QStringLiteral("Esportazione non riuscita"));
        return;
    }
    const RiepilogoEsportazione& r = esito.valore();
    // Counts as the import's status line gives them, without grouping.
    QString stato = QStringLiteral("Versamenti esportati: %1 · %2").arg(r.esportati).arg(percorso);
    if (r.esclusi > 0) {
        // Never a silent stop: the clerk learns how many payments are missing.
        dialoghi_.messaggio(
            QStringLiteral("Il foglio contiene al massimo %1 versamenti: %2 versamenti non sono "
                           "stati esportati.")
                .arg(QLocale().toString(static_cast<qulonglong>(controllore_.righeFoglio() - 2)))
                .arg(r.esclusi),
            kTitoloExcel, Pulsanti::ok, Icona::esclamazione);
        stato += QStringLiteral(" · esclusi perché il foglio è pieno: %1").arg(r.esclusi);
    }
    if (r.parziale) {
        stato += QStringLiteral(" · ignorato un record finale incompleto");
    }
    if (r.celleRiparate > 0) {
        stato +=
            QStringLiteral(" · celle con caratteri nulli, scritti come �: %1").arg(r.celleRiparate);
    }
    statusBar()->showMessage(stato);
    if (!dialoghi_.apriDocumento(percorso)) {
        dialoghi_.messaggio(QStringLiteral("Il file Excel è stato creato, ma nessun programma ha "
                                           "potuto aprirlo. Si trova in:") +
                                QStringLiteral("\r\n") + percorso,
                            kTitoloExcel, Pulsanti::ok, Icona::informazione);
    }
}

}  // namespace pliventa
