// The window as it starts, its own boxes, the record display and the exit.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QSignalSpy>
#include <QTest>

#include "finestra.h"
#include "shell/viste.h"

namespace pliventa::test {
namespace {

QString testoDi(const QWidget* w) {
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        return l->text();
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
        return e->text();
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        return b->text();
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        return g->title();
    }
    if (const auto* c = qobject_cast<const QComboBox*>(w)) {
        return c->currentText();
    }
    return QStringLiteral("<unknown kind>");
}

TEST_F(FinestraTest, EveryControlHasItsDesignTextAndTooltip) {
    const QString prima =
        QStringLiteral("Utilizzare prima di effettuare ricerche su un nuovo file");
    const QString apriFile = QStringLiteral("Utilizzare prima di cliccare su Apri File");
    struct Controllo {
        QString nome;
        QString testo;
        QString suggerimento;
    };
    std::vector<Controllo> controlli = {
        {"Label2_0", "File input", ""},
        {"Text1", "", "File letto originale"},
        {"Label2_1", "File output", ""},
        {"Text2", "", "File convertito utilizzato per la ricerca"},
        {"Frame1", "Dati bollettini", ""},
        {"Text3_1", "", "Doppio click per pulire campo"},
        {"Combo1", "E", "E = Euro - L = Lire"},
        {"Text4", "0", "Numero record"},
        {"Label3", "Records totali", ""},
        {"Text5", "0", ""},
        {"cmdRicerca", "Ricerca", "Cerca su codice fiscale specificato a lato (parte iniziale)"},
        {"cmdInizio", "", "Inizio"},
        {"cmdIndietro", "", "Precedente"},
        {"cmdAvanti", "", "Prossimo"},
        {"cmdFine", "", "Fine"},
        {"cmdHelp", "&Help", apriFile},
        {"Command1", "&Scegli file", apriFile},
        {"cmdExcel", "&Crea File Excel", prima},
        {"cmdUniriscossioni", "Conv. Risconet &Uniriscossioni/Gestline a CNC", ""},
        {"cmdApri", "A&pri File 2000 o+v", prima},
        {"cmdViol", "Apri &File viol. 97", prima},
        {"cmd1997", "&Apri File tr. 1997", prima},
        {"Command3", "Apri File F24", prima},
        {"Command2", "&Uscita", prima},
    };
    // The record area: the core's captions, empty boxes without a tooltip.
    for (std::size_t i = 0; i < kDidascalie.size(); ++i) {
        controlli.push_back({QStringLiteral("label1_%1").arg(i), daUtf8(kDidascalie[i]), ""});
    }
    for (int i = 0; i < 12; ++i) {
        if (i != 1) {
            controlli.push_back({QStringLiteral("Text3_%1").arg(i), "", ""});
        }
    }
    for (const auto& c : controlli) {
        const QWidget* w = controllo(c.nome);
        if (w == nullptr) {
            continue;
        }
        EXPECT_EQ(testoDi(w), c.testo) << c.nome;
        EXPECT_EQ(w->toolTip(), c.suggerimento) << c.nome;
        EXPECT_TRUE(w->isVisible()) << c.nome;
    }
    const auto* combo = controllo<QComboBox>(QStringLiteral("Combo1"));
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("E"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("L"));
    for (const char* nome : {"cmdInizio", "cmdIndietro", "cmdAvanti", "cmdFine"}) {
        EXPECT_FALSE(controllo<QAbstractButton>(QString::fromLatin1(nome))->icon().isNull())
            << nome;
    }
    EXPECT_FALSE(controllo<QLabel>(QStringLiteral("Image1"))->pixmap().isNull());
}

TEST_F(FinestraTest, CaptionAndInformationBoxCarryTheVersion) {
    const QString versione = QStringLiteral("%1.%2.%3")
                                 .arg(PLIVENTA_VERSION_MAJOR)
                                 .arg(PLIVENTA_VERSION_MINOR)
                                 .arg(PLIVENTA_VERSION_PATCH);
    const QString titolo = finestra->windowTitle();
    EXPECT_TRUE(
        titolo.startsWith(QStringLiteral("Visualizzatore Versamenti Euro/Lire O/V - Pliventa - ")))
        << titolo.toStdString();
    EXPECT_TRUE(titolo.endsWith(QStringLiteral(" - Vers. ") + versione)) << titolo.toStdString();

    dialoghi.attendi(
        QStringLiteral("Per qualsiasi informazione rivolgersi alla sede D.O.D. di competenza.\r\n"
                       "Pliventa è realizzato dal gruppo di sviluppo Pliventa per gli uffici "
                       "tributi comunali."),
        QStringLiteral("Pliventa vers. ") + versione, Pulsanti::ok, Icona::informazione);
    premi("cmdHelp");
}

TEST_F(FinestraTest, DoubleClickOnTheLogoShowsTheCredit) {
    dialoghi.attendi(QStringLiteral("Pliventa - a cura del gruppo di sviluppo Pliventa"),
                     QStringLiteral("Pliventa"));
    QTest::mouseDClick(controllo(QStringLiteral("Image1")), Qt::LeftButton);
}

TEST_F(FinestraTest, DoubleClickEmptiesOnlyTheCodiceFiscale) {
    auto* data = controllo<QLineEdit>(QStringLiteral("Text3_0"));
    auto* cf = controllo<QLineEdit>(QStringLiteral("Text3_1"));
    data->setText(QStringLiteral("31/05/2003"));
    cf->setText(QStringLiteral("RSSMRA70A01H501U"));
    QTest::mouseDClick(data, Qt::LeftButton);
    QTest::mouseDClick(cf, Qt::LeftButton);
    EXPECT_EQ(data->text(), QStringLiteral("31/05/2003"));
    // The other boxes keep what a double-click does in any text box: select a word.
    EXPECT_TRUE(data->hasSelectedText());
    EXPECT_EQ(cf->text(), QString());
}

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

TEST_F(FinestraTest, FailedReadLeavesTheBoxesAsTheyWere) {
    EXPECT_EQ(finestra->mostrarecord().errore().codice, CodiceErrore::NessunArchivio);
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("0"));

    apri({violazione()});
    mostra(1);
    for (const double n : {0.0, -1.0, 2.0}) {
        finestra->sessione().impostaRecordcorrente(n);
        const EsitoVuoto esito = finestra->mostrarecord();
        ASSERT_FALSE(esito.ok()) << n;
        EXPECT_EQ(esito.errore().codice, CodiceErrore::RecordInesistente) << n;
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 1 (Violazione)"));
        EXPECT_EQ(testo(QStringLiteral("Text3_1")), QStringLiteral("VRDLGU60B02F205X"));
        EXPECT_FALSE(visibile(QStringLiteral("Text3_10")));
    }
}

}  // namespace
}  // namespace pliventa::test
