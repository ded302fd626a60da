// The export of the open work file to an .xlsx workbook, written off the
// window's thread and then opened in the user's spreadsheet program.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStatusBar>
#include <optional>

#include "export/celle.h"
#include "export/esportazione.h"
#include "shell/frmview.h"
#include "shell/lavoro.h"

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
    if (!sessione_.aperto()) {
        avvisaNessunArchivio();
        return;
    }
    OpzioniEsportazione opzioni;
    opzioni.nomeFoglio = nomeFoglioDiAdesso();
    opzioni.valuta = Combo1->currentText().toStdString();
    opzioni.lettura = sessione_.lettura();
    const QString proposta = QDir::current().filePath(QString::fromStdString(opzioni.nomeFoglio) +
                                                      QStringLiteral(".xlsx"));
    const QString percorso = dialoghi_.salvaCome(kTitoloExcel, proposta, kFiltroExcel).percorso;
    if (percorso.isEmpty()) {
        return;
    }

    // The export reads the open work file by record number from its own thread;
    // it never moves recordcorrente, so browsing goes on from the payment shown.
    const ArchivioLavoro& archivio = *sessione_.archivio();
    const std::string destinazione = QFile::encodeName(percorso).toStdString();
    std::optional<Esito<RiepilogoEsportazione>> esito;
    Lavoro lavoro([&](Lavoro& l) {
        Controllo controllo;
        int fase = 0;
        controllo.annulla = &l.annullamento();
        controllo.nuovaFase = [&fase](unsigned f) { fase = static_cast<int>(f); };
        controllo.progresso = [&l, &fase](std::uint64_t fatti, std::uint64_t totale) {
            l.avanza(fase, fatti, totale);
        };
        esito = pliventa::stampaexcel(archivio, destinazione, opzioni, controllo);
    });
    eseguiLavoro(
        lavoro, kTitoloExcel,
        {QStringLiteral("Calcolo dei totali…"), QStringLiteral("Scrittura dei versamenti…"),
         QStringLiteral("Compressione della cartella di lavoro…")});
    esito = esitoDi(lavoro, std::move(esito));

    if (!esito->ok()) {
        if (esito->errore().codice == CodiceErrore::Annullato) {
            statusBar()->showMessage(QStringLiteral("Esportazione annullata: nessun file scritto"));
            return;
        }
        avvisaErrore(QStringLiteral("Impossibile creare il file Excel."), esito->errore(),
                     kTitoloExcel);
        statusBar()->showMessage(QStringLiteral("Esportazione non riuscita"));
        return;
    }
    const RiepilogoEsportazione& r = esito->valore();
    // Counts as the import's status line gives them, without grouping.
    QString stato = QStringLiteral("Versamenti esportati: %1 · %2").arg(r.esportati).arg(percorso);
    if (r.esclusi > 0) {
        // Never a silent stop: the clerk learns how many payments are missing.
        dialoghi_.messaggio(
            QStringLiteral("Il foglio contiene al massimo %1 versamenti: %2 versamenti non sono "
                           "stati esportati.")
                .arg(QLocale().toString(static_cast<qulonglong>(kRigheFoglio - 2)))
                .arg(r.esclusi),
            kTitoloExcel, Pulsanti::ok, Icona::esclamazione);
        stato += QStringLiteral(" · esclusi perché il foglio è pieno: %1").arg(r.esclusi);
    }
    if (r.parziale) {
        stato += QStringLiteral(" · ignorato un record finale incompleto");
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
