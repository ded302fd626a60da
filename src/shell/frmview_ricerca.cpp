// Browsing: the four navigation buttons and the search by codice fiscale.
#include <QLineEdit>
#include <QStatusBar>

#include "base/testo.h"
#include "browse/ricerca.h"
#include "shell/frmview.h"

namespace pliventa {

void frmView::cmdInizio_Click() {
    naviga(Movimento::inizio);
}
void frmView::cmdIndietro_Click() {
    naviga(Movimento::indietro);
}
void frmView::cmdAvanti_Click() {
    naviga(Movimento::avanti);
}
void frmView::cmdFine_Click() {
    naviga(Movimento::fine);
}

void frmView::naviga(Movimento m) {
    const Esito<Versamento> letto = sessione().vai(m);
    if (!letto) {
        // Only a missing work file is worth telling; any other failure (an empty
        // file, a number past the end) leaves the window as it was.
        if (letto.errore().codice == CodiceErrore::NessunArchivio) {
            avvisaNessunArchivio();
        }
        return;
    }
    mostra(*letto, FormaNumero::conPrefisso);
}

void frmView::avvisaNessunArchivio() {
    dialoghi_.messaggio(QStringLiteral("Aprire un file prima di effettuare ricerche"),
                        kTitoloPredefinito, Pulsanti::ok, Icona::nessuna);
}

void frmView::cmdRicerca_Click() {
    const QString cercato = QString::fromStdString(maiuscolo(Text3[1]->text().toStdString()));
    Text3[1]->setText(cercato);
    dialoghi_.messaggio(QStringLiteral("Ricerco versamenti con Codice Fiscale che inizia per") +
                            QStringLiteral("\r\n") + cercato,
                        QStringLiteral("Ricerca Versamenti Pliventa"), Pulsanti::ok,
                        Icona::nessuna);
    if (!sessione().aperto()) {
        sessione().impostaRecordcorrente(0);
        avvisaNessunArchivio();
        return;
    }

    // What was on screen, to come back to when no candidate is chosen.
    const double prima = sessione().recordcorrente();
    const Istantanea schermo = istantanea();
    const auto torna = [&](const QString& stato) {
        sessione().impostaRecordcorrente(prima);
        ripristina(schermo);
        Text3[1]->setText(cercato);
        statusBar()->showMessage(stato);
    };

    ScansioneRicerca scansione(*sessione().archivio(), cercato.toStdString());
    int offerti = 0;
    for (;;) {
        const Esito<std::optional<Trovato>> passo = scansione.prossimo();
        if (!passo) {
            torna(QStringLiteral("Ricerca interrotta da un errore di lettura: ") +
                  QString::fromStdString(passo.errore().descrizione()));
            return;
        }
        if (!*passo) {
            break;
        }
        const Trovato& trovato = **passo;
        ++offerti;
        // The candidate is shown whole, with its own layout and notice.
        const QString salvato = Text3[1]->text();
        sessione().impostaRecordcorrente(static_cast<double>(trovato.numero));
        mostra(trovato.versamento, FormaNumero::soloNumero);
        const QString codice = Text3[1]->text();
        // The clerk answers by reading the candidate: the question leaves it in sight.
        const QRect candidato(areaDati->mapToGlobal(QPoint(0, 0)), areaDati->size());
        if (dialoghi_.domanda(QStringLiteral("Trovato il contribuente!") + QStringLiteral("\r\n") +
                                  codice + QStringLiteral("\r\n") + QStringLiteral("E' Lui?"),
                              kTitoloPredefinito, Icona::nessuna, candidato)) {
            statusBar()->showMessage(
                QStringLiteral("Versamento n. %1 scelto dalla ricerca").arg(trovato.numero));
            return;
        }
        Text3[1]->setText(salvato);
    }
    torna(offerti == 0 ? QStringLiteral("Nessun versamento trovato")
          : offerti == 1
              ? QStringLiteral("Ricerca terminata: 1 versamento proposto, nessuno scelto")
              : QStringLiteral("Ricerca terminata: %1 versamenti proposti, nessuno scelto")
                    .arg(offerti));
}

}  // namespace pliventa
