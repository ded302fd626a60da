// The menu bar and the windows it opens on the work file: the list, the summary
// and the checks. Their rules are the core's; here, the wiring.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <array>
#include <chrono>

#include "finestra.h"
#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_riepilogo.h"

namespace pliventa::test {
namespace {

class VisteTest : public FinestraTest {
protected:
    QAction* azione(const char* nome) const {
        return controllo<QAction>(QString::fromLatin1(nome));
    }
    template <typename T>
    T* vista(const char* nome) const {
        T* v = finestra->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(v, nullptr) << nome;
        return v;
    }
    /// Waits until `condizione` holds, at most five seconds.
    template <typename F>
    static bool attendiChe(F condizione) {
        const auto fine = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condizione() && std::chrono::steady_clock::now() < fine) {
            QTest::qWait(10);
        }
        return condizione();
    }
    static void doppioClic(QTableView* tabella, int riga) {
        const QModelIndex indice = tabella->model()->index(riga, 0);
        const QPoint punto = tabella->visualRect(indice).center();
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, punto);
    }
    /// Opens the three views on the open work file; returns them.
    std::array<QPointer<QWidget>, 3> apriViste() {
        dialoghi.attendiLavoro(QStringLiteral("Riepilogo"))
            .attendiLavoro(QStringLiteral("Controlli"));
        azione("azioneElenco")->trigger();
        azione("azioneRiepilogo")->trigger();
        azione("azioneControlli")->trigger();
        return {vista<QWidget>("FinestraElenco"), vista<QWidget>("FinestraRiepilogo"),
                vista<QWidget>("FinestraControlli")};
    }
    /// Deletes the windows closed so far.
    static void eliminaChiuse() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    /// Three payments: two ordinary (the second with a wrong check character), a violation.
    void apriTre() {
        apri({ordinario("RSSMRA70A01H501S"), ordinario("RSSMRA70A01H501X"),
              violazione("VRDLGU60B02F205T")});
        mostra(1);
    }
};

TEST_F(VisteTest, TheViewsWaitForAWorkFile) {
    for (const char* nome :
         {"azioneRiapri", "azioneElenco", "azioneRiepilogo", "azioneControlli"}) {
        EXPECT_FALSE(azione(nome)->isEnabled()) << nome;
    }
    apriTre();
    for (const char* nome : {"azioneElenco", "azioneRiepilogo", "azioneControlli"}) {
        EXPECT_TRUE(azione(nome)->isEnabled()) << nome;
    }
}

TEST_F(VisteTest, ListShowsEveryPaymentFiltersAndHandsOneToTheMainWindow) {
    apriTre();
    azione("azioneElenco")->trigger();
    auto* tabella = vista<QTableView>("tabellaElenco");
    ASSERT_NE(tabella, nullptr);
    ASSERT_EQ(tabella->model()->rowCount(), 3);
    EXPECT_EQ(tabella->model()->index(2, 1).data().toString(), QStringLiteral("V"));

    doppioClic(tabella, 2);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 3.0);
    EXPECT_EQ(testo(QStringLiteral("Text3_1")), QStringLiteral("VRDLGU60B02F205T"));

    // Typing narrows the list once the scan off the window's thread has ended.
    QTest::keyClicks(vista<QLineEdit>("filtroCodice"), QStringLiteral("rss"));
    EXPECT_TRUE(attendiChe([&] { return tabella->model()->rowCount() == 2; }));
    vista<QCheckBox>("filtroAnomalie")->setChecked(true);
    vista<QComboBox>("filtroTipo")->setCurrentIndex(2);  // violations only
    EXPECT_TRUE(attendiChe([&] { return tabella->model()->rowCount() == 0; }));

    vista<QComboBox>("filtroTipo")->setCurrentIndex(0);
    vista<QCheckBox>("filtroAnomalie")->setChecked(false);
    vista<QLineEdit>("filtroCodice")->clear();
    EXPECT_TRUE(attendiChe([&] { return tabella->model()->rowCount() == 3; }));
    tabella->selectRow(1);
    QTest::keySequence(tabella, QKeySequence::Copy);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("2\tO\t31/05/2003\t")))
        << QApplication::clipboard()->text();
}

TEST_F(VisteTest, SummaryTotalsAndSavesInTheTypeChosenWithItsOwnDialogs) {
    apriTre();
    dialoghi.attendiLavoro(QStringLiteral("Riepilogo"));
    azione("azioneRiepilogo")->trigger();
    auto* riepilogo = vista<FinestraRiepilogo>("FinestraRiepilogo");
    auto* tabella = vista<QTableWidget>("tabellaRiepilogo");
    ASSERT_NE(tabella, nullptr);
    // Opened from the main window's menu: the work runs over the main window.
    EXPECT_EQ(dialoghi.genitori(), std::vector<const QWidget*>{nullptr});
    // By tax year and kind: 2001 V, 2002 O, then the grand total.
    ASSERT_EQ(tabella->rowCount(), 3);
    EXPECT_EQ(tabella->item(0, 0)->text(), QStringLiteral("2001"));
    EXPECT_EQ(tabella->item(2, 0)->text(), QStringLiteral("Totale generale"));
    EXPECT_EQ(tabella->horizontalHeaderItem(4)->text(), QStringLiteral("Totale"));
    EXPECT_EQ(tabella->item(2, 4)->text(), QStringLiteral("2.969,12"));

    // The type chosen decides the format, whatever the name; the dialog is the
    // summary's own, so answering it leaves the summary in front.
    const struct {
        QString nome;
        int tipo;
        std::string inizio;
    } casi[] = {
        {QStringLiteral("/riepilogo.txt"), 1, "Anno;Tipo;Versamenti;Versamenti su violazione;"},
        {QStringLiteral("/riepilogo.dati"), 0, "PK"},
    };
    for (const auto& c : casi) {
        const QString file = cartella() + c.nome;
        dialoghi.attendiSalva(QStringLiteral("Salva riepilogo"),
                              QStringLiteral("Cartella di lavoro Excel (*.xlsx);;File CSV (*.csv)"),
                              file, c.tipo);
        QTest::mouseClick(vista<QPushButton>("cmdSalva"), Qt::LeftButton);
        EXPECT_TRUE(leggiFile(file.toStdString()).starts_with(c.inizio)) << c.nome;
        EXPECT_EQ(dialoghi.genitori().back(), riepilogo);
    }
}

TEST_F(VisteTest, ChecksListEachRuleBrokenAndShowThePayment) {
    apriTre();
    dialoghi.attendiLavoro(QStringLiteral("Controlli"));
    azione("azioneControlli")->trigger();
    auto* tabella = vista<QTableView>("tabellaControlli");
    ASSERT_NE(tabella, nullptr);
    QStringList righe;
    for (int r = 0; r < tabella->model()->rowCount(); ++r) {
        righe << tabella->model()->index(r, 0).data().toString() + u' ' +
                     tabella->model()->index(r, 1).data().toString();
    }
    EXPECT_EQ(righe, QStringList({QStringLiteral("1 Totale diverso dalla somma delle parti"),
                                  QStringLiteral("2 Codice fiscale non valido"),
                                  QStringLiteral("2 Totale diverso dalla somma delle parti"),
                                  QStringLiteral("3 Totale diverso dalla somma delle parti")}));
    // Amounts as the main window shows them.
    EXPECT_EQ(tabella->model()->index(0, 2).data().toString(),
              QStringLiteral("totale 1.234,56, parti 1,00"));
    doppioClic(tabella, 1);
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 2"));
}

TEST_F(VisteTest, ANewWorkFileClosesTheViewsOnTheOldOne) {
    apriTre();
    azione("azioneElenco")->trigger();
    QPointer<QWidget> elenco = vista<QWidget>("FinestraElenco");
    ASSERT_FALSE(elenco.isNull());
    apri({ordinario()});
    EXPECT_TRUE(attendiChe([&] { return elenco.isNull(); }));
}

TEST_F(VisteTest, ChooserAndConversionCloseTheViewsAndGreyTheirEntries) {
    const QString input =
        QString::fromStdString(dir.scrivi("risconet.txt", "TESTA\r\n1;2003-07-15\r\n"));
    const QString convertire = QStringLiteral("Converti RiscoNet");
    for (const char* pulsante : {"Command1", "cmdUniriscossioni"}) {
        apriTre();
        const auto viste = apriViste();
        if (QString::fromLatin1(pulsante) == u"Command1") {
            // The chooser is left with "&Esci".
            QTimer::singleShot(0, finestra.get(), [] {
                if (QWidget* scelta = QApplication::activeModalWidget()) {
                    QTest::mouseClick(
                        scelta->findChild<QAbstractButton*>(QStringLiteral("cmdEsci")),
                        Qt::LeftButton);
                }
            });
        } else {
            dialoghi
                .attendiInput(QStringLiteral("Inserisci percorso"), convertire, QString(), input)
                .attendiInput(QStringLiteral("Inserisci Codice Belfiore Ente (A000)"), convertire,
                              QString(), QStringLiteral("A000"))
                .attendiLavoro(convertire)
                .attendi(QStringLiteral("Elaborazione Terminata"), kTitoloPredefinito);
        }
        premi(pulsante);
        eliminaChiuse();
        for (const QPointer<QWidget>& v : viste) {
            EXPECT_TRUE(v.isNull()) << pulsante;
        }
        for (const char* nome : {"azioneElenco", "azioneRiepilogo", "azioneControlli"}) {
            EXPECT_FALSE(azione(nome)->isEnabled()) << pulsante << " " << nome;
        }
    }
}

TEST_F(VisteTest, ViewsCloseInAnyOrderAndWithTheMainWindow) {
    for (const bool conLaFinestra : {false, true}) {
        apriTre();
        auto viste = apriViste();
        // A filter scan may still run on the list's file when it goes.
        QTest::keyClicks(vista<QLineEdit>("filtroCodice"), QStringLiteral("R"));
        QTest::qWait(250);  // the scan starts once the typing has settled
        if (conLaFinestra) {
            finestra.reset();
        } else {
            for (const std::size_t i : {1u, 0u, 2u}) {
                viste[i]->close();
                eliminaChiuse();
            }
        }
        for (const QPointer<QWidget>& v : viste) {
            EXPECT_TRUE(v.isNull()) << conLaFinestra;
        }
    }
}

}  // namespace
}  // namespace pliventa::test
