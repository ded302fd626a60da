// The four navigation buttons and their keys.
#include <QAbstractButton>
#include <QTest>

#include "finestra.h"

namespace pliventa::test {
namespace {

const QString kNessunArchivio = QStringLiteral("Aprire un file prima di effettuare ricerche");

class NavigazioneTest : public FinestraTest {
protected:
    /// Five ordinary payments whose codici fiscali end in their numbers.
    void apriCinque() {
        apri({ordinario("CF1"), ordinario("CF2"), ordinario("CF3"), ordinario("CF4"),
              ordinario("CF5")});
        mostra(1);
    }
};

TEST_F(NavigazioneTest, BeforeAnyImportEveryButtonSaysToOpenAFile) {
    for (const char* pulsante : {"cmdInizio", "cmdIndietro", "cmdAvanti", "cmdFine"}) {
        dialoghi.attendi(kNessunArchivio, kTitoloPredefinito);
        premi(pulsante);
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("0")) << pulsante;
        EXPECT_EQ(testo(QStringLiteral("Text3_1")), QString()) << pulsante;
    }
}

TEST_F(NavigazioneTest, ButtonsStayInsideTheFile) {
    apriCinque();
    const struct {
        const char* pulsante;
        int atteso;
    } passi[] = {
        {"cmdIndietro", 1}, {"cmdAvanti", 2},   {"cmdFine", 5},   {"cmdAvanti", 5},
        {"cmdFine", 5},     {"cmdIndietro", 4}, {"cmdInizio", 1},
    };
    for (const auto& p : passi) {
        premi(p.pulsante);
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. %1").arg(p.atteso))
            << p.pulsante;
        EXPECT_EQ(testo(QStringLiteral("Text3_1")).trimmed(), QStringLiteral("CF%1").arg(p.atteso))
            << p.pulsante;
        EXPECT_EQ(finestra->sessione().recordcorrente(), p.atteso) << p.pulsante;
    }
}

TEST_F(NavigazioneTest, AnEmptyWorkFileFailsSilently) {
    apri({});
    for (const char* pulsante : {"cmdAvanti", "cmdFine", "cmdInizio", "cmdIndietro"}) {
        premi(pulsante);
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("0")) << pulsante;
    }
}

TEST_F(NavigazioneTest, LastOfAFileCutShortShowsTheFractionalNumber) {
    // Ten records and half of one: 2121 bytes in all.
    const std::string dati = numerati(10, "CF") + std::string(101, ' ');
    ASSERT_TRUE(finestra
                    ->apriArchivio(QString::fromStdString(dir.scrivi("iciview.out", dati)),
                                   LetturaAtto::lunga)
                    .ok());
    premi("cmdFine");
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 10,5"));
    EXPECT_EQ(testo(QStringLiteral("Text3_1")).trimmed(), QStringLiteral("CF10"));
}

TEST_F(NavigazioneTest, KeysActAsTheButtonsAlsoFromATextBox) {
    apriCinque();
    attiva();
    auto* cf = controllo<QLineEdit>(QStringLiteral("Text3_1"));
    auto* ricerca = controllo<QWidget>(QStringLiteral("cmdRicerca"));
    const struct {
        QWidget* fuoco;
        Qt::Key tasto;
        Qt::KeyboardModifiers modificatori;
        int atteso;
    } passi[] = {
        {cf, Qt::Key_PageDown, Qt::NoModifier, 2},  {cf, Qt::Key_PageDown, Qt::NoModifier, 3},
        {cf, Qt::Key_PageUp, Qt::NoModifier, 2},    {cf, Qt::Key_End, Qt::ControlModifier, 5},
        {cf, Qt::Key_Home, Qt::ControlModifier, 1}, {ricerca, Qt::Key_End, Qt::NoModifier, 5},
        {ricerca, Qt::Key_Home, Qt::NoModifier, 1},
    };
    for (const auto& p : passi) {
        p.fuoco->setFocus();
        QTest::keyClick(p.fuoco, p.tasto, p.modificatori);
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. %1").arg(p.atteso))
            << p.tasto << " on " << p.fuoco->objectName().toStdString();
    }
}

}  // namespace
}  // namespace pliventa::test
