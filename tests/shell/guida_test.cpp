// The guide: F1 opens it beside the main window, and it names every button and
// menu entry of the main window, so that a caption added or renamed without it
// fails here.
#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "finestra.h"
#include "shell/finestra_guida.h"

namespace pliventa::test {
namespace {

// What the clerk reads on the control: its caption without the access key's mark.
QString letto(QString didascalia) {
    return didascalia.remove(QLatin1Char('&'));
}

TEST_F(FinestraTest, F1OpensTheGuideThatNamesEveryButtonAndMenuEntry) {
    QStringList nomi;
    for (const QAbstractButton* b : finestra->findChildren<QAbstractButton*>()) {
        if (!b->text().isEmpty()) {  // the navigation arrows are pictures
            nomi << letto(b->text());
        }
    }
    for (const QAction* voce : finestra->menuBar()->actions()) {
        nomi << letto(voce->text());
        for (const QAction* a : voce->menu()->actions()) {
            if (!a->isSeparator()) {
                nomi << letto(a->text());
            }
        }
    }
    ASSERT_GE(nomi.size(), 20);

    attiva();
    QTest::keyClick(finestra.get(), Qt::Key_F1);
    auto* guida = finestra->findChild<FinestraGuida*>(QStringLiteral("FinestraGuida"));
    ASSERT_NE(guida, nullptr);
    EXPECT_TRUE(guida->isVisible());
    EXPECT_FALSE(guida->isModal());
    const QString testo = guida->testo();
    for (const QString& nome : nomi) {
        EXPECT_TRUE(testo.contains(nome)) << nome.toStdString();
    }
    // Asked for again, the same guide comes to the front.
    QTest::keyClick(finestra.get(), Qt::Key_F1);
    EXPECT_EQ(finestra->findChildren<FinestraGuida*>().size(), 1);
}

}  // namespace
}  // namespace pliventa::test
