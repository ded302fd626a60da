// The search by the beginning of the codice fiscale.
#include <QAbstractButton>
#include <QStatusBar>
#include <QTest>

#include "finestra.h"

namespace pliventa::test {
namespace {

const QString kTitoloRicerca = QStringLiteral("Ricerca Versamenti Pliventa");

QString annuncio(const QString& testo) {
    return QStringLiteral("Ricerco versamenti con Codice Fiscale che inizia per\r\n") + testo;
}
QString domanda(const char* codice) {
    return QStringLiteral("Trovato il contribuente!\r\n") + QString::fromLatin1(codice) +
           QStringLiteral("\r\nE' Lui?");
}

class RicercaTest : public FinestraTest {
protected:
    // Records 2 (ordinary) and 4 (violation) begin with RSS; the last is a violation.
    void apriCinque() {
        apri({ordinario("AAAAAA70A01H501U"), ordinario("RSSMRA70A01H501U"),
              ordinario("BNCLCU80C03L219K"), violazione("RSSLGU60B02F205X"),
              violazione("ZZZZZZ60B02F205X")});
    }
    void cerca(const QString& testoDigitato) {
        controllo<QLineEdit>(QStringLiteral("Text3_1"))->setText(testoDigitato);
        premi("cmdRicerca");
    }
};

TEST_F(RicercaTest, NoThenYesEndsOnTheChosenPaymentShownWhole) {
    apriCinque();
    mostra(1);
    dialoghi.attendi(annuncio(QStringLiteral("RSS")), kTitoloRicerca)
        .attendi(domanda("RSSMRA70A01H501U"), kTitoloPredefinito, Pulsanti::siNo, Icona::nessuna,
                 Risposta::no,
                 [this] {
                     EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("2"));
                     EXPECT_EQ(testo(QStringLiteral("Text3_1")),
                               QStringLiteral("RSSMRA70A01H501U"));
                     EXPECT_TRUE(visibile(QStringLiteral("Text3_10")));
                 })
        .attendi(domanda("RSSLGU60B02F205X"), kTitoloPredefinito, Pulsanti::siNo, Icona::nessuna,
                 Risposta::si, [this] {
                     // The candidate in its own layout.
                     EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("4 (Violazione)"));
                     EXPECT_FALSE(visibile(QStringLiteral("Text3_10")));
                 });
    cerca(QStringLiteral("rss"));
    EXPECT_EQ(finestra->sessione().recordcorrente(), 4.0);
    EXPECT_EQ(testo(QStringLiteral("Text3_1")), QStringLiteral("RSSLGU60B02F205X"));
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("4 (Violazione)"));

    // Browsing goes on from the payment found.
    premi("cmdAvanti");
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 5 (Violazione)"));
}

TEST_F(RicercaTest, ScanWithoutYesGoesBackToThePaymentShownBefore) {
    const struct {
        const char* digitato;
        const char* cercato;
        int risposteNo;  // candidates offered, each answered No
        QString stato;
    } casi[] = {
        {"xyz", "XYZ", 0, "Nessun versamento trovato"},
        {"  rss ", "  RSS ", 2, "Ricerca terminata: 2 versamenti proposti, nessuno scelto"},
    };
    apriCinque();
    for (const auto& c : casi) {
        mostra(2);
        dialoghi.attendi(annuncio(QString::fromLatin1(c.cercato)), kTitoloRicerca);
        for (int i = 0; i < c.risposteNo; ++i) {
            dialoghi.attendiQualsiasi(kTitoloPredefinito, Pulsanti::siNo, Icona::nessuna);
        }
        cerca(QString::fromLatin1(c.digitato));
        EXPECT_EQ(finestra->sessione().recordcorrente(), 2.0) << c.digitato;
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 2")) << c.digitato;
        EXPECT_EQ(testo(QStringLiteral("Text3_1")), QString::fromLatin1(c.cercato)) << c.digitato;
        // The last record of the file is a violation; the window stays ordinary.
        EXPECT_TRUE(visibile(QStringLiteral("Text3_10"))) << c.digitato;
        EXPECT_EQ(stato(), c.stato);
    }
}

}  // namespace
}  // namespace pliventa::test
