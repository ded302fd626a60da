// The four imports: one routine, parameterised by the prompt, the layout and the
// title of the closing message; and the import of several files at once.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QStatusBar>
#include <algorithm>

#include "importers/importatori.h"
#include "importers/importazione.h"
#include "importers/riconoscimento.h"
#include "risconet/risconet.h"
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

const QString kTitoloPiuFile = QStringLiteral("Importa più file");

/// Each of `percorsi` with the layout its first lines tell; a file that cannot be
/// read is listed with the system's reason, and the import names it again.
std::vector<FileDaImportare> riconosciuti(const QStringList& percorsi) {
    std::vector<FileDaImportare> file;
    for (const QString& p : percorsi) {
        const Esito<Riconoscimento> r = riconosciFile(QFile::encodeName(p).toStdString());
        const std::string& motivo = r ? r->motivo : r.errore().motivo;
        file.push_back({p, r ? r->formato : std::nullopt, QString::fromStdString(motivo)});
    }
    return file;
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
    apriImportato(archivio, letturaAtto(tracciato), titoloChiusura, riepilogo(*conteggi), avviso);
}

void frmView::apriImportato(const QString& archivio, LetturaAtto lettura,
                            const QString& titoloChiusura, const QString& conteggi,
                            const QString& avviso) {
    Text2->setText(archivio);
    dialoghi_.messaggio(QStringLiteral("Preparazione terminata"), titoloChiusura, Pulsanti::ok,
                        Icona::nessuna);

    const EsitoVuoto aperto = apriArchivio(archivio, lettura);
    const Esito<QString> primo = aperto ? mostraPrimo() : Esito<QString>(aperto.errore());
    if (!primo) {
        avvisaErrore(QStringLiteral("Impossibile aprire il file convertito."), primo.errore(),
                     titoloChiusura);
        chiudiArchivio();
        statusBar()->showMessage(conteggi + avviso);
        return;
    }
    ricordaArchivio(archivio, lettura);
    statusBar()->showMessage(conteggi + *primo + avviso);
}

void frmView::importaPiuFile() {
    const QString cartella = QDir::currentPath();
    const QStringList percorsi = dialoghi_.scegliFile(kTitoloPiuFile, cartella);
    if (percorsi.isEmpty()) {
        return;
    }
    const std::optional<std::vector<Formato>> formati =
        dialoghi_.scegliTracciati(kTitoloPiuFile, riconosciuti(percorsi));
    if (!formati) {
        statusBar()->showMessage(QStringLiteral("Importazione annullata"));
        return;
    }
    std::vector<std::pair<QString, Formato>> input;
    std::vector<Tracciato> tracciati;
    for (qsizetype i = 0; i < percorsi.size(); ++i) {
        const Formato f = (*formati)[static_cast<std::size_t>(i)];
        input.emplace_back(percorsi[i], f);
        tracciati.push_back(tracciatoDi(f));
    }
    // As the conversion does, any answer is the code: it only fills columns 4 to 7.
    QString belfiore;
    if (std::ranges::find(*formati, Formato::risconet) != formati->end()) {
        belfiore = dialoghi_.input(QStringLiteral("Inserisci Codice Belfiore Ente (A000)"),
                                   kTitoloPiuFile, QString());
        if (const EsitoVuoto ammesso = controllaBelfiore(belfiore.toStdString()); !ammesso) {
            avvisaErrore(QStringLiteral("Impossibile importare i file."), ammesso.errore(),
                         kTitoloPiuFile);
            return;
        }
    }

    // As in the single imports, the work file about to be replaced is closed first
    // and opened again as it was should the import fail or be cancelled.
    const std::optional<Sessione::Ripresa> prima = sessione().ripresa();
    chiudiArchivio();
    const QString archivio = Controllore::archivioImportazione(tracciati, cartella);
    const Esito<std::vector<Conteggi>> conteggi =
        controllore_.importaTutti(input, belfiore, archivio, kTitoloPiuFile);
    if (!conteggi) {
        rimettiArchivio(prima);
        if (conteggi.errore().codice == CodiceErrore::Annullato) {
            statusBar()->showMessage(QStringLiteral("Importazione annullata"));
            return;
        }
        avvisaErrore(QStringLiteral("Impossibile importare i file."), conteggi.errore(),
                     kTitoloPiuFile);
        statusBar()->showMessage(QStringLiteral("Importazione non riuscita: ") +
                                 QString::fromStdString(conteggi.errore().descrizione()));
        return;
    }
    Conteggi totale;
    for (const Conteggi& c : *conteggi) {
        totale += c;
    }
    Text1->setText(percorsi.join(QStringLiteral("; ")));
    apriImportato(archivio, letturaAtto(tracciati), kTitoloPiuFile,
                  QStringLiteral("File importati: %1 · ").arg(conteggi->size()) + riepilogo(totale),
                  QString());
}

}  // namespace pliventa
