// The main window while long work runs: it takes no input but the progress
// dialog's, and closing it cancels the work and leaves nothing on disk.
#include <QAbstractButton>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <chrono>

#include <csignal>
#include <cstdlib>

#include "fifo.h"
#include "finestra.h"
#include "shell/dialoghi_qt.h"
#include "shell/segnali.h"

namespace pliventa::test {
namespace {

const QString kPrompt = QStringLiteral("Inserisci percorso");
const QString kTitoloCnc = QStringLiteral("Visualizza Files Versamenti CNC");

/// The scripted dialogs, but the real progress dialog over the window.
class DialoghiConAttesaVera : public DialoghiFinti {
public:
    void impostaGenitore(QWidget* genitore) { veri_.impostaGenitore(genitore); }
    void attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) override {
        veri_.attendi(lavoro, titolo, fasi);
    }

private:
    DialoghiQt veri_;
};

using LavoroInCorsoTest = FinestraTest;

TEST_F(LavoroInCorsoTest, KeysButtonsAndMenusWaitWhileAnImportRuns) {
    apri({ordinario(), violazione(), ordinario()});
    mostra(2);
    attiva();
    const QString input =
        QString::fromStdString(dir.scrivi("vers.txt", ordinario().str() + "\r\n"));
    dialoghi.attendiInput(kPrompt, kTitoloCnc, QString(), input)
        .attendiLavoroDurante(kTitoloCnc,
                              [this] {
                                  // Each would show a message or move the record shown: none
                                  // comes, the scripted dialogs would fail on it.
                                  QTest::keyClick(finestra.get(), Qt::Key_PageDown);
                                  QTest::keyClick(finestra.get(), Qt::Key_End, Qt::ControlModifier);
                                  QTest::keyClick(finestra.get(), Qt::Key_H, Qt::AltModifier);
                                  premi("cmdAvanti");
                                  premi("cmdExcel");
                                  EXPECT_EQ(testo(QStringLiteral("Text4")),
                                            QStringLiteral("Vers. n. 2 (Violazione)"));
                              })
        .attendi(QStringLiteral("Preparazione terminata"), kTitoloCnc);
    premi("cmdApri");
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 1"));
    // Once it has ended the window answers again.
    QTest::keyClick(finestra.get(), Qt::Key_PageDown);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 1.0);  // a one-payment file
    EXPECT_TRUE(controllo(QStringLiteral("cmdApri"))->isEnabled());
}

TEST(LavoroInCorso, ClosingTheWindowCancelsTheImportAndLeavesNothingOnDisk) {
    CartellaTemporanea dir;
    const QString prima = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.percorso().string())));
    // An input long enough for the import to be running when the window closes.
    std::string righe;
    const std::string riga = ordinario().str() + "\r\n";
    for (int i = 0; i < 150'000; ++i) {
        righe += riga;
    }
    const QString input = QString::fromStdString(dir.scrivi("grande.txt", righe));
    righe = {};
    {
        DialoghiConAttesaVera dialoghi;
        frmView finestra(dialoghi);
        dialoghi.impostaGenitore(&finestra);
        finestra.show();
        QSignalSpy fine(&finestra, &frmView::terminaProgramma);
        dialoghi.attendiInput(kPrompt, kTitoloCnc, QString(), input);
        // Closed as soon as the work runs (the window then takes no input).
        bool chiusaDurante = false;
        QTimer sonda;
        sonda.setInterval(1);
        QObject::connect(&sonda, &QTimer::timeout, &finestra, [&] {
            if (!chiusaDurante && !finestra.isEnabled()) {
                chiusaDurante = true;
                finestra.close();
            }
        });
        sonda.start();
        QTest::mouseClick(finestra.findChild<QAbstractButton*>(QStringLiteral("cmdApri")),
                          Qt::LeftButton);
        EXPECT_TRUE(chiusaDurante) << "the import ended before the window was closed";
        EXPECT_EQ(finestra.statusBar()->currentMessage(), QStringLiteral("Importazione annullata"));
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (fine.count() == 0 && std::chrono::steady_clock::now() < limite) {
            QTest::qWait(10);
        }
        EXPECT_EQ(fine.count(), 1);
        EXPECT_FALSE(finestra.isVisible());
        dialoghi.verificaFine();
    }
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{"grande.txt", "icimemofilepliventa.txt"}));
    QDir::setCurrent(prima);
}

/// The real window over a scratch folder made current, whose old work file is
/// "vecchio", importing from a FIFO that no program writes.
class ImportaDaFifo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.percorso().string())));
        dir.scrivi("iciview.out", "vecchio");
        dialoghi.impostaGenitore(&finestra);
        finestra.show();
        dialoghi.attendiInput(kPrompt, kTitoloCnc, QString(),
                              QString::fromStdString(fifo.percorso()));
    }
    void TearDown() override {
        dialoghi.verificaFine();
        EXPECT_FALSE(fifo.sbloccato()) << "the import waited for a writer";
        EXPECT_EQ(leggiFile(dir.file("iciview.out")), "vecchio");
        EXPECT_EQ(nomi(dir),
                  (std::vector<std::string>{"icimemofilepliventa.txt", "iciview.out", "in.fifo"}));
        QDir::setCurrent(prima_);
    }
    void importa() {
        QTest::mouseClick(finestra.findChild<QAbstractButton*>(QStringLiteral("cmdApri")),
                          Qt::LeftButton);
        EXPECT_EQ(finestra.statusBar()->currentMessage(), QStringLiteral("Importazione annullata"));
    }

    const QString prima_ = QDir::currentPath();
    CartellaTemporanea dir;
    FifoSenzaScrittore fifo{dir, "in.fifo", std::chrono::seconds(2)};
    DialoghiConAttesaVera dialoghi;
    frmView finestra{dialoghi};
};

TEST_F(ImportaDaFifo, AnnullaEndsTheWaitForAWriter) {
    // Annulla pressed while the import waits, before the progress shows.
    QTimer::singleShot(300, &finestra, [this] {
        finestra.findChild<QProgressDialog*>()->findChild<QAbstractButton*>()->click();
    });
    importa();
}

TEST_F(ImportaDaFifo, SigtermCancelsTheImportRemovesItsFileAndClosesTheWindow) {
    ::setenv("PLIVENTA_TEMPORANEI_CON_NOME", "1", 1);  // a new file with a name to look for
    ASSERT_TRUE(chiudiAlSegnale(&finestra));
    QSignalSpy fine(&finestra, &frmView::terminaProgramma);
    // The signal comes once the import has made its new file and waits for input.
    QTimer sonda;
    sonda.setInterval(10);
    QObject::connect(&sonda, &QTimer::timeout, &finestra, [&] {
        if (nomi(dir).size() == 4) {
            sonda.stop();
            ::raise(SIGTERM);
        }
    });
    sonda.start();
    importa();
    ::unsetenv("PLIVENTA_TEMPORANEI_CON_NOME");
    EXPECT_FALSE(sonda.isActive()) << "no new file seen";
    EXPECT_TRUE(QTest::qWaitFor([&] { return fine.count() == 1; }));
    EXPECT_FALSE(finestra.isVisible());
}

}  // namespace
}  // namespace pliventa::test
