// The file chooser's controls and handlers.
#include "shell/frmdirfiles.h"

#include <dirent.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <cerrno>

#include "base/errore.h"
#include "shell/frmview.h"
#include "shell/percorso.h"

namespace pliventa {

namespace {

const QString kTitoloUnita = QStringLiteral("Errore di unità/directory");

QLabel* etichetta(QWidget* genitore, const QString& nome, const QString& testo) {
    auto* l = new QLabel(testo, genitore);
    l->setObjectName(nome);
    return l;
}

QPushButton* pulsante(QWidget* genitore, const QString& nome, const QString& testo) {
    auto* p = new QPushButton(testo, genitore);
    p->setObjectName(nome);
    // No default button: Enter in the folder view opens a folder, it must not
    // confirm the choice as well.
    p->setAutoDefault(false);
    return p;
}

// The pattern sits between the brackets at the end of each type's item and is cut
// out by position: the last 7 characters, of those the first 6, of those the last
// 5. "Tutti i files (*.*  )" thus gives "*.*" followed by two blanks.
QString modelloDi(const QString& voce) {
    return voce.right(7).left(6).right(5);
}

// The file list's filter: the pattern without its blanks, and "*.*" meaning every
// file, with an extension or without, as it always has for the clerks.
QStringList filtroDi(const QString& modello) {
    const QString f = modello.trimmed();
    return {f == QStringLiteral("*.*") ? QStringLiteral("*") : f};
}

// The folder with one "/" after it: the root already ends with one.
QString conSeparatore(const QString& cartella) {
    return cartella.endsWith(u'/') ? cartella : cartella + u'/';
}

// The root of the volume holding `cartella`: its "drive".
QString radiceDi(const QString& cartella) {
    const QStorageInfo volume(cartella);
    return volume.isValid() && !volume.rootPath().isEmpty() ? volume.rootPath()
                                                            : QStringLiteral("/");
}

// 0 when `cartella` can be listed, else the system's error number.
int erroreLettura(const QString& cartella) {
    errno = 0;
    DIR* d = ::opendir(QFile::encodeName(cartella).constData());
    if (d == nullptr) {
        return errno != 0 ? errno : EIO;
    }
    ::closedir(d);
    return 0;
}

// The busy pointer while a drive or folder is read: a slow or sleeping drive may
// take seconds. The pointer comes back when the reading ends, or earlier, before
// a message is shown, and on every way out.
class PuntatoreOccupato {
public:
    PuntatoreOccupato() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~PuntatoreOccupato() { ripristina(); }
    PuntatoreOccupato(const PuntatoreOccupato&) = delete;
    PuntatoreOccupato& operator=(const PuntatoreOccupato&) = delete;
    void ripristina() {
        if (attivo_) {
            attivo_ = false;
            QApplication::restoreOverrideCursor();
        }
    }

private:
    bool attivo_ = true;
};

}  // namespace

frmDirFiles::frmDirFiles(Dialoghi& dialoghi, QWidget* parent)
    : QDialog(parent), dialoghi_(dialoghi) {
    setObjectName(QStringLiteral("frmDirFiles"));
    costruisci();
    Form_Load();
    collega();
}

frmDirFiles::~frmDirFiles() = default;

void frmDirFiles::costruisci() {
    auto* colonna = new QVBoxLayout(this);
    Frame1 = new QGroupBox(QStringLiteral("Selezione archivi"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    colonna->addWidget(Frame1);
    auto* g = new QGridLayout(Frame1);
    g->setHorizontalSpacing(12);

    // Left: the name and the files, the type below them.
    Label2_3 = etichetta(Frame1, QStringLiteral("Label2_3"), QStringLiteral("Nome &Files:"));
    Text1_1 = new QLineEdit(Frame1);
    Text1_1->setObjectName(QStringLiteral("Text1_1"));
    File1 = new QListWidget(Frame1);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    File1->setMinimumSize(200, 180);
    Label2_0 = etichetta(Frame1, QStringLiteral("Label2_0"), QStringLiteral("&Tipo di Files"));
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems(
        {QStringLiteral("Versamenti (*.txt)"), QStringLiteral("Tutti i files (*.*  )")});
    Label2_3->setBuddy(Text1_1);
    Label2_0->setBuddy(Combo1);

    // Right: the folders with the one shown above them, the drives below.
    Label2_2 = etichetta(Frame1, QStringLiteral("Label2_2"), QStringLiteral("&Directories:"));
    Label2_4 = etichetta(Frame1, QStringLiteral("Label2_4"), {});
    // A long path is cut at the label's edge rather than widening the window.
    Label2_4->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cartelle_ = new QFileSystemModel(this);
    cartelle_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    Dir1 = new QTreeView(Frame1);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(cartelle_);
    Dir1->setHeaderHidden(true);
    for (int c = 1; c < 4; ++c) {
        Dir1->hideColumn(c);  // size, kind and date: only names are shown
    }
    Dir1->setMinimumSize(220, 180);
    Label2_1 = etichetta(Frame1, QStringLiteral("Label2_1"), QStringLiteral("Dr&ives:"));
    Drive1 = new QComboBox(Frame1);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Label2_2->setBuddy(Dir1);
    Label2_1->setBuddy(Drive1);

    cmdOK = pulsante(Frame1, QStringLiteral("cmdOK"), QStringLiteral("&OK"));
    cmdEsci = pulsante(Frame1, QStringLiteral("cmdEsci"), QStringLiteral("&Esci"));
    auto* pulsanti = new QVBoxLayout;
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdEsci);
    pulsanti->addStretch(1);

    g->addWidget(Label2_3, 0, 0);
    g->addWidget(Text1_1, 1, 0);
    g->addWidget(File1, 2, 0, 2, 1);
    g->addWidget(Label2_0, 4, 0);
    g->addWidget(Combo1, 5, 0);
    g->addWidget(Label2_2, 0, 1);
    g->addWidget(Label2_4, 1, 1);
    g->addWidget(Dir1, 2, 1, 2, 1);
    g->addWidget(Label2_1, 4, 1);
    g->addWidget(Drive1, 5, 1);
    g->addLayout(pulsanti, 0, 2, 4, 1);
    g->setRowStretch(3, 1);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(1, 1);
}

void frmDirFiles::collega() {
    connect(Dir1, &QTreeView::activated, this,
            [this](const QModelIndex& i) { apriCartella(cartelle_->filePath(i)); });
    // The model reads folders in the background, inserts their rows later and
    // sorts them later still, each time pushing the folder shown out of sight:
    // once the folder or one above it has been read, and once more after the sort
    // that follows, it is brought into view again.
    scorrimento_ = new QTimer(this);
    scorrimento_->setSingleShot(true);
    scorrimento_->setInterval(0);
    connect(scorrimento_, &QTimer::timeout, this, [this] {
        Dir1->scrollTo(cartelle_->index(cartella_), QAbstractItemView::PositionAtCenter);
    });
    connect(cartelle_, &QFileSystemModel::directoryLoaded, this, [this](const QString& letta) {
        const QString cartella = QDir::cleanPath(letta);
        if (cartella_ == cartella || cartella_.startsWith(conSeparatore(cartella))) {
            ordinePendente_ = true;
            scorrimento_->start();
        }
    });
    connect(cartelle_, &QAbstractItemModel::layoutChanged, this, [this] {
        if (ordinePendente_) {
            ordinePendente_ = false;
            scorrimento_->start();
        }
    });
    // Enter after typing a name confirms it, as "&OK" does; with the box empty
    // there is nothing to confirm.
    connect(Text1_1, &QLineEdit::returnPressed, this, [this] {
        if (!Text1_1->text().isEmpty()) {
            cmdOK_Click();
        }
    });
    connect(File1, &QListWidget::itemSelectionChanged, this, &frmDirFiles::File1_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmDirFiles::Combo1_Click);
    // Only the user's choice: the chooser itself sets the drive back after a failure.
    connect(Drive1, &QComboBox::activated, this, &frmDirFiles::Drive1_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmDirFiles::cmdOK_Click);
    connect(cmdEsci, &QPushButton::clicked, this, &frmDirFiles::cmdEsci_Click);
}

void frmDirFiles::Form_Load() {
    setWindowTitle(QStringLiteral("Pliventa - Visualizzatore Versamenti ICI - Vers. ") +
                   versione());
    // The chooser starts where the program works; browsing never moves the
    // program's current directory, where the memo and the work files live.
    cartella_ = QDir::cleanPath(QDir::currentPath());
    const PuntatoreOccupato occupato;
    riempiUnita();
    selezionaUnita(cartella_);
    Combo1->setCurrentIndex(0);
    modello_ = modelloDi(Combo1->currentText());
    mostraCartella();
    Dir1_Change();
}

void frmDirFiles::riempiUnita() {
    // Every mounted volume that can be browsed is a "drive", by its root folder.
    QStringList radici;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) {
            radici << volume.rootPath();
        }
    }
    radici.sort();
    radici.removeDuplicates();
    Drive1->addItems(radici);
}

void frmDirFiles::selezionaUnita(const QString& cartella) {
    const QString radice = radiceDi(cartella);
    int i = Drive1->findText(radice);
    if (i < 0) {
        Drive1->addItem(radice);
        i = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(i);
}

void frmDirFiles::mostraCartella() {
    // The view holds the drive of the folder shown, opened down to that folder.
    const QString radice = radiceDi(cartella_);
    if (cartelle_->rootPath() != radice) {
        Dir1->setRootIndex(cartelle_->setRootPath(radice));
    }
    const QModelIndex i = cartelle_->index(cartella_);
    for (QModelIndex p = i.parent(); p.isValid(); p = p.parent()) {
        Dir1->expand(p);
    }
    Dir1->setCurrentIndex(i);
    Dir1->scrollTo(i);
}

bool frmDirFiles::apriCartella(const QString& cartella) {
    const QString nuova = QDir::cleanPath(QFileInfo(cartella).absoluteFilePath());
    PuntatoreOccupato occupato;
    const int numero = erroreLettura(nuova);
    if (numero != 0) {
        occupato.ripristina();
        dialoghi_.messaggio(QStringLiteral("Errore ") + QString::number(numero) +
                                QStringLiteral(": ") +
                                QString::fromStdString(motivoDiSistema(numero)) + u'.',
                            kTitoloUnita, Pulsanti::ok, Icona::esclamazione);
        // Back to the folder still shown, and to its drive.
        selezionaUnita(cartella_);
        mostraCartella();
        return false;
    }
    cartella_ = nuova;
    selezionaUnita(cartella_);
    mostraCartella();
    Dir1_Change();
    return true;
}

void frmDirFiles::Dir1_Change() {
    File1->clear();
    File1->addItems(
        QDir(cartella_).entryList(filtroDi(modello_), QDir::Files, QDir::Name | QDir::IgnoreCase));
    Label2_4->setText(conSeparatore(cartella_) + modello_);
    Label2_4->setToolTip(Label2_4->text());
    const QList<QListWidgetItem*> scelti = File1->selectedItems();
    Text1_1->setText(scelti.isEmpty() ? modello_ : scelti.front()->text());
}

void frmDirFiles::File1_Click() {
    const QList<QListWidgetItem*> scelti = File1->selectedItems();
    if (!scelti.isEmpty()) {
        Text1_1->setText(scelti.front()->text());
    }
}

void frmDirFiles::Combo1_Click() {
    modello_ = modelloDi(Combo1->currentText());
    Dir1_Change();
}

void frmDirFiles::Drive1_Change() {
    apriCartella(Drive1->currentText());
}

void frmDirFiles::cmdOK_Click() {
    // The name is taken as typed: the import that reads it reports what is wrong.
    const QString riga = cartellaDi(Label2_4->text()) + Text1_1->text();
    const QString errore =
        scriviAtomico(percorsoMemo(kPercorsoCnc2000, QDir::currentPath()), riga.toUtf8() + "\r\n");
    if (!errore.isEmpty()) {
        dialoghi_.messaggio(QStringLiteral("Impossibile scrivere il file ") + errore,
                            kTitoloPredefinito, Pulsanti::ok, Icona::esclamazione);
        return;
    }
    accept();
}

void frmDirFiles::cmdEsci_Click() {
    reject();
}

}  // namespace pliventa
