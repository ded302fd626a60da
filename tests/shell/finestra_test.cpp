// The record display in its two layouts, and the exit.
#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

#include "finestra.h"
#include "shell/viste.h"

namespace pliventa::test {
namespace {

TEST_F(FinestraTest, ExitButtonAndClosingTheWindowEndTheProgram) {
    apri({ordinario()});
    QSignalSpy fine(finestra.get(), &frmView::terminaProgramma);
    premi("Command2");
    EXPECT_EQ(fine.count(), 1);
    EXPECT_FALSE(finestra->sessione().aperto());
    EXPECT_FALSE(finestra->isVisible());

    frmView altra(dialoghi);
    QSignalSpy chiusa(&altra, &frmView::terminaProgramma);
    altra.show();
    altra.close();
    EXPECT_EQ(chiusa.count(), 1);
}

// --- The record display ---

TEST_F(FinestraTest, LayoutsSwitchBothWays) {
    apri({violazione(), ordinario()});
    const char* annoEAtto[] = {"Text3_10", "label1_10", "Text3_9",
                               "Text3_11", "label1_11", "label1_12"};
    const struct {
        double record;
        QString text4;
        bool annoVisibile;
    } passi[] = {
        {1, "Vers. n. 1 (Violazione)", false},
        {2, "Vers. n. 2", true},
        {1, "Vers. n. 1 (Violazione)", false},
    };
    for (const auto& p : passi) {
        mostra(p.record);
        EXPECT_EQ(testo(QStringLiteral("Text4")), p.text4);
        for (int k = 0; k < 6; ++k) {
            // The year and its caption go together; the notice the other way.
            const bool atteso = k < 2 ? p.annoVisibile : !p.annoVisibile;
            EXPECT_EQ(visibile(QString::fromLatin1(annoEAtto[k])), atteso)
                << annoEAtto[k] << " record " << p.record;
        }
        const char* const violazione[] = {"Imposta", "Sanzioni", "Pena pec.", "Interessi"};
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(didascalia(QStringLiteral("label1_%1").arg(4 + k)),
                      daUtf8(p.annoVisibile ? kDidascalie[4 + k] : violazione[k]));
        }
        for (int k = 2; k <= 8; ++k) {
            EXPECT_TRUE(visibile(QStringLiteral("Text3_%1").arg(k))) << k;
        }
    }
}

// The readings themselves are the records' tests: here, that the work file's
// reading and the number's form reach the boxes.
TEST_F(FinestraTest, NoticeIsReadTheWayTheWorkFileWasWritten) {
    apri({violazione()}, LetturaAtto::breve);
    mostra(1, FormaNumero::soloNumero);
    EXPECT_EQ(testo(QStringLiteral("Text3_9")), QStringLiteral("123456"));
    EXPECT_EQ(testo(QStringLiteral("Text3_11")), QStringLiteral("78/93/1122"));
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("1 (Violazione)"));
}

}  // namespace
}  // namespace pliventa::test
