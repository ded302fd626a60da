// The conversion of a Risconet export into 200-character CNC lines, written as
// versunir.out beside the export for the ANCI-CNC 2000 import to read.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QStatusBar>

#include "importers/importazione.h"
#include "importers/lettore.h"
#include "risconet/risconet.h"
#include "shell/frmview.h"
#include "shell/percorso.h"

namespace pliventa {

void frmView::cmdUniriscossioni_Click() {
    // The work file is closed: after the conversion, browsing needs an import.
    // Should the conversion fail or be cancelled, it is opened again as it was.
    const std::optional<Sessione::Ripresa> prima = sessione().ripresa();
    const QString text1Prima = Text1->text();
    const QString text2Prima = Text2->text();
    chiudiArchivio();
    const std::optional<RispostaPercorso> risposta =
        chiedipercorso(kPercorsoRisconet, dialoghi_, QDir::currentPath());
    if (!risposta) {
        termina();  // an empty or cancelled answer ends the program
        return;
    }
    Text1->setText(risposta->percorso);
    const std::string input = QFile::encodeName(risposta->percorso).toStdString();
    const std::string output = percorsoConvertito(input);
    const QString avviso = avvisoMemo(*risposta);
    const auto nonRiuscita = [&](const Errore& errore) {
        rimettiArchivio(prima);
        Text2->setText(text2Prima);  // the file that is open again, if any
        if (errore.codice == CodiceErrore::Annullato) {
            Text1->setText(text1Prima);
            statusBar()->showMessage(QStringLiteral("Conversione annullata") + avviso);
            return;
        }
        avvisaErrore(QStringLiteral("Impossibile convertire il file."), errore,
                     kPercorsoRisconet.titolo);
        statusBar()->showMessage(QStringLiteral("Conversione non riuscita: ") +
                                 QString::fromStdString(errore.descrizione()) + avviso);
    };
    // The input is opened before the municipality's code is asked for: a path
    // typed wrong is reported before the clerk types a code for nothing.
    Esito<LettoreRighe> lettore = LettoreRighe::apri(input);
    if (!lettore) {
        nonRiuscita(lettore.errore());
        return;
    }
    Text2->setText(QFile::decodeName(QByteArray::fromStdString(output)));
    // Any answer is the code, an empty one too: it only fills columns 4 to 7.
    const QString belfiore =
        dialoghi_.input(QStringLiteral("Inserisci Codice Belfiore Ente (A000)"),
                        kPercorsoRisconet.titolo, QString());
    if (const EsitoVuoto ammesso = controllaBelfiore(belfiore.toStdString()); !ammesso) {
        nonRiuscita(ammesso.errore());
        return;
    }

    const Esito<Conteggi> conteggi =
        controllore_.converti(*lettore, output, belfiore, kPercorsoRisconet.titolo);
    if (!conteggi) {
        nonRiuscita(conteggi.errore());
        return;
    }
    ricordaArchivio(Text2->text(), LetturaAtto::lunga);
    dialoghi_.messaggio(QStringLiteral("Elaborazione Terminata"), kTitoloPredefinito, Pulsanti::ok,
                        Icona::nessuna);
    QString stato =
        QStringLiteral("Versamenti convertiti: %1 · righe scartate: %2 (intestazione compresa)")
            .arg(conteggi->versamenti)
            .arg(conteggi->righeScartate);
    if (conteggi->righeTagliate > 0) {
        stato += QStringLiteral(" · righe troppo lunghe, convertite solo in parte: %1")
                     .arg(conteggi->righeTagliate);
    }
    statusBar()->showMessage(stato + avviso);
}

}  // namespace pliventa
