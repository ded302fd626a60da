// The menu bar: the last work file opened again, the entries of the views on the
// open work file, and the guide. The buttons stay as they are; the menus add
// nothing they do except the exit and the information box.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_guida.h"
#include "shell/finestra_riepilogo.h"
#include "shell/frmview.h"

namespace pliventa {

void frmView::costruisciMenu() {
    // The buttons' access keys (P, A, F, C, S, H, U) belong to the window's design
    // and come first: a menu sharing one would take the key, and the button would
    // only get the focus at the first press. The menus use letters no button uses.
    QMenu* file = menuBar()->addMenu(QStringLiteral("Fil&e"));
    file->setObjectName(QStringLiteral("menuFile"));
    azioneRiapri = file->addAction(QStringLiteral("&Riapri l'ultimo archivio"), this,
                                   &frmView::riapriUltimoArchivio);
    azioneRiapri->setObjectName(QStringLiteral("azioneRiapri"));
    QAction* importaPiu =
        file->addAction(QStringLiteral("&Importa più file…"), this, &frmView::importaPiuFile);
    importaPiu->setObjectName(QStringLiteral("azioneImportaPiuFile"));
    QAction* stampa = file->addAction(QStringLiteral("&Stampa…"), this, &frmView::stampa);
    stampa->setObjectName(QStringLiteral("azioneStampa"));
    stampa->setShortcut(QKeySequence::Print);
    // Ctrl+P prints the view in front too, a window of its own.
    stampa->setShortcutContext(Qt::ApplicationShortcut);
    file->addSeparator();
    QAction* esci = file->addAction(QStringLiteral("&Esci"), this, &frmView::Command2_Click);
    esci->setObjectName(QStringLiteral("azioneEsci"));

    QMenu* visualizza = menuBar()->addMenu(QStringLiteral("&Visualizza"));
    visualizza->setObjectName(QStringLiteral("menuVisualizza"));
    azioneElenco =
        visualizza->addAction(QStringLiteral("&Elenco versamenti…"), this, &frmView::mostraElenco);
    azioneElenco->setObjectName(QStringLiteral("azioneElenco"));
    azioneRiepilogo =
        visualizza->addAction(QStringLiteral("&Riepilogo…"), this, &frmView::mostraRiepilogo);
    azioneRiepilogo->setObjectName(QStringLiteral("azioneRiepilogo"));
    azioneControlli =
        visualizza->addAction(QStringLiteral("&Controlli…"), this, &frmView::mostraControlli);
    azioneControlli->setObjectName(QStringLiteral("azioneControlli"));
    azioneScheda = visualizza->addAction(QStringLiteral("&Scheda contribuente…"), this,
                                         [this] { mostraScheda(); });
    azioneScheda->setObjectName(QStringLiteral("azioneScheda"));

    QMenu* aiuto = menuBar()->addMenu(QStringLiteral("A&iuto"));
    aiuto->setObjectName(QStringLiteral("menuAiuto"));
    QAction* guida = aiuto->addAction(QStringLiteral("&Guida"), this, &frmView::mostraGuida);
    guida->setObjectName(QStringLiteral("azioneGuida"));
    guida->setShortcut(QKeySequence(Qt::Key_F1));
    QAction* informazioni =
        aiuto->addAction(QStringLiteral("&Informazioni"), this, &frmView::cmdHelp_Click);
    informazioni->setObjectName(QStringLiteral("azioneInformazioni"));

    // Whether the last work file still exists is asked when the menu opens.
    connect(file, &QMenu::aboutToShow, this, &frmView::aggiornaMenu);
    connect(this, &frmView::archivioCambiato, this, &frmView::aggiornaMenu);
    // The views close on their own; they are no longer those of the file open.
    connect(this, &frmView::archivioCambiato, this, [this] {
        elenco_.clear();
        riepilogo_.clear();
        controlli_.clear();
    });
    // Back from another program, which may have written the work file meanwhile;
    // not over a dialog or a running work, which hold the window's attention.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState stato) {
                if (stato == Qt::ApplicationActive) {
                    QMetaObject::invokeMethod(
                        this,
                        [this] {
                            if (isEnabled() && QApplication::activeModalWidget() == nullptr) {
                                verificaArchivio();
                            }
                        },
                        Qt::QueuedConnection);
                }
            });
    aggiornaMenu();
}

void frmView::verificaArchivio() {
    if (lavoro_ != nullptr || verificaInCorso_) {
        return;
    }
    const Esito<bool> cambiato = sessione().cambiatoSulDisco();
    if (cambiato && !*cambiato) {
        return;
    }
    verificaInCorso_ = true;
    const QString percorso =
        QFile::decodeName(QByteArray::fromStdString(sessione().archivio()->percorso()));
    const QString ancora =
        QStringLiteral("la finestra e le viste continuano a mostrare il file aperto prima.");
    if (!cambiato) {
        dialoghi_.messaggio(
            QStringLiteral("Il file di lavoro aperto non si trova più sul disco:\r\n") +
                QString::fromStdString(cambiato.errore().descrizione()) +
                QStringLiteral("\r\nPer ora ") + ancora,
            kTitoloPredefinito, Pulsanti::ok, Icona::esclamazione);
        sessione().ignoraDisco();
    } else if (dialoghi_.domanda(QStringLiteral("Il file di lavoro\r\n") + percorso +
                                     QStringLiteral("\r\nè stato sostituito o modificato da un "
                                                    "altro programma dopo l'apertura.\r\n"
                                                    "Riaprirlo? Con «No» ") +
                                     ancora,
                                 kTitoloPredefinito, Icona::domanda)) {
        riapriDaDisco();
    } else {
        sessione().ignoraDisco();
        statusBar()->showMessage(QStringLiteral(
            "Il file di lavoro sul disco è cambiato: si mostra quello aperto prima"));
    }
    verificaInCorso_ = false;
}

void frmView::riapriDaDisco() {
    const std::optional<Sessione::Ripresa> aperto = sessione().ripresa();
    const bool elenco = elenco_ != nullptr;
    const bool riepilogo = riepilogo_ != nullptr;
    const bool controlli = controlli_ != nullptr;
    const QString percorso = QFile::decodeName(QByteArray::fromStdString(aperto->percorso));
    const EsitoVuoto riaperto = apriArchivio(percorso, aperto->lettura);
    const Esito<QString> primo = riaperto ? mostraPrimo() : Esito<QString>(riaperto.errore());
    if (!primo) {
        avvisaErrore(QStringLiteral("Impossibile riaprire il file di lavoro."), primo.errore(),
                     kTitoloPredefinito);
        sessione().ignoraDisco();  // asked once: the open file stays
        return;
    }
    statusBar()->showMessage(QStringLiteral("Archivio riaperto: ") + percorso + *primo);
    // The views that were open are made again on the file now open.
    if (elenco) {
        mostraElenco();
    }
    if (riepilogo) {
        mostraRiepilogo();
    }
    if (controlli) {
        mostraControlli();
    }
}

void frmView::mostraGuida() {
    // One guide at a time: asked for again, the open one comes to the front.
    if (guida_ == nullptr) {
        guida_ = new FinestraGuida(this);
    }
    guida_->show();
    guida_->raise();
    guida_->activateWindow();
}

void frmView::aggiornaMenu() {
    azioneRiapri->setEnabled(controllore_.ultimoArchivio().has_value());
    const bool aperto = sessione().aperto();
    azioneElenco->setEnabled(aperto);
    azioneRiepilogo->setEnabled(aperto);
    azioneControlli->setEnabled(aperto);
    azioneScheda->setEnabled(aperto);
}

void frmView::chiudiArchivio() {
    sessione().chiudi();
    emit archivioCambiato();
}

void frmView::ricordaArchivio(const QString& percorso, LetturaAtto lettura) {
    controllore_.ricordaArchivio(percorso, lettura);
    aggiornaMenu();
}

void frmView::riapriUltimoArchivio() {
    const auto ultimo = controllore_.ultimoArchivio();
    if (!ultimo) {
        aggiornaMenu();  // it went away since the menu was shown
        return;
    }
    const auto& [percorso, lettura] = *ultimo;
    const EsitoVuoto aperto = apriArchivio(percorso, lettura);
    const Esito<QString> primo = aperto ? mostraPrimo() : Esito<QString>(aperto.errore());
    if (!primo) {
        avvisaErrore(QStringLiteral("Impossibile riaprire l'ultimo archivio."), primo.errore(),
                     kTitoloPredefinito);
        return;
    }
    Text2->setText(percorso);
    statusBar()->showMessage(QStringLiteral("Archivio riaperto: ") + percorso + *primo);
}

Esito<QString> frmView::mostraPrimo() {
    const Esito<double> numero = sessione().archivio()->numerorecord();
    if (!numero) {
        return numero.errore();
    }
    Text5->setText(QString::fromStdString(formattaNumero(*numero, separatori())));
    sessione().impostaRecordcorrente(1);
    if (*numero < 1) {
        mostraVuoto();  // no payment: nothing to read, nothing to show
        return QString();
    }
    const EsitoVuoto mostrato = mostrarecord(FormaNumero::conPrefisso);
    if (!mostrato) {
        return QStringLiteral(" · primo versamento illeggibile: ") +
               QString::fromStdString(mostrato.errore().descrizione());
    }
    return QString();
}

}  // namespace pliventa
