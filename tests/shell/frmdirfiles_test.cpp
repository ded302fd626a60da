// The file chooser: what it shows for a folder and a type, what "&OK" remembers,
// the folders it refuses, and its wiring to the main window.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "finestra.h"
#include "shell/frmdirfiles.h"

namespace pliventa::test {
namespace {

const QString kTitoloUnita = QStringLiteral("Errore di unità/directory");

class DirFilesTest : public FinestraTest {
protected:
    void SetUp() override {
        FinestraTest::SetUp();
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

TEST_F(DirFilesTest, OkRemembersFolderAndNameInTheProgramsFolder) {
    const struct {
        const char* file;     ///< chosen in the list, or nullptr
        const char* scritto;  ///< typed afterwards, or nullptr
        QString riga;
    } casi[] = {
        {"d.txt", nullptr, sotto() + QStringLiteral("/d.txt")},
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
    const QString manca = cartella() + QStringLiteral("/manca");
    ASSERT_TRUE(scelta->apriCartella(sotto()));
    auto* unita = parte<QComboBox>("Drive1");
    const QString radice = unita->currentText();
    for (const bool daUnita : {false, true}) {
        dialoghi.attendi(QStringLiteral("Errore 2: file o directory inesistente."), kTitoloUnita,
                         Pulsanti::ok, Icona::esclamazione);
        if (daUnita) {
            // A drive that went away after the list was made.
            unita->addItem(manca);
            unita->setCurrentIndex(unita->count() - 1);
            emit unita->activated(unita->count() - 1);
        } else {
            EXPECT_FALSE(scelta->apriCartella(manca));
        }
        EXPECT_EQ(etichetta(), sotto() + QStringLiteral("/*.txt")) << daUnita;
        EXPECT_EQ(elenco(), QStringList{"d.txt"}) << daUnita;
        EXPECT_EQ(unita->currentText(), radice) << daUnita;
    }
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
