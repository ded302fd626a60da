// The four navigation buttons, their keys, and the currency the payment is shown in.
#include <QAbstractButton>
#include <QComboBox>
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
        {"cmdIndietro", 1}, {"cmdAvanti", 2},   {"cmdFine", 5},
        {"cmdAvanti", 5},   {"cmdIndietro", 4}, {"cmdInizio", 1},
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
        {cf, Qt::Key_PageDown, Qt::NoModifier, 2}, {cf, Qt::Key_PageUp, Qt::NoModifier, 1},
        {cf, Qt::Key_End, Qt::ControlModifier, 5}, {cf, Qt::Key_Home, Qt::ControlModifier, 1},
        {ricerca, Qt::Key_End, Qt::NoModifier, 5},
    };
    for (const auto& p : passi) {
        p.fuoco->setFocus();
        QTest::keyClick(p.fuoco, p.tasto, p.modificatori);
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. %1").arg(p.atteso))
            << p.tasto << " on " << p.fuoco->objectName().toStdString();
    }
}

TEST_F(FinestraTest, TheCurrencyIsReadAsTyped) {
    apri({ordinario()});
    mostra(1);
    attiva();
    auto* combo = controllo<QComboBox>(QStringLiteral("Combo1"));
    const struct {
        const char* digitato;
        QString totale;
    } casi[] = {{"e", "123.456"}, {"E", "1.234,56"}, {"", "123.456"}};
    for (const auto& c : casi) {
        combo->setFocus();
        combo->clearEditText();
        QTest::keyClicks(combo, QString::fromLatin1(c.digitato));
        QTest::keyClick(combo, Qt::Key_Return);
        // Leaving the box for a navigation button shows the payment again.
        premi("cmdAvanti");
        EXPECT_EQ(combo->currentText(), QString::fromLatin1(c.digitato));
        EXPECT_EQ(testo(QStringLiteral("Text3_3")), c.totale) << c.digitato;
        EXPECT_EQ(combo->count(), 2) << c.digitato;
    }
}

}  // namespace
}  // namespace pliventa::test
