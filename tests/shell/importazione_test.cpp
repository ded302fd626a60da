// The four imports through the window: prompt and memo, work file, count, first
// payment, status line, and what an input that cannot be read leaves behind.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "finestra.h"

namespace pliventa::test {
namespace {

const QString kPrompt = QStringLiteral("Inserisci percorso");
const QString kTitoloCnc = QStringLiteral("Visualizza Files Versamenti CNC");
const QString kFinito = QStringLiteral("Preparazione terminata");

class ImportazioneTest : public FinestraTest {
protected:
    /// Writes `nome` in the scratch folder; returns its path.
    QString file(const char* nome, const std::string& contenuto) const {
        return QString::fromStdString(dir.scrivi(nome, contenuto));
    }
    std::string memo(const char* nome = "icimemofilepliventa.txt") const {
        return leggiFile(dir.file(nome));
    }
    std::string archivio(const char* nome = "iciview.out") const {
        return leggiFile(dir.file(nome));
    }

    /// An ANCI-CNC 2000 file: header, payments of types 3, 6, 3, trailer.
    QString fileCnc(const char* nome = "vers.txt") const {
        return file(nome, "TESTATA\r\n" + ordinario("RSSMRA70A01H501U").str() + "\r\n" +
                              violazione().str() + "\r\n" + ordinario("BNCLCU80C03L219K").str() +
                              "\r\n" + "CODA\r\n");
    }
    /// Imports `input` with cmdApri, proposing `proposta`.
    void importaCnc(const QString& input, const QString& proposta = {}) {
        dialoghi.attendiInput(kPrompt, kTitoloCnc, proposta, input)
            .attendiLavoro(kTitoloCnc)
            .attendi(kFinito, kTitoloCnc);
        premi("cmdApri");
    }
};

TEST_F(ImportazioneTest, RememberedPathIsProposedTrimmedAndTheSecondImportReplaces) {
    const QString primo = fileCnc("primo.txt");
    dir.scrivi("icimemofilepliventa.txt", "   " + primo.toStdString() + "   \r\n");
    importaCnc(primo, primo);

    const QString secondo = file("secondo.txt", violazione("SECONDO").str() + "\r\n");
    importaCnc(secondo, primo);
    EXPECT_EQ(archivio(), violazione("SECONDO").record());
    EXPECT_EQ(testo(QStringLiteral("Text5")), QStringLiteral("1"));
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 1 (Violazione)"));
}

TEST_F(ImportazioneTest, CancelEndsTheProgramAndLeavesAnEmptyMemoLine) {
    QSignalSpy fine(finestra.get(), &frmView::terminaProgramma);
    dialoghi.attendiInput(kPrompt, kTitoloCnc, QString(), QString());
    premi("cmdApri");
    EXPECT_EQ(fine.count(), 1);
    EXPECT_EQ(memo(), "\r\n");
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("iciview.out")));
}

TEST_F(ImportazioneTest, StatusLineCountsPaddedAndCutLines) {
    const std::string corta = ordinario("CORTA").str().substr(0, 150);
    const std::string lunga = ordinario("LUNGA").str() + "eccedenza";
    importaCnc(file("vers.txt", corta + "\n" + lunga + "\n" + "CODA\n"));
    EXPECT_EQ(stato(), QStringLiteral("Versamenti importati: 2 · righe scartate: 1 · righe "
                                      "completate con spazi: 1 · righe troncate: 1"));
    EXPECT_EQ(archivio().size(), 404u);
}

// The reasons are the reader's tests; here, what the window tells and keeps.
TEST_F(ImportazioneTest, UnreadableInputIsReportedAndChangesNothing) {
    const QString buono = fileCnc();
    importaCnc(buono);
    mostra(2);
    const std::string prima = archivio();
    const QString manca = QDir::currentPath() + QStringLiteral("/manca.txt");
    dialoghi.attendiInput(kPrompt, kTitoloCnc, buono, manca)
        .attendiLavoro(kTitoloCnc)
        .attendiQualsiasi(kTitoloCnc, Pulsanti::ok, Icona::esclamazione);
    premi("cmdApri");
    const QString avviso = dialoghi.testi().back();
    EXPECT_TRUE(avviso.contains(manca + QStringLiteral(": file o directory inesistente")))
        << avviso;
    EXPECT_EQ(archivio(), prima);
    EXPECT_EQ(testo(QStringLiteral("Text1")), manca);
    EXPECT_EQ(testo(QStringLiteral("Text2")), QDir::currentPath() + QStringLiteral("/iciview.out"));
    EXPECT_EQ(testo(QStringLiteral("Text5")), QStringLiteral("3"));
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 2 (Violazione)"));
    EXPECT_EQ(memo(), manca.toStdString() + "\r\n");
    EXPECT_TRUE(stato().startsWith(QStringLiteral("Importazione non riuscita: ") + manca))
        << stato();
    // The previous work file is open again: browsing goes on from the payment shown.
    premi("cmdAvanti");
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 3"));
}

TEST_F(ImportazioneTest, CancelLeavesTheWorkFileAndTheWindowAsTheyWere) {
    const QString buono = fileCnc();
    importaCnc(buono);
    mostra(2);
    const std::string prima = archivio();
    dialoghi.attendiInput(kPrompt, kTitoloCnc, buono, fileCnc("altro.txt"))
        .attendiLavoro(kTitoloCnc, true);
    premi("cmdApri");
    EXPECT_EQ(stato(), QStringLiteral("Importazione annullata"));
    EXPECT_EQ(archivio(), prima);
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{"altro.txt", "icimemofilepliventa.txt",
                                                   "iciview.out", "vers.txt"}));
    EXPECT_EQ(testo(QStringLiteral("Text1")), buono);
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 2 (Violazione)"));
    premi("cmdIndietro");
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 1"));

    // With no work file open before (a conversion closed it), the area is emptied.
    finestra->sessione().chiudi();
    dialoghi.attendiInput(kPrompt, kTitoloCnc, fileCnc("altro.txt"), buono)
        .attendiLavoro(kTitoloCnc, true);
    premi("cmdApri");
    EXPECT_EQ(testo(QStringLiteral("Text3_1")), QString());
    EXPECT_FALSE(finestra->sessione().aperto());
}

// --- The other three imports ---

TEST_F(ImportazioneTest, EachImportHasItsPromptMemoWorkFileAndClosingTitle) {
    const struct {
        const char* pulsante;
        const char* memo;
        QString titoloPrompt;
        QString titoloFine;
        const char* archivio;
    } casi[] = {
        {"cmdApri", "icimemofilepliventa.txt", kTitoloCnc, kTitoloCnc, "iciview.out"},
        {"cmd1997", "icimemofilepliventa97.txt",
         QStringLiteral("Visualizza Files Versamenti CNC - Tracciato 1997"), kTitoloCnc,
         "iciview97.out"},
        {"cmdViol", "icimemofilepliventav.txt",
         QStringLiteral("Visualizza Files Versamenti CNC Viol97"), kTitoloCnc, "iciview.out"},
        {"Command3", "icimemofilepliventa.txt", QStringLiteral("Visualizza Files Versamenti F24"),
         QStringLiteral("Visualizza Files Versamenti F24"), "iciview.out"},
    };
    for (const auto& c : casi) {
        const QString input = file(c.pulsante, "");  // one input file per button
        dir.scrivi(c.memo, "");
        dialoghi.attendiInput(kPrompt, c.titoloPrompt, QString(), input)
            .attendiLavoro(c.titoloPrompt)
            .attendi(kFinito, c.titoloFine);
        premi(c.pulsante);
        EXPECT_EQ(memo(c.memo), input.toStdString() + "\r\n") << c.pulsante;
        EXPECT_EQ(testo(QStringLiteral("Text2")),
                  QDir::currentPath() + u'/' + QString::fromLatin1(c.archivio))
            << c.pulsante;
        EXPECT_EQ(testo(QStringLiteral("Text5")), QStringLiteral("0")) << c.pulsante;
    }
}

TEST_F(ImportazioneTest, ReopenTheLastWorkFileInAnotherRunUntilItIsGone) {
    importaCnc(fileCnc());
    frmView altra(dialoghi);  // the next run of the program
    auto* riapri = altra.findChild<QAction*>(QStringLiteral("azioneRiapri"));
    ASSERT_NE(riapri, nullptr);
    ASSERT_TRUE(riapri->isEnabled());
    riapri->trigger();
    EXPECT_EQ(altra.findChild<QLineEdit*>(QStringLiteral("Text2"))->text(),
              QDir::currentPath() + QStringLiteral("/iciview.out"));
    EXPECT_EQ(altra.findChild<QLineEdit*>(QStringLiteral("Text4"))->text(),
              QStringLiteral("Vers. n. 1"));
    EXPECT_EQ(altra.findChild<QLineEdit*>(QStringLiteral("Text5"))->text(), QStringLiteral("3"));

    EXPECT_EQ(altra.sessione().lettura(), LetturaAtto::lunga);
    QSettings().setValue(QStringLiteral("UltimoArchivio/lettura"), QStringLiteral("breve"));
    riapri->trigger();  // a 1997 violation file is read with the short notice again
    EXPECT_EQ(altra.sessione().lettura(), LetturaAtto::breve);

    altra.sessione().chiudi();
    ASSERT_TRUE(QFile::remove(QStringLiteral("iciview.out")));
    frmView terza(dialoghi);
    EXPECT_FALSE(terza.findChild<QAction*>(QStringLiteral("azioneRiapri"))->isEnabled());
}

TEST_F(ImportazioneTest, AClosedWorkFileGreysTheRecordAreaUntilReopened) {
    importaCnc(fileCnc());
    auto* area = controllo<QLineEdit>(QStringLiteral("Text3_1"));
    auto* nessuno = controllo<QLabel>(QStringLiteral("statoArchivio"));
    EXPECT_TRUE(area->isEnabled());
    EXPECT_FALSE(nessuno->isVisible());

    // "&Scegli file" closes the work file; the chooser is left with "&Esci".
    QTimer::singleShot(0, finestra.get(), [] {
        if (QWidget* scelta = QApplication::activeModalWidget()) {
            QTest::mouseClick(scelta->findChild<QAbstractButton*>(QStringLiteral("cmdEsci")),
                              Qt::LeftButton);
        }
    });
    premi("Command1");
    EXPECT_FALSE(area->isEnabled());
    EXPECT_EQ(area->text(), QStringLiteral("RSSMRA70A01H501U"));  // kept to be read
    EXPECT_FALSE(controllo<QLabel>(QStringLiteral("label1_1"))->isEnabled());
    EXPECT_TRUE(nessuno->isVisible());
    EXPECT_EQ(nessuno->text(), QStringLiteral("Nessun archivio di lavoro aperto"));

    controllo<QAction>(QStringLiteral("azioneRiapri"))->trigger();
    EXPECT_TRUE(area->isEnabled());
    EXPECT_FALSE(nessuno->isVisible());
}

}  // namespace
}  // namespace pliventa::test
