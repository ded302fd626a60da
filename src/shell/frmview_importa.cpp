// The four imports: one routine, parameterised by the prompt, the layout and the
// title of the closing message.
#include <QDir>
#include <QLineEdit>
#include <QStatusBar>

#include "importers/importatori.h"
#include "importers/importazione.h"
#include "shell/frmview.h"
#include "shell/percorso.h"

namespace pliventa {

namespace {

const QString kTitoloCnc = QStringLiteral("Visualizza Files Versamenti CNC");

QString riepilogo(const Conteggi& c) {
    QString testo =
        QStringLiteral(
            "Versamenti importati: %1 · righe scartate: %2 · righe completate con spazi: %3 · "
            "righe troncate: %4")
            .arg(c.versamenti)
            .arg(c.righeScartate)
            .arg(c.completate)
            .arg(c.troncate);
    // Only F24 amounts can be out of format, and hardly ever are: the line tells
    // of them when there are some.
    if (c.importiFuoriFormato > 0) {
        testo += QStringLiteral(" · importi fuori formato: %1").arg(c.importiFuoriFormato);
    }
    return testo;
}

}  // namespace

void frmView::cmdApri_Click() {
    importa(kPercorsoCnc2000, Tracciato::cnc2000, kTitoloCnc);
}

void frmView::cmd1997_Click() {
    importa(kPercorso1997, Tracciato::cnc1997, kTitoloCnc);
}

void frmView::cmdViol_Click() {
    importa(kPercorsoViol97, Tracciato::viol1997, kTitoloCnc);
}

void frmView::Command3_Click() {
    importa(kPercorsoF24, Tracciato::f24, QStringLiteral("Visualizza Files Versamenti F24"));
}

void frmView::rimettiArchivio(const std::optional<Sessione::Ripresa>& prima) {
    // The boxes still show what they showed: only the work file is opened again.
    if (prima && sessione().riprendi(*prima)) {
        emit archivioCambiato();
        return;
    }
    mostraVuoto();
}

void frmView::importa(const TipoPercorso& tipo, Tracciato tracciato,
                      const QString& titoloChiusura) {
    // The work file about to be replaced is closed first; should the import fail
    // or be cancelled, it is opened again as it was.
    const std::optional<Sessione::Ripresa> prima = sessione().ripresa();
    const QString text1Prima = Text1->text();
    chiudiArchivio();
    const QString cartella = QDir::currentPath();
    const std::optional<RispostaPercorso> risposta = chiedipercorso(tipo, dialoghi_, cartella);
    if (!risposta) {
        termina();  // an empty or cancelled answer ends the program, nothing else done
        return;
    }
    Text1->setText(risposta->percorso);
    const QString avviso = avvisoMemo(*risposta);

    // The work file is written beside itself and renamed only when complete, so a
    // failure leaves the previous one on disk as it was.
    const QString archivio = Controllore::archivioImportazione(tracciato, cartella);
    const Esito<Conteggi> conteggi =
        controllore_.importa(risposta->percorso, tracciato, archivio, tipo.titolo);
    if (!conteggi) {
        rimettiArchivio(prima);
        if (conteggi.errore().codice == CodiceErrore::Annullato) {
            Text1->setText(text1Prima);
            statusBar()->showMessage(QStringLiteral("Importazione annullata") + avviso);
            return;
        }
        avvisaErrore(QStringLiteral("Impossibile importare il file."), conteggi.errore(),
                     tipo.titolo);
        statusBar()->showMessage(QStringLiteral("Importazione non riuscita: ") +
                                 QString::fromStdString(conteggi.errore().descrizione()) + avviso);
        return;
    }
    Text2->setText(archivio);
    dialoghi_.messaggio(QStringLiteral("Preparazione terminata"), titoloChiusura, Pulsanti::ok,
                        Icona::nessuna);

    const EsitoVuoto aperto = apriArchivio(archivio, letturaAtto(tracciato));
    const Esito<QString> primo = aperto ? mostraPrimo() : Esito<QString>(aperto.errore());
    if (!primo) {
        avvisaErrore(QStringLiteral("Impossibile aprire il file convertito."), primo.errore(),
                     titoloChiusura);
        chiudiArchivio();
        statusBar()->showMessage(riepilogo(*conteggi) + avviso);
        return;
    }
    ricordaArchivio(archivio, letturaAtto(tracciato));
    statusBar()->showMessage(riepilogo(*conteggi) + *primo + avviso);
}

}  // namespace pliventa
