// How the window looks: which boxes take input, what they show whole, how it
// grows, and the names its boxes give screen readers.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include "finestra.h"

namespace pliventa::test {
namespace {

TEST_F(FinestraTest, OnlyTheSearchTextAndTheCurrencyTakeInput) {
    QStringList scrivibili;
    for (const QLineEdit* t : finestra->findChildren<QLineEdit*>()) {
        if (!t->isReadOnly()) {
            // The currency box's own editor stands for the box.
            const auto* combo = qobject_cast<const QComboBox*>(t->parentWidget());
            scrivibili << (combo != nullptr ? combo->objectName() : t->objectName());
        }
    }
    scrivibili.sort();
    EXPECT_EQ(scrivibili, QStringList({QStringLiteral("Combo1"), QStringLiteral("Text3_1")}));
    EXPECT_TRUE(controllo<QComboBox>(QStringLiteral("Combo1"))->isEditable());
}

TEST_F(FinestraTest, TheCodiceFiscaleShowsWhole) {
    auto* cf = controllo<QLineEdit>(QStringLiteral("Text3_1"));
    for (const char* codice : {"MWMWMW70M01W501W", "MMMMMMMMMMMMMMMM", "WWWWWWWWWWWWWWWW"}) {
        cf->setText(QString::fromLatin1(codice));
        cf->end(false);
        cf->grab();  // the box scrolls its text when painting it
        // With the cursor after the last character, the first is still at the left.
        EXPECT_EQ(cf->cursorPositionAt(QPoint(cf->contentsRect().left() + 4, cf->height() / 2)), 0)
            << codice;
    }
}

TEST_F(FinestraTest, AnEnlargedWindowKeepsTheControlsTogether) {
    // Distances between related controls, and sizes that must not grow.
    const auto misure = [this] {
        const QRect inizio = suSchermo(QStringLiteral("cmdInizio"));
        const QRect ultimo = suSchermo(QStringLiteral("Text3_11"));
        const QRect data = suSchermo(QStringLiteral("Text3_0"));
        const QRect apri = suSchermo(QStringLiteral("cmdApri"));
        return std::vector<int>{inizio.top() - ultimo.bottom(), apri.left() - data.right(),
                                apri.top() - data.top(), data.width(), apri.width()};
    };
    QCoreApplication::processEvents();
    const std::vector<int> prima = misure();
    finestra->resize(1600, 1000);
    QCoreApplication::processEvents();
    ASSERT_EQ(finestra->width(), 1600);
    EXPECT_EQ(misure(), prima);
    for (const QPushButton* p : finestra->findChildren<QPushButton*>()) {
        EXPECT_LE(p->width(), 300) << p->objectName().toStdString();
    }
}

TEST_F(FinestraTest, BoxesAreNamedByTheCaptionShown) {
    const std::pair<const char*, const char*> coppie[] = {
        {"Text1", "Label2_0"},     {"Text2", "Label2_1"},    {"Text3_0", "label1_0"},
        {"Text3_1", "label1_1"},   {"Text3_2", "label1_2"},  {"Text3_3", "label1_3"},
        {"Text3_4", "label1_4"},   {"Text3_5", "label1_5"},  {"Text3_6", "label1_6"},
        {"Text3_7", "label1_7"},   {"Text3_8", "label1_8"},  {"Combo1", "label1_9"},
        {"Text3_10", "label1_10"}, {"Text3_9", "label1_11"}, {"Text3_11", "label1_12"},
        {"Text5", "Label3"}};
    apri({violazione(), ordinario()});
    // The design captions, the violation ones, then the ordinary ones back.
    for (const double record : {0.0, 1.0, 2.0}) {
        if (record > 0) {
            mostra(record);
        }
        for (const auto& [casella, didascalia] : coppie) {
            EXPECT_EQ(controllo(QString::fromLatin1(casella))->accessibleName(),
                      this->didascalia(QString::fromLatin1(didascalia)))
                << casella << " record " << record;
        }
    }
    EXPECT_EQ(controllo(QStringLiteral("Text4"))->accessibleName(),
              QStringLiteral("Numero record"));
}

}  // namespace
}  // namespace pliventa::test
