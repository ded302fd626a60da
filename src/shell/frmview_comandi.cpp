// The window's own handlers: wiring, keyboard, information and credit boxes, the
// file chooser, exit.
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <iterator>

#include "shell/frmdirfiles.h"
#include "shell/frmview.h"
#include "shell/lavoro.h"

namespace pliventa {

namespace {

const QString kCredito = QStringLiteral("Pliventa - a cura del gruppo di sviluppo Pliventa");

// The keys that browse the payments even while a text box has the focus. Plain
// Home and End are left to the text boxes, which move their cursor with them.
bool tastoDiNavigazione(const QKeyEvent* e) {
    const auto modificatori = e->modifiers() & ~Qt::KeypadModifier;
    switch (e->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return modificatori == Qt::NoModifier;
        case Qt::Key_Home:
        case Qt::Key_End:
            return modificatori == Qt::ControlModifier;
        default:
            return false;
    }
}

}  // namespace

void frmView::collega() {
    connect(this, &frmView::archivioCambiato, this, &frmView::segnaArchivio);
    connect(cmdApri, &QPushButton::clicked, this, &frmView::cmdApri_Click);
    connect(cmd1997, &QPushButton::clicked, this, &frmView::cmd1997_Click);
    connect(cmdViol, &QPushButton::clicked, this, &frmView::cmdViol_Click);
    connect(Command3, &QPushButton::clicked, this, &frmView::Command3_Click);
    connect(cmdInizio, &QPushButton::clicked, this, &frmView::cmdInizio_Click);
    connect(cmdIndietro, &QPushButton::clicked, this, &frmView::cmdIndietro_Click);
    connect(cmdAvanti, &QPushButton::clicked, this, &frmView::cmdAvanti_Click);
    connect(cmdFine, &QPushButton::clicked, this, &frmView::cmdFine_Click);
    connect(cmdRicerca, &QPushButton::clicked, this, &frmView::cmdRicerca_Click);
    connect(cmdExcel, &QPushButton::clicked, this, &frmView::cmdExcel_Click);
    connect(cmdUniriscossioni, &QPushButton::clicked, this, &frmView::cmdUniriscossioni_Click);
    connect(Command1, &QPushButton::clicked, this, &frmView::Command1_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmView::cmdHelp_Click);
    connect(Command2, &QPushButton::clicked, this, &frmView::Command2_Click);
    connect(Combo1, &QComboBox::currentTextChanged, this, &frmView::valutaCambiata);
    // Enter in the codice fiscale box searches, as the button beside it does.
    connect(Text3[1], &QLineEdit::returnPressed, this, &frmView::cmdRicerca_Click);
    // Double-clicks on the logo and the record boxes, and the navigation keys
    // inside every text box (the currency box's editor included).
    Image1->installEventFilter(this);
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        e->installEventFilter(this);
    }

    // Tab follows the screen: the paths, the record area top to bottom with the
    // search button right after the codice fiscale it searches by, the middle column,
    // the navigation bar with the record number between its arrows, the buttons.
    QWidget* const ordine[] = {
        Text1,       Text2,     Text3[0],          Text3[1], cmdRicerca, Text3[2],
        Text3[3],    Text3[4],  Text3[5],          Text3[6], Text3[7],   Text3[8],
        Text3[9],    Text3[11], Text3[10],         Combo1,   Text5,      cmdInizio,
        cmdIndietro, Text4,     cmdAvanti,         cmdFine,  cmdApri,    cmd1997,
        cmdViol,     Command3,  cmdUniriscossioni, cmdExcel, Command1,   cmdHelp,
        Command2};
    for (std::size_t i = 1; i < std::size(ordine); ++i) {
        setTabOrder(ordine[i - 1], ordine[i]);
    }
    // The first thing to do is to open a file.
    cmdApri->setFocus();
}

void frmView::scorciatoie() {
    const std::pair<QKeySequence, void (frmView::*)()> tasti[] = {
        {QKeySequence(Qt::Key_PageUp), &frmView::cmdIndietro_Click},
        {QKeySequence(Qt::Key_PageDown), &frmView::cmdAvanti_Click},
        {QKeySequence(Qt::Key_Home), &frmView::cmdInizio_Click},
        {QKeySequence(Qt::Key_End), &frmView::cmdFine_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), &frmView::cmdInizio_Click},
        {QKeySequence(Qt::CTRL | Qt::Key_End), &frmView::cmdFine_Click},
    };
    for (const auto& [sequenza, gestore] : tasti) {
        auto* s = new QShortcut(sequenza, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, gestore);
    }
}

bool frmView::eventFilter(QObject* oggetto, QEvent* evento) {
    // While long work runs (the window disabled) a double-click does nothing.
    if (evento->type() == QEvent::MouseButtonDblClick && isEnabled()) {
        if (oggetto == Image1) {
            Image1_DblClick();
            return true;
        }
        for (std::size_t i = 0; i < Text3.size(); ++i) {
            if (oggetto == Text3[i]) {
                Text3_DblClick(static_cast<int>(i));
                // Text3(1) is emptied; the others keep the text box's own behaviour.
                return i == 1;
            }
        }
    } else if (evento->type() == QEvent::ShortcutOverride &&
               tastoDiNavigazione(static_cast<QKeyEvent*>(evento))) {
        // Not claimed by the text box, so the window's shortcut runs.
        evento->ignore();
        return true;
    }
    return QMainWindow::eventFilter(oggetto, evento);
}

void frmView::cmdHelp_Click() {
    dialoghi_.messaggio(
        QStringLiteral("Per qualsiasi informazione rivolgersi alla sede D.O.D. di competenza.") +
            QStringLiteral("\r\n") +
            QStringLiteral("Pliventa è realizzato dal gruppo di sviluppo Pliventa per gli uffici "
                           "tributi comunali."),
        QStringLiteral("Pliventa vers. ") + versione(), Pulsanti::ok, Icona::informazione);
}

void frmView::Image1_DblClick() {
    dialoghi_.messaggio(kCredito, kTitoloPredefinito, Pulsanti::ok, Icona::nessuna);
}

void frmView::Text3_DblClick(int index) {
    // Only the codice fiscale box is emptied, so that the user can type the
    // beginning of a codice fiscale to search for.
    if (index == 1) {
        Text3[1]->clear();
    }
}

void frmView::Command2_Click() {
    termina();
}

void frmView::avvisaErrore(const QString& intro, const Errore& errore, const QString& titolo) {
    dialoghi_.messaggio(
        intro + QStringLiteral("\r\n") + QString::fromStdString(errore.descrizione()), titolo,
        Pulsanti::ok, Icona::esclamazione);
}

void frmView::closeEvent(QCloseEvent* event) {
    if (lavoro_ != nullptr) {
        // The work reads the open work file: it is stopped first, and the window
        // closes once it has ended.
        lavoro_->annulla();
        chiusuraRinviata_ = true;
        event->ignore();
        return;
    }
    termina();
    event->accept();
}

void frmView::eseguiLavoro(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) {
    // The whole window, its views with it: no button, menu or key (the navigation
    // shortcuts included) reaches a handler while the work runs.
    setEnabled(false);
    lavoro_ = &lavoro;
    dialoghi_.attendi(lavoro, titolo, fasi);
    lavoro_ = nullptr;
    setEnabled(true);
    if (chiusuraRinviata_) {
        QMetaObject::invokeMethod(this, &frmView::termina, Qt::QueuedConnection);
    }
}

void frmView::termina() {
    if (terminato_) {
        return;
    }
    terminato_ = true;
    chiudiArchivio();
    emit terminaProgramma();
    close();
}

void frmView::Command1_Click() {
    // The work file is closed: the file chosen is meant to be imported in its place.
    chiudiArchivio();
    // Modal: the window takes no input until the chooser is closed.
    frmDirFiles scelta(dialoghi_, this);
    scelta.exec();
    raise();
    activateWindow();
}

}  // namespace pliventa
