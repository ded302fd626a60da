// The main window's controls, their design texts and their placement.
#include "shell/frmview.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/disegni.h"
#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_riepilogo.h"
#include "shell/viste.h"

namespace pliventa {

namespace {

const QString kUtilizzarePrima =
    QStringLiteral("Utilizzare prima di effettuare ricerche su un nuovo file");

QLabel* etichetta(QWidget* genitore, const QString& nome, const QString& testo) {
    auto* l = new QLabel(testo, genitore);
    l->setObjectName(nome);
    return l;
}

QLineEdit* casella(QWidget* genitore, const QString& nome, const QString& suggerimento = {}) {
    auto* t = new QLineEdit(genitore);
    t->setObjectName(nome);
    t->setToolTip(suggerimento);
    return t;
}

QPushButton* pulsante(QWidget* genitore, const QString& nome, const QString& testo,
                      const QString& suggerimento) {
    auto* p = new QPushButton(testo, genitore);
    p->setObjectName(nome);
    p->setToolTip(suggerimento);
    p->setAutoDefault(false);
    return p;
}

// The width of a line edit that shows `campione` whole: the text, the margins the
// box keeps around it (2 pixels each side, 1 for the cursor) and the frame the
// style draws.
int larghezzaPer(const QLineEdit* t, const QString& campione) {
    QStyleOptionFrame opzioni;
    opzioni.initFrom(t);
    opzioni.lineWidth = t->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opzioni, t);
    const QMargins testo = t->textMargins();
    const QMargins contenuto = t->contentsMargins();
    const int larghezza = t->fontMetrics().horizontalAdvance(campione) + 2 * 2 + 1 + testo.left() +
                          testo.right() + contenuto.left() + contenuto.right();
    return t->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &opzioni,
                           QSize(larghezza, t->fontMetrics().height()), t)
        .width();
}

int larghezzaCaratteri(const QWidget* w, int quanti) {
    // Room for `quanti` digits plus the frame of a line edit.
    return w->fontMetrics().horizontalAdvance(QString(quanti, u'0')) + 16;
}

// A box that only shows a value: it can be selected and copied, not typed in, and
// the window's background tells it from the boxes that take input.
void soloLettura(QLineEdit* t) {
    t->setReadOnly(true);
    QPalette tavolozza = t->palette();
    tavolozza.setColor(QPalette::Base, tavolozza.color(QPalette::Window));
    t->setPalette(tavolozza);
}

}  // namespace

QString versione() {
    return QStringLiteral("%1.%2.%3")
        .arg(PLIVENTA_VERSION_MAJOR)
        .arg(PLIVENTA_VERSION_MINOR)
        .arg(PLIVENTA_VERSION_PATCH);
}

frmView::frmView(Dialoghi& dialoghi, QWidget* parent)
    : QMainWindow(parent),
      dialoghi_(dialoghi),
      controllore_([this](Lavoro& lavoro, const QString& titolo, const QStringList& fasi) {
          eseguiLavoro(lavoro, titolo, fasi);
      }) {
    setObjectName(QStringLiteral("frmView"));
    costruisci();
    costruisciMenu();
    collega();
    scorciatoie();
    // Start-up: the design caption with the credit and the version; nothing else is
    // set, no file is open and recordcorrente has no value yet.
    setWindowTitle(
        QStringLiteral("Visualizzatore Versamenti Euro/Lire O/V - Pliventa - a cura del gruppo "
                       "di sviluppo Pliventa - Vers. ") +
        versione());
}

// The views own what they show and hold nothing of this window: they go with it
// in any order.
frmView::~frmView() = default;

void frmView::costruisci() {
    auto* centro = new QWidget(this);
    auto* colonna = new QVBoxLayout(centro);
    colonna->addWidget(costruisciIntestazione());

    Frame1 = new QGroupBox(QStringLiteral("Dati bollettini"), centro);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    areaDati = new QWidget(Frame1);
    auto* griglia = new QGridLayout(areaDati);
    griglia->setContentsMargins(0, 0, 0, 0);
    griglia->setHorizontalSpacing(18);
    griglia->addWidget(costruisciRecord(), 0, 0);

    // Middle column: year and currency at the top, the record count at the bottom.
    auto* mezzo = new QGridLayout;
    mezzo->setHorizontalSpacing(8);
    label1[10] = etichetta(areaDati, QStringLiteral("label1_10"), QStringLiteral("Anno"));
    Text3[10] = casella(areaDati, QStringLiteral("Text3_10"));
    Text3[10]->setFixedWidth(larghezzaCaratteri(Text3[10], 5));
    label1[9] = etichetta(areaDati, QStringLiteral("label1_9"), QStringLiteral("Valuta"));
    Combo1 = new QComboBox(areaDati);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);  // the user may type the currency, as well as pick it
    Combo1->addItems({QStringLiteral("E"), QStringLiteral("L")});
    // Only "E" means euro, so what is typed stays as typed: no completion that
    // would turn "e" into "E", and the list keeps its two items.
    Combo1->setCompleter(nullptr);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCurrentText(QStringLiteral("E"));
    Combo1->setToolTip(QStringLiteral("E = Euro - L = Lire"));
    Combo1->setFixedWidth(larghezzaCaratteri(Combo1, 5) + 20);
    Label3 = etichetta(areaDati, QStringLiteral("Label3"), QStringLiteral("Records totali"));
    Text5 = casella(areaDati, QStringLiteral("Text5"));
    Text5->setText(QStringLiteral("0"));
    Text5->setAlignment(Qt::AlignRight);
    // A count that is not whole (a file whose length is no multiple of a record)
    // has up to seventeen significant digits and the decimal separator.
    Text5->setFixedWidth(larghezzaCaratteri(Text5, 19));
    mezzo->addWidget(label1[10], 0, 0);
    mezzo->addWidget(Text3[10], 0, 1, Qt::AlignLeft);
    mezzo->addWidget(label1[9], 1, 0);
    mezzo->addWidget(Combo1, 1, 1, Qt::AlignLeft);
    mezzo->setRowStretch(2, 1);
    mezzo->addWidget(Label3, 3, 0, 1, 2);
    mezzo->addWidget(Text5, 4, 0, 1, 2, Qt::AlignLeft);
    griglia->addLayout(mezzo, 0, 1);

    // Under both: the four picture buttons flank the record number.
    auto* barra = new QHBoxLayout;
    cmdInizio = pulsante(areaDati, QStringLiteral("cmdInizio"), {}, QStringLiteral("Inizio"));
    cmdIndietro =
        pulsante(areaDati, QStringLiteral("cmdIndietro"), {}, QStringLiteral("Precedente"));
    cmdAvanti = pulsante(areaDati, QStringLiteral("cmdAvanti"), {}, QStringLiteral("Prossimo"));
    cmdFine = pulsante(areaDati, QStringLiteral("cmdFine"), {}, QStringLiteral("Fine"));
    cmdInizio->setIcon(iconaNavigazione(Freccia::inizio));
    cmdIndietro->setIcon(iconaNavigazione(Freccia::indietro));
    cmdAvanti->setIcon(iconaNavigazione(Freccia::avanti));
    cmdFine->setIcon(iconaNavigazione(Freccia::fine));
    Text4 = casella(areaDati, QStringLiteral("Text4"), QStringLiteral("Numero record"));
    Text4->setText(QStringLiteral("0"));
    Text4->setAlignment(Qt::AlignCenter);
    Text4->setFixedWidth(larghezzaCaratteri(Text4, 24));
    Text4->setAccessibleName(QStringLiteral("Numero record"));
    barra->addStretch(1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmdInizio, cmdIndietro, Text4, cmdAvanti, cmdFine}) {
        if (auto* p = qobject_cast<QPushButton*>(w)) {
            p->setIconSize(QSize(20, 20));
            p->setFixedSize(40, 30);
        }
        barra->addWidget(w);
    }
    barra->addStretch(1);
    griglia->addLayout(barra, 1, 0, 1, 2);

    // A block of equal buttons on the right: imports, export, chooser, help, exit.
    auto* blocco = new QVBoxLayout;
    cmdApri = pulsante(Frame1, QStringLiteral("cmdApri"), QStringLiteral("A&pri File 2000 o+v"),
                       kUtilizzarePrima);
    cmd1997 = pulsante(Frame1, QStringLiteral("cmd1997"), QStringLiteral("&Apri File tr. 1997"),
                       kUtilizzarePrima);
    cmdViol = pulsante(Frame1, QStringLiteral("cmdViol"), QStringLiteral("Apri &File viol. 97"),
                       kUtilizzarePrima);
    Command3 = pulsante(Frame1, QStringLiteral("Command3"), QStringLiteral("Apri File F24"),
                        kUtilizzarePrima);
    cmdUniriscossioni =
        pulsante(Frame1, QStringLiteral("cmdUniriscossioni"),
                 QStringLiteral("Conv. Risconet &Uniriscossioni/Gestline a CNC"), {});
    cmdExcel = pulsante(Frame1, QStringLiteral("cmdExcel"), QStringLiteral("&Crea File Excel"),
                        kUtilizzarePrima);
    Command1 = pulsante(Frame1, QStringLiteral("Command1"), QStringLiteral("&Scegli file"),
                        QStringLiteral("Utilizzare prima di cliccare su Apri File"));
    cmdHelp = pulsante(Frame1, QStringLiteral("cmdHelp"), QStringLiteral("&Help"),
                       QStringLiteral("Utilizzare prima di cliccare su Apri File"));
    Command2 =
        pulsante(Frame1, QStringLiteral("Command2"), QStringLiteral("&Uscita"), kUtilizzarePrima);
    for (QPushButton* p : {cmdApri, cmd1997, cmdViol, Command3, cmdUniriscossioni, cmdExcel,
                           Command1, cmdHelp, Command2}) {
        p->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        p->setMinimumHeight(30);
        blocco->addWidget(p);
        if (p == Command3 || p == cmdExcel || p == cmdHelp) {
            blocco->addSpacing(10);
        }
    }
    blocco->addStretch(1);

    // The record area and the buttons keep their size side by side: the room a
    // larger window adds goes to the margins either side of them and below.
    auto* riga = new QHBoxLayout(Frame1);
    riga->addStretch(1);
    riga->addWidget(areaDati, 0, Qt::AlignTop);
    riga->addSpacing(18);
    riga->addLayout(blocco);
    riga->addStretch(1);

    // The layouts hide and show parts of the record area; the rest keeps its place.
    for (QWidget* w : std::initializer_list<QWidget*>{Text3[9], Text3[10], Text3[11], label1[10],
                                                      label1[11], label1[12]}) {
        QSizePolicy politica = w->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        w->setSizePolicy(politica);
    }

    // Each box is named by its caption, for screen readers as for the eye.
    const std::pair<QLabel*, QWidget*> didascalie[] = {
        {Label2_0, Text1},       {Label2_1, Text2},      {label1[9], Combo1},
        {label1[10], Text3[10]}, {label1[11], Text3[9]}, {label1[12], Text3[11]},
        {Label3, Text5}};
    for (const auto& [didascalia, casella] : didascalie) {
        didascalia->setBuddy(casella);
    }
    for (std::size_t i = 0; i <= 8; ++i) {
        label1[i]->setBuddy(Text3[i]);
    }
    for (QLabel* l : findChildren<QLabel*>()) {
        if (l->buddy() != nullptr) {
            l->buddy()->setAccessibleName(l->text());
        }
    }
    // Only the search text and the currency take input.
    for (QLineEdit* t : {Text1, Text2, Text4, Text5}) {
        soloLettura(t);
    }
    for (QLineEdit* t : Text3) {
        if (t != Text3[1]) {
            soloLettura(t);
        }
    }

    colonna->addWidget(Frame1);
    colonna->addStretch(1);
    setCentralWidget(centro);
    statusBar()->setSizeGripEnabled(false);
    // A permanent part of the status bar: the handlers' own messages do not hide it.
    statoArchivio = new QLabel(QStringLiteral("Nessun archivio di lavoro aperto"), this);
    statoArchivio->setObjectName(QStringLiteral("statoArchivio"));
    statoArchivio->setVisible(false);
    statusBar()->addPermanentWidget(statoArchivio);
}

QWidget* frmView::costruisciIntestazione() {
    auto* testa = new QWidget(this);
    auto* g = new QGridLayout(testa);
    g->setContentsMargins(0, 0, 0, 0);
    Label2_0 = etichetta(testa, QStringLiteral("Label2_0"), QStringLiteral("File input"));
    Text1 = casella(testa, QStringLiteral("Text1"), QStringLiteral("File letto originale"));
    Label2_1 = etichetta(testa, QStringLiteral("Label2_1"), QStringLiteral("File output"));
    Text2 = casella(testa, QStringLiteral("Text2"),
                    QStringLiteral("File convertito utilizzato per la ricerca"));
    Image1 = new QLabel(testa);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(logo(devicePixelRatioF()));
    Image1->setAlignment(Qt::AlignCenter);
    g->addWidget(Label2_0, 0, 0);
    g->addWidget(Text1, 0, 1);
    g->addWidget(Label2_1, 1, 0);
    g->addWidget(Text2, 1, 1);
    g->setColumnStretch(1, 1);
    g->setRowStretch(2, 1);
    g->addWidget(Image1, 0, 2, 3, 1);
    return testa;
}

QWidget* frmView::costruisciRecord() {
    auto* area = new QWidget(areaDati);
    auto* g = new QGridLayout(area);
    g->setContentsMargins(0, 0, 0, 0);
    g->setVerticalSpacing(6);
    for (int i = 0; i < 13; ++i) {
        if (i == 9 || i == 10) {
            continue;  // "Valuta" and "Anno" stand in the middle column
        }
        const std::string_view d = kDidascalie[static_cast<std::size_t>(i)];
        label1[static_cast<std::size_t>(i)] =
            etichetta(area, QStringLiteral("label1_%1").arg(i),
                      QString::fromUtf8(d.data(), static_cast<qsizetype>(d.size())));
    }
    for (int i = 0; i < 12; ++i) {
        if (i == 10) {
            continue;
        }
        auto* t = casella(area, QStringLiteral("Text3_%1").arg(i));
        t->setMinimumWidth(i == 1 ? larghezzaPer(t, codiceLarghissimo(t->fontMetrics()))
                                  : larghezzaCaratteri(t, 18));
        if (i >= 3 && i <= 8) {
            t->setAlignment(Qt::AlignRight);  // amounts line up on their last digit
        }
        Text3[static_cast<std::size_t>(i)] = t;
    }
    Text3[1]->setToolTip(QStringLiteral("Doppio click per pulire campo"));
    cmdRicerca = pulsante(area, QStringLiteral("cmdRicerca"), QStringLiteral("Ricerca"),
                          QStringLiteral("Cerca su codice fiscale specificato a lato (parte "
                                         "iniziale)"));

    // label1(i) beside Text3(i) for i = 0 to 8, then the notice: label1(11) beside
    // Text3(9), label1(12) beside Text3(11). The search button sits just left of
    // the codice fiscale it searches by.
    const std::array<std::pair<int, int>, 11> righe = {{{0, 0},
                                                        {1, 1},
                                                        {2, 2},
                                                        {3, 3},
                                                        {4, 4},
                                                        {5, 5},
                                                        {6, 6},
                                                        {7, 7},
                                                        {8, 8},
                                                        {11, 9},
                                                        {12, 11}}};
    int riga = 0;
    for (const auto& [l, t] : righe) {
        if (l == 11) {
            g->setRowMinimumHeight(riga++, 8);
        }
        g->addWidget(label1[static_cast<std::size_t>(l)], riga, 0);
        g->addWidget(Text3[static_cast<std::size_t>(t)], riga, 2);
        ++riga;
    }
    g->addWidget(cmdRicerca, 1, 1);
    // The captions column keeps the width of the longest design caption, so the
    // boxes do not move when the violation layout puts its shorter captions.
    int larghezza = 0;
    for (const QLabel* l : label1) {
        if (l != nullptr) {
            larghezza = std::max(larghezza, l->sizeHint().width());
        }
    }
    g->setColumnMinimumWidth(0, larghezza);
    g->setColumnStretch(2, 1);
    g->setRowStretch(riga, 1);
    return area;
}

}  // namespace pliventa
