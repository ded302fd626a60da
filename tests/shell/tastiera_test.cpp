// The keyboard: where the focus starts, the Tab chain, and the currency as typed.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTest>

#include "finestra.h"

namespace pliventa::test {
namespace {

// The control that has the focus, by name: the currency box's editor stands for
// the box.
QString nomeDelFuoco() {
    const QWidget* w = QApplication::focusWidget();
    if (w == nullptr) {
        return QStringLiteral("<nessuno>");
    }
    if (w->objectName().isEmpty() && w->parentWidget() != nullptr) {
        w = w->parentWidget();
    }
    return w->objectName();
}

TEST_F(FinestraTest, FocusStartsOnTheFirstImport) {
    attiva();
    EXPECT_EQ(nomeDelFuoco(), QStringLiteral("cmdApri"));
}

TEST_F(FinestraTest, TabFollowsTheScreen) {
    const QStringList atteso = {
        "Text1",       "Text2",    "Text3_0",           "Text3_1",  "cmdRicerca", "Text3_2",
        "Text3_3",     "Text3_4",  "Text3_5",           "Text3_6",  "Text3_7",    "Text3_8",
        "Text3_9",     "Text3_11", "Text3_10",          "Combo1",   "Text5",      "cmdInizio",
        "cmdIndietro", "Text4",    "cmdAvanti",         "cmdFine",  "cmdApri",    "cmd1997",
        "cmdViol",     "Command3", "cmdUniriscossioni", "cmdExcel", "Command1",   "cmdHelp",
        "Command2"};
    attiva();
    controllo(QStringLiteral("Text1"))->setFocus(Qt::TabFocusReason);
    QStringList percorso;
    do {
        percorso << nomeDelFuoco();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (nomeDelFuoco() != QStringLiteral("Text1") && percorso.size() <= atteso.size());
    EXPECT_EQ(percorso, atteso);
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

// The menus take letters no button uses: Alt and a button's letter presses that
// button at the first press, the import buttons asking for their input at once.
TEST_F(FinestraTest, AltAndAButtonsLetterPressesItAtTheFirstPress) {
    const struct {
        Qt::Key tasto;
        QString titolo;
    } casi[] = {
        {Qt::Key_P, QStringLiteral("Visualizza Files Versamenti CNC")},
        {Qt::Key_A, QStringLiteral("Visualizza Files Versamenti CNC - Tracciato 1997")},
        {Qt::Key_F, QStringLiteral("Visualizza Files Versamenti CNC Viol97")},
    };
    for (const auto& c : casi) {
        // An empty answer ends the program and closes the window: shown again for
        // the next key.
        finestra->show();
        attiva();
        dialoghi.attendiInput(QStringLiteral("Inserisci percorso"), c.titolo, QString(), QString());
        QTest::keyClick(finestra.get(), c.tasto, Qt::AltModifier);
        QTest::qWait(300);  // the button's press shows for a moment before it acts
        dialoghi.verificaFine();
    }
}

}  // namespace
}  // namespace pliventa::test
