// The window and its views show one file, the one open, whatever another program
// puts at its path; the window tells of such a change and offers to open it.
#include <QAction>
#include <QGuiApplication>
#include <QTableView>
#include <filesystem>

#include "finestra.h"

namespace pliventa::test {
namespace {

class DiscoTest : public FinestraTest {
protected:
    /// Opens a work file of `n` payments, codici fiscali `prefisso`1 to `prefisso`n.
    QString apriNumerati(std::size_t n, const char* prefisso) {
        const QString percorso =
            QString::fromStdString(dir.scrivi("iciview.out", numerati(n, prefisso)));
        EXPECT_TRUE(finestra->apriArchivio(percorso, LetturaAtto::lunga).ok());
        mostra(1);
        return percorso;
    }
    /// Another program replaces the work file with one of `n` payments `prefisso`i.
    void sostituisci(std::size_t n, const char* prefisso) const {
        std::filesystem::rename(dir.scrivi("nuovo", numerati(n, prefisso)),
                                dir.file("iciview.out"));
    }
    /// The list on screen, once the closed ones are gone.
    QTableView* elenco() const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return controllo<QTableView>(QStringLiteral("tabellaElenco"));
    }
    /// Double-clicks row `riga` of the list; returns the codice fiscale the main window shows.
    QString scegli(int riga) {
        QTableView* tabella = elenco();
        const QPoint punto = tabella->visualRect(tabella->model()->index(riga, 0)).center();
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        return testo(QStringLiteral("Text3_1")).trimmed();
    }
    /// The program becomes the active one again, back from another.
    static void ritorno() {
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QCoreApplication::processEvents();
    }
    void attendiDomanda(const QString& percorso, Risposta risposta) {
        dialoghi.attendi(QStringLiteral("Il file di lavoro\r\n") + percorso +
                             QStringLiteral("\r\nè stato sostituito o modificato da un altro "
                                            "programma dopo l'apertura.\r\nRiaprirlo? Con «No» la "
                                            "finestra e le viste continuano a mostrare il file "
                                            "aperto prima."),
                         kTitoloPredefinito, Pulsanti::siNo, Icona::domanda, risposta);
    }
};

TEST_F(DiscoTest, OnNoTheListAndTheWindowGoOnWithTheFileOpen) {
    const QString percorso = apriNumerati(5, "AAA");
    sostituisci(3, "BBB");
    attendiDomanda(percorso, Risposta::no);
    controllo<QAction>(QStringLiteral("azioneElenco"))->trigger();
    EXPECT_EQ(elenco()->model()->rowCount(), 5);
    EXPECT_EQ(scegli(2), QStringLiteral("AAA3"));
    EXPECT_EQ(
        stato(),
        QStringLiteral("Il file di lavoro sul disco è cambiato: si mostra quello aperto prima"));
    ritorno();  // the same change is not told again
    dialoghi.verificaFine();
    sostituisci(4, "CCC");  // a new one is
    attendiDomanda(percorso, Risposta::no);
    ritorno();
}

TEST_F(DiscoTest, OnYesTheFileIsOpenedAgainWithItsViews) {
    const QString percorso = apriNumerati(5, "AAA");
    controllo<QAction>(QStringLiteral("azioneElenco"))->trigger();
    sostituisci(3, "BBB");
    attendiDomanda(percorso, Risposta::si);
    ritorno();
    EXPECT_EQ(testo(QStringLiteral("Text5")), QStringLiteral("3"));
    EXPECT_EQ(testo(QStringLiteral("Text3_1")).trimmed(), QStringLiteral("BBB1"));
    EXPECT_EQ(elenco()->model()->rowCount(), 3);
    EXPECT_EQ(scegli(2), QStringLiteral("BBB3"));

    // Gone before an export: said, and the export goes on with the file open.
    std::filesystem::remove(dir.file("iciview.out"));
    dialoghi
        .attendi(QStringLiteral("Il file di lavoro aperto non si trova più sul disco:\r\n") +
                     percorso +
                     QStringLiteral(": file o directory inesistente\r\nPer ora la finestra e le "
                                    "viste continuano a mostrare il file aperto prima."),
                 kTitoloPredefinito, Pulsanti::ok, Icona::esclamazione)
        .attendiSalva(QStringLiteral("Crea File Excel"),
                      QStringLiteral("Cartella di lavoro Excel (*.xlsx)"), QString());
    premi("cmdExcel");
}

}  // namespace
}  // namespace pliventa::test
