// The window and its views show the file open, whatever another program puts at
// its path; the window tells of such a change and offers to open the new file.
#include <QAction>
#include <QGuiApplication>
#include <QTableView>
#include <filesystem>
#include <utility>

#include "finestra.h"

namespace pliventa::test {
namespace {

class DiscoTest : public FinestraTest {
protected:
    void SetUp() override {
        FinestraTest::SetUp();
        percorso_ = QString::fromStdString(dir.scrivi("iciview.out", numerati(5, "AAA")));
        ASSERT_TRUE(finestra->apriArchivio(percorso_, LetturaAtto::lunga).ok());
    }
    /// Another program puts `n` payments, codici fiscali `prefisso`1 on, at the path.
    void sostituisci(std::size_t n, const char* prefisso) const {
        std::filesystem::rename(dir.scrivi("nuovo", numerati(n, prefisso)),
                                dir.file("iciview.out"));
    }
    void domanda(Risposta risposta) {
        dialoghi.attendi(QStringLiteral("Il file di lavoro\r\n") + percorso_ +
                             QStringLiteral("\r\nè stato sostituito o modificato da un altro "
                                            "programma dopo l'apertura.\r\nRiaprirlo? Con «No» la "
                                            "finestra e le viste continuano a mostrare il file "
                                            "aperto prima."),
                         kTitoloPredefinito, Pulsanti::siNo, Icona::domanda, risposta);
    }
    /// Double-clicks row `riga` of the list on screen: its rows, and the codice
    /// fiscale the main window then shows.
    std::pair<int, QString> scegli(int riga) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // lists closed
        auto* t = controllo<QTableView>(QStringLiteral("tabellaElenco"));
        const QPoint punto = t->visualRect(t->model()->index(riga, 0)).center();
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, punto);
        return {t->model()->rowCount(), testo(QStringLiteral("Text3_1")).trimmed()};
    }
    /// The program becomes the active one again.
    static void ritorno() {
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QCoreApplication::processEvents();
    }
    QString percorso_;
};

TEST_F(DiscoTest, OnNoTheWindowAndTheListGoOnWithTheFileOpen) {
    sostituisci(3, "BBB");
    domanda(Risposta::no);
    controllo<QAction>(QStringLiteral("azioneElenco"))->trigger();
    EXPECT_EQ(scegli(2), std::pair(5, QStringLiteral("AAA3")));
    ritorno();  // the same change is not asked about again
    dialoghi.verificaFine();
    sostituisci(4, "CCC");  // a new one is
    domanda(Risposta::no);
    ritorno();
}

TEST_F(DiscoTest, OnYesTheFileIsOpenedAgainWithItsViewsAndAFileGoneIsSaid) {
    controllo<QAction>(QStringLiteral("azioneElenco"))->trigger();
    sostituisci(3, "BBB");
    domanda(Risposta::si);
    ritorno();
    EXPECT_EQ(testo(QStringLiteral("Text5")), QStringLiteral("3"));
    EXPECT_EQ(scegli(2), std::pair(3, QStringLiteral("BBB3")));
    // Gone before an export: said, and the export goes on with the file open.
    std::filesystem::remove(dir.file("iciview.out"));
    dialoghi
        .attendi(QStringLiteral("Il file di lavoro aperto non si trova più sul disco:\r\n") +
                     percorso_ +
                     QStringLiteral(": file o directory inesistente\r\nPer ora la finestra e le "
                                    "viste continuano a mostrare il file aperto prima."),
                 kTitoloPredefinito, Pulsanti::ok, Icona::esclamazione)
        .attendiSalva(QStringLiteral("Crea File Excel"),
                      QStringLiteral("Cartella di lavoro Excel (*.xlsx)"), QString());
    premi("cmdExcel");
}

}  // namespace
}  // namespace pliventa::test
