// The real message boxes, shown offscreen and answered as soon as they are up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "dialoghi_finti.h"
#include "shell/dialoghi_qt.h"

namespace pliventa::test {
namespace {

struct Mostrato {
    QRect geometria;
    QFont carattere;
};

// Asks a Yes/No question through DialoghiQt and answers No once the box is on
// screen; returns where the box stood and its font.
Mostrato chiedi(const QString& titolo, const QRect& lasciaVisibile) {
    Mostrato m;
    QTimer::singleShot(0, [&m] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        m.geometria = box->frameGeometry();
        m.carattere = box->font();
        box->button(QMessageBox::No)->click();
    });
    DialoghiQt dialoghi;
    EXPECT_EQ(dialoghi.messaggio(QStringLiteral("Trovato il contribuente!\r\nRSSMRA70A01H501U\r\n"
                                                "E' Lui?"),
                                 titolo, Pulsanti::siNo, Icona::nessuna, lasciaVisibile),
              Risposta::no);
    return m;
}

TEST(DialoghiQtTest, TheBoxLeavesTheAreaVisible) {
    const QRect schermo = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect aree[] = {
        QRect(schermo.left(), schermo.top(), schermo.width() * 2 / 3, schermo.height()),
        QRect(schermo.left() + schermo.width() / 3, schermo.top(), schermo.width() * 2 / 3,
              schermo.height()),
        QRect(schermo.left(), schermo.top(), schermo.width(), schermo.height() * 2 / 3),
    };
    for (const QRect& area : aree) {
        const QRect box = chiedi(kTitoloPredefinito, area).geometria;
        EXPECT_FALSE(box.intersects(area))
            << "box " << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
        EXPECT_TRUE(schermo.contains(box));
    }
}

TEST(DialoghiQtTest, TheBoxIsWideEnoughForItsTitle) {
    const QString titolo = QStringLiteral("Visualizza Files Versamenti CNC - Tracciato 1997");
    const Mostrato m = chiedi(titolo, QRect());
    QFont grassetto = m.carattere;
    grassetto.setBold(true);
    // A title bar holds the title, in bold on most desktops, with the window's icon
    // and buttons.
    EXPECT_GE(m.geometria.width(), QFontMetrics(grassetto).horizontalAdvance(titolo) + 100);
}

}  // namespace
}  // namespace pliventa::test
