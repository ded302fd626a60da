// The file chooser: what it shows for a folder and a type, what "&OK" remembers,
// the folders it refuses, and its wiring to the main window.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QListWidget>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <optional>

#include "finestra.h"
#include "shell/frmdirfiles.h"

namespace pliventa::test {
namespace {

const QString kTitoloUnita = QStringLiteral("Errore di unità/directory");

class DirFilesTest : public FinestraTest {
protected:
    void SetUp() override {
        FinestraTest::SetUp();
        for (const char* nome : {"B.TXT", "a.txt", "c.dat", "senza"}) {
            dir.scrivi(nome, "");
        }
        ASSERT_TRUE(QDir().mkpath(sotto()));
        dir.scrivi("sotto/d.txt", "");
        scelta = std::make_unique<frmDirFiles>(dialoghi);
        scelta->show();
    }

    void TearDown() override {
        scelta.reset();
        FinestraTest::TearDown();
    }

    QString sotto() const { return cartella() + QStringLiteral("/sotto"); }

    template <typename T = QWidget>
    T* parte(const char* nome) const {
        T* w = scelta->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(w, nullptr) << nome;
        return w;
    }
    QString etichetta() const { return parte<QLabel>("Label2_4")->text(); }
    QString nome() const { return parte<QLineEdit>("Text1_1")->text(); }
    QStringList elenco() const {
        QStringList nomi;
        const auto* lista = parte<QListWidget>("File1");
        for (int i = 0; i < lista->count(); ++i) {
            nomi << lista->item(i)->text();
        }
        return nomi;
    }
    void scegliFile(const QString& nome) {
        auto* lista = parte<QListWidget>("File1");
        const QList<QListWidgetItem*> trovati = lista->findItems(nome, Qt::MatchExactly);
        ASSERT_EQ(trovati.size(), 1) << nome;
        lista->setCurrentItem(trovati.front());
    }
    void premi(const char* pulsante) {
        QTest::mouseClick(parte<QAbstractButton>(pulsante), Qt::LeftButton);
    }
    std::string memo() const { return leggiFile(dir.file("icimemofilepliventa.txt")); }

    std::unique_ptr<frmDirFiles> scelta;
};

TEST_F(DirFilesTest, OpensOnTheCurrentFolderWithTheVersamentiType) {
    EXPECT_EQ(scelta->windowTitle(),
              QStringLiteral("Pliventa - Visualizzatore Versamenti ICI - Vers. ") + versione());
    EXPECT_EQ(parte<QComboBox>("Combo1")->currentText(), QStringLiteral("Versamenti (*.txt)"));
    EXPECT_EQ(parte<QComboBox>("Drive1")->currentText(), QStorageInfo(cartella()).rootPath());
    EXPECT_EQ(etichetta(), cartella() + QStringLiteral("/*.txt"));
    EXPECT_EQ(nome(), QStringLiteral("*.txt"));
    EXPECT_EQ(elenco(), QStringList({QStringLiteral("a.txt"), QStringLiteral("B.TXT")}));
}

TEST_F(DirFilesTest, FolderAndTypeDecideLabelNameAndFiles) {
    const QStringList tutti = {QStringLiteral("a.txt"), QStringLiteral("B.TXT"),
                               QStringLiteral("c.dat"), QStringLiteral("senza")};
    const struct {
        QString cartella;
        int tipo;
        QString etichetta;
        std::optional<QStringList> file;  ///< nullopt: not checked
    } casi[] = {
        {QStringLiteral("/"), 0, QStringLiteral("/*.txt"), std::nullopt},
        {cartella(), 1, cartella() + QStringLiteral("/*.*  "), tutti},
        {sotto() + u'/', 0, sotto() + QStringLiteral("/*.txt"), QStringList{"d.txt"}},
        {sotto(), 1, sotto() + QStringLiteral("/*.*  "), QStringList{"d.txt"}},
    };
    for (const auto& c : casi) {
        parte<QComboBox>("Combo1")->setCurrentIndex(c.tipo);
        scegliFile(QStringLiteral("a.txt"));  // a folder change forgets the file chosen
        ASSERT_TRUE(scelta->apriCartella(c.cartella)) << c.cartella;
        EXPECT_EQ(etichetta(), c.etichetta);
        EXPECT_EQ(nome(), c.etichetta.mid(c.etichetta.lastIndexOf(u'/') + 1)) << c.cartella;
        if (c.file) {
            EXPECT_EQ(elenco(), *c.file) << c.cartella;
        }
        scelta->apriCartella(cartella());
    }
}

TEST_F(DirFilesTest, FolderOpenedInTheViewIsShown) {
    auto* vista = parte<QTreeView>("Dir1");
    const auto* modello = qobject_cast<const QFileSystemModel*>(vista->model());
    ASSERT_NE(modello, nullptr);
    emit vista->activated(modello->index(sotto()));
    EXPECT_EQ(etichetta(), sotto() + QStringLiteral("/*.txt"));
    EXPECT_EQ(modello->filePath(vista->currentIndex()), sotto());
    EXPECT_EQ(QDir::currentPath(), cartella());
}

TEST_F(DirFilesTest, OkRemembersFolderAndNameInTheProgramsFolder) {
    const struct {
        const char* file;     ///< chosen in the list, or nullptr
        const char* scritto;  ///< typed afterwards, or nullptr
        QString riga;
    } casi[] = {
        {"d.txt", nullptr, sotto() + QStringLiteral("/d.txt")},
        {nullptr, nullptr, sotto() + QStringLiteral("/*.txt")},
        {"d.txt", "nuovo.txt", sotto() + QStringLiteral("/nuovo.txt")},
    };
    for (const auto& c : casi) {
        scelta = std::make_unique<frmDirFiles>(dialoghi);
        scelta->show();
        ASSERT_TRUE(scelta->apriCartella(sotto()));
        if (c.file != nullptr) {
            scegliFile(QString::fromLatin1(c.file));
        }
        if (c.scritto != nullptr) {
            parte<QLineEdit>("Text1_1")->setText(QString::fromLatin1(c.scritto));
        }
        premi("cmdOK");
        EXPECT_EQ(memo(), c.riga.toStdString() + "\r\n");
        EXPECT_EQ(scelta->result(), QDialog::Accepted);
        EXPECT_FALSE(scelta->isVisible());
    }
}

TEST_F(DirFilesTest, EsciLeavesTheMemoAsItWas) {
    dir.scrivi("icimemofilepliventa.txt", "/prima/vers.txt\r\n");
    scegliFile(QStringLiteral("a.txt"));
    premi("cmdEsci");
    EXPECT_EQ(memo(), "/prima/vers.txt\r\n");
    EXPECT_EQ(scelta->result(), QDialog::Rejected);
    EXPECT_FALSE(scelta->isVisible());
}

TEST_F(DirFilesTest, MemoThatCannotBeWrittenIsReportedAndTheChooserStays) {
    const QString memo = cartella() + QStringLiteral("/icimemofilepliventa.txt");
    ASSERT_TRUE(QDir().mkpath(memo));
    dialoghi.attendi(QStringLiteral("Impossibile scrivere il file ") + memo +
                         QStringLiteral(": è una directory"),
                     kTitoloPredefinito, Pulsanti::ok, Icona::esclamazione);
    premi("cmdOK");
    EXPECT_TRUE(scelta->isVisible());
}

TEST_F(DirFilesTest, FolderThatCannotBeListedIsReportedAndTheFolderShownStays) {
    const struct {
        QString percorso;
        bool daUnita;  ///< chosen as a drive rather than opened as a folder
        QString testo;
    } casi[] = {
        {cartella() + QStringLiteral("/manca"), false,
         QStringLiteral("Errore 2: file o directory inesistente.")},
        {cartella() + QStringLiteral("/a.txt"), false,
         QStringLiteral("Errore 20: un elemento del percorso non è una directory.")},
        {cartella() + QStringLiteral("/manca"), true,
         QStringLiteral("Errore 2: file o directory inesistente.")},
    };
    ASSERT_TRUE(scelta->apriCartella(sotto()));
    auto* unita = parte<QComboBox>("Drive1");
    const QString radice = unita->currentText();
    for (const auto& c : casi) {
        dialoghi.attendi(c.testo, kTitoloUnita, Pulsanti::ok, Icona::esclamazione);
        if (c.daUnita) {
            // A drive that went away after the list was made.
            unita->addItem(c.percorso);
            unita->setCurrentIndex(unita->count() - 1);
            emit unita->activated(unita->count() - 1);
        } else {
            EXPECT_FALSE(scelta->apriCartella(c.percorso));
        }
        EXPECT_EQ(etichetta(), sotto() + QStringLiteral("/*.txt")) << c.percorso;
        EXPECT_EQ(elenco(), QStringList{"d.txt"}) << c.percorso;
        EXPECT_EQ(unita->currentText(), radice) << c.percorso;
    }
}

TEST_F(DirFilesTest, BusyPointerWhileAFolderIsReadNoneAtTheMessage) {
    std::vector<bool> occupato;
    QObject::connect(parte<QListWidget>("File1")->model(), &QAbstractItemModel::rowsInserted,
                     scelta.get(), [&] {
                         const QCursor* c = QApplication::overrideCursor();
                         occupato.push_back(c != nullptr && c->shape() == Qt::WaitCursor);
                     });
    ASSERT_TRUE(scelta->apriCartella(sotto()));
    EXPECT_EQ(occupato, std::vector<bool>{true});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    dialoghi.attendi(QStringLiteral("Errore 2: file o directory inesistente."), kTitoloUnita,
                     Pulsanti::ok, Icona::esclamazione, Risposta::ok,
                     [] { EXPECT_EQ(QApplication::overrideCursor(), nullptr); });
    EXPECT_FALSE(scelta->apriCartella(cartella() + QStringLiteral("/manca")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DirFilesTest, EnterInTheNameBoxConfirmsATypedName) {
    auto* nomeFile = parte<QLineEdit>("Text1_1");
    nomeFile->clear();
    QTest::keyClick(nomeFile, Qt::Key_Return);
    EXPECT_TRUE(scelta->isVisible());
    EXPECT_FALSE(QFile::exists(dir.file("icimemofilepliventa.txt").c_str()));
    nomeFile->setText(QStringLiteral("vers.txt"));
    QTest::keyClick(nomeFile, Qt::Key_Return);
    EXPECT_EQ(memo(), (cartella() + QStringLiteral("/vers.txt\r\n")).toStdString());
    EXPECT_EQ(scelta->result(), QDialog::Accepted);
}

TEST_F(DirFilesTest, TheFolderShownIsInViewOnceItsDriveHasBeenRead) {
    // Many sibling folders, read after the view was first laid out, would push
    // the current one out of sight.
    const QString molte = cartella() + QStringLiteral("/molte");
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(QDir().mkpath(molte + QStringLiteral("/c%1").arg(i, 3, 10, QChar(u'0'))));
    }
    const QString corrente = molte + QStringLiteral("/c250");
    ASSERT_TRUE(QDir::setCurrent(corrente));
    scelta = std::make_unique<frmDirFiles>(dialoghi);
    scelta->show();
    auto* vista = parte<QTreeView>("Dir1");
    const auto* modello = qobject_cast<const QFileSystemModel*>(vista->model());
    ASSERT_NE(modello, nullptr);
    const auto riga = [&] { return vista->visualRect(modello->index(corrente)); };
    // Until the siblings are read and sorted, and the view has followed.
    for (int attese = 0; attese < 250 && (modello->rowCount(modello->index(molte)) < 300 ||
                                          !vista->viewport()->rect().contains(riga()));
         ++attese) {
        QTest::qWait(20);
    }
    EXPECT_EQ(modello->rowCount(modello->index(molte)), 300);
    EXPECT_EQ(vista->currentIndex(), modello->index(corrente));
    EXPECT_TRUE(vista->viewport()->rect().contains(riga())) << riga().y();
}

// Through the main window: the work file is closed, the chooser is modal, and the
// path chosen is what the next ANCI-CNC 2000 prompt proposes.
TEST_F(FinestraTest, ScegliFileOpensTheChooserAndTheNextPromptProposesItsChoice) {
    apri({ordinario()});
    dir.scrivi("vers.txt", "");
    bool visto = false;
    QTimer::singleShot(0, finestra.get(), [&] {
        auto* scelta = finestra->findChild<frmDirFiles*>();
        if (scelta == nullptr) {
            ADD_FAILURE() << "no chooser open";
            if (QWidget* aperta = QApplication::activeModalWidget()) {
                aperta->close();
            }
            return;
        }
        visto = true;
        EXPECT_TRUE(scelta->isModal());
        EXPECT_FALSE(finestra->sessione().aperto());
        auto* lista = scelta->findChild<QListWidget*>(QStringLiteral("File1"));
        lista->setCurrentItem(lista->findItems(QStringLiteral("vers.txt"), Qt::MatchExactly)[0]);
        QTest::mouseClick(scelta->findChild<QAbstractButton*>(QStringLiteral("cmdOK")),
                          Qt::LeftButton);
    });
    premi("Command1");
    EXPECT_TRUE(visto);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QSignalSpy fine(finestra.get(), &frmView::terminaProgramma);
    dialoghi.attendiInput(QStringLiteral("Inserisci percorso"),
                          QStringLiteral("Visualizza Files Versamenti CNC"),
                          cartella() + QStringLiteral("/vers.txt"), QString());
    premi("cmdApri");
    EXPECT_EQ(fine.count(), 1);
}

}  // namespace
}  // namespace pliventa::test
