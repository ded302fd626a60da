// The menu bar: the last work file opened again, and the views on the open work
// file (the list, the summary, the checks). The buttons stay as they are; the
// menus add nothing they do except the exit and the information box.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

#include "shell/controlli.h"
#include "shell/elenco.h"
#include "shell/frmview.h"
#include "shell/riepilogo.h"

namespace pliventa {

namespace {

// The settings keep the last work file made, as an absolute path, and the notice
// reading it was written with: a 1997 violation file reads its notices short.
const QString kChiavePercorso = QStringLiteral("UltimoArchivio/percorso");
const QString kChiaveLettura = QStringLiteral("UltimoArchivio/lettura");

QString nomeLettura(LetturaAtto lettura) {
    return lettura == LetturaAtto::breve ? QStringLiteral("breve") : QStringLiteral("lunga");
}

// Brings a view that lives on to the front, as a second request for it means.
void porta(QWidget* finestra) {
    finestra->show();
    finestra->raise();
    finestra->activateWindow();
}

}  // namespace

void frmView::costruisciMenu() {
    // The buttons' access keys (P, A, F, C, S, H, U) belong to the window's design
    // and come first: a menu sharing one would take the key, and the button would
    // only get the focus at the first press. The menus use letters no button uses.
    QMenu* file = menuBar()->addMenu(QStringLiteral("Fil&e"));
    file->setObjectName(QStringLiteral("menuFile"));
    azioneRiapri = file->addAction(QStringLiteral("&Riapri l'ultimo archivio"), this,
                                   &frmView::riapriUltimoArchivio);
    azioneRiapri->setObjectName(QStringLiteral("azioneRiapri"));
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

    QMenu* aiuto = menuBar()->addMenu(QStringLiteral("A&iuto"));
    aiuto->setObjectName(QStringLiteral("menuAiuto"));
    QAction* informazioni =
        aiuto->addAction(QStringLiteral("&Informazioni"), this, &frmView::cmdHelp_Click);
    informazioni->setObjectName(QStringLiteral("azioneInformazioni"));

    // Whether the last work file still exists is asked when the menu opens.
    connect(file, &QMenu::aboutToShow, this, &frmView::aggiornaMenu);
    connect(this, &frmView::archivioCambiato, this, &frmView::aggiornaMenu);
    aggiornaMenu();
}

void frmView::aggiornaMenu() {
    azioneRiapri->setEnabled(ultimoArchivio().has_value());
    const bool aperto = sessione_.aperto();
    azioneElenco->setEnabled(aperto);
    azioneRiepilogo->setEnabled(aperto);
    azioneControlli->setEnabled(aperto);
}

void frmView::chiudiArchivio() {
    sessione_.chiudi();
    emit archivioCambiato();
}

void frmView::ricordaArchivio(const QString& percorso, LetturaAtto lettura) {
    QSettings impostazioni;
    impostazioni.setValue(kChiavePercorso, QFileInfo(percorso).absoluteFilePath());
    impostazioni.setValue(kChiaveLettura, nomeLettura(lettura));
    aggiornaMenu();
}

std::optional<std::pair<QString, LetturaAtto>> frmView::ultimoArchivio() const {
    const QSettings impostazioni;
    const QString percorso = impostazioni.value(kChiavePercorso).toString();
    if (percorso.isEmpty() || !QFileInfo(percorso).isFile()) {
        return std::nullopt;
    }
    const LetturaAtto lettura =
        impostazioni.value(kChiaveLettura).toString() == nomeLettura(LetturaAtto::breve)
            ? LetturaAtto::breve
            : LetturaAtto::lunga;
    return std::pair(percorso, lettura);
}

void frmView::riapriUltimoArchivio() {
    const auto ultimo = ultimoArchivio();
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
    const Esito<double> numero = sessione_.archivio()->numerorecord();
    if (!numero) {
        return numero.errore();
    }
    Text5->setText(QString::fromStdString(formattaNumero(*numero, separatori())));
    sessione_.impostaRecordcorrente(1);
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

void frmView::vaiAVersamento(std::uint64_t numero) {
    if (!sessione_.aperto()) {
        return;
    }
    const double prima = sessione_.recordcorrente();
    sessione_.impostaRecordcorrente(static_cast<double>(numero));
    if (!mostrarecord(FormaNumero::conPrefisso)) {
        sessione_.impostaRecordcorrente(prima);
        return;
    }
    porta(this);
}

void frmView::mostraElenco() {
    if (!sessione_.aperto()) {
        avvisaNessunArchivio();
        return;
    }
    if (elenco_ == nullptr) {
        elenco_ = new FinestraElenco(*this, dialoghi_);
        if (!elenco_->apri()) {
            elenco_->deleteLater();
            return;
        }
    }
    porta(elenco_);
}

void frmView::mostraRiepilogo() {
    if (!sessione_.aperto()) {
        avvisaNessunArchivio();
        return;
    }
    if (riepilogo_ == nullptr) {
        riepilogo_ = new FinestraRiepilogo(*this, dialoghi_);
        if (!riepilogo_->calcola()) {
            riepilogo_->deleteLater();
            return;
        }
    }
    porta(riepilogo_);
}

void frmView::mostraControlli() {
    if (!sessione_.aperto()) {
        avvisaNessunArchivio();
        return;
    }
    if (controlli_ == nullptr) {
        controlli_ = new FinestraControlli(*this, dialoghi_);
        if (!controlli_->calcola()) {
            controlli_->deleteLater();
            return;
        }
    }
    porta(controlli_);
}

}  // namespace pliventa
