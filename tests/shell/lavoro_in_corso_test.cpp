// The main window while long work runs: it takes no input but the progress
// dialog's, and a signal that closes it cancels the work and leaves nothing on disk.
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
#include "shell/segnali.h"

namespace pliventa::test {
namespace {

const QString kPrompt = u"Inserisci percorso"_s;
const QString kTitoloCnc = u"Visualizza Files Versamenti CNC"_s;

using LavoroInCorsoTest = FinestraTest;

TEST_F(LavoroInCorsoTest, KeysButtonsAndMenusWaitWhileAnImportRuns) {
    apri({ordinario(), violazione(), ordinario()});
    mostra(2);
    attiva();
    const auto nessunEffetto = [this] {
        // Each would show a message or move the record shown: none comes, the
        // scripted dialogs would fail on it.
        QTest::keyClick(finestra.get(), Qt::Key_PageDown);
        QTest::keyClick(finestra.get(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(finestra.get(), Qt::Key_H, Qt::AltModifier);
        premi("cmdAvanti");
        premi("cmdExcel");
        EXPECT_EQ(testo("Text4"), u"Vers. n. 2 (Violazione)"_s);
    };
    dialoghi
        .attendiInput(kPrompt, kTitoloCnc, QString(),
                      scrivi("vers.txt", ordinario().str() + "\r\n"))
        .attendiLavoro(kTitoloCnc, false, -1, nessunEffetto)
        .attendi(u"Preparazione terminata"_s, kTitoloCnc);
    premi("cmdApri");
    EXPECT_EQ(testo("Text4"), u"Vers. n. 1"_s);
    // Once it has ended the window answers again.
    QTest::keyClick(finestra.get(), Qt::Key_PageDown);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 1.0);  // a one-payment file
    EXPECT_TRUE(controllo("cmdApri")->isEnabled());
}

/// The window over the scratch folder, whose old work file is "vecchio", importing
/// from a FIFO that no program writes, and waiting in the real progress dialog.
class ImportaDaFifo : public FinestraTest {
protected:
    void SetUp() override {
        FinestraTest::SetUp();
        dialoghi.attesaVera(finestra.get());
        dir.scrivi("iciview.out", "vecchio");
        dialoghi.attendiInput(kPrompt, kTitoloCnc, QString(),
                              QString::fromStdString(fifo.percorso()));
    }
    void TearDown() override {
        FinestraTest::TearDown();
        EXPECT_FALSE(fifo.sbloccato()) << "the import waited for a writer";
        EXPECT_EQ(leggiFile(dir.file("iciview.out")), "vecchio");
        EXPECT_EQ(nomi(dir),
                  (std::vector<std::string>{"icimemofilepliventa.txt", "iciview.out", "in.fifo"}));
    }
    void importa() {
        premi("cmdApri");
        EXPECT_EQ(stato(), u"Importazione annullata"_s);
    }

    FifoSenzaScrittore fifo{dir, "in.fifo", std::chrono::seconds(2)};
};

TEST_F(ImportaDaFifo, AnnullaEndsTheWaitForAWriter) {
    // Annulla pressed while the import waits, before the progress shows.
    QTimer::singleShot(300, finestra.get(), [this] {
        controllo<QProgressDialog>(u"")->findChild<QAbstractButton*>()->click();
    });
    importa();
}

// The signal closes the window, which first stops the import under way.
TEST_F(ImportaDaFifo, SigtermCancelsTheImportRemovesItsFileAndClosesTheWindow) {
    ::setenv("PLIVENTA_TEMPORANEI_CON_NOME", "1", 1);  // a new file with a name to look for
    ASSERT_TRUE(chiudiAlSegnale(finestra.get()));
    QSignalSpy fine(finestra.get(), &frmView::terminaProgramma);
    // The signal comes once the import has made its new file and waits for input.
    QTimer sonda;
    sonda.setInterval(10);
    QObject::connect(&sonda, &QTimer::timeout, finestra.get(), [&] {
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
    EXPECT_FALSE(finestra->isVisible());
}

}  // namespace
}  // namespace pliventa::test
