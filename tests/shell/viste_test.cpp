// The menu bar and the windows it opens on the work file: the summary, the checks,
// the statement, the printout. Their rules are the core's; here, the wiring.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <chrono>

#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_riepilogo.h"
#include "shell/frmdirfiles.h"
#include "viste.h"

namespace pliventa::test {
namespace {

TEST_F(VisteTest, MenusHoldTheirEntriesAndTheViewsWaitForAWorkFile) {
    QStringList menu;
    for (QAction* a : finestra->menuBar()->actions()) {
        QStringList voci;
        for (QAction* v : a->menu()->actions()) {
            if (!v->isSeparator()) {
                voci << v->text();
            }
        }
        menu << a->text() + u':' + voci.join(u'|');
    }
    EXPECT_EQ(menu,
              QStringList({QStringLiteral("Fil&e:&Riapri l'ultimo archivio|&Importa più file…|"
                                          "&Stampa…|&Esci"),
                           QStringLiteral("&Visualizza:&Elenco versamenti…|&Riepilogo…|"
                                          "&Controlli…|&Scheda contribuente…"),
                           QStringLiteral("A&iuto:&Guida|&Informazioni")}));
    for (const char* nome :
         {"azioneRiapri", "azioneElenco", "azioneRiepilogo", "azioneControlli", "azioneScheda"}) {
        EXPECT_FALSE(azione(nome)->isEnabled()) << nome;
    }
    apriTre();
    for (const char* nome :
         {"azioneElenco", "azioneRiepilogo", "azioneControlli", "azioneScheda"}) {
        EXPECT_TRUE(azione(nome)->isEnabled()) << nome;
    }
}

TEST_F(VisteTest, InformationAndExitCallTheButtonsHandlers) {
    dialoghi.attendiQualsiasi(QStringLiteral("Pliventa vers. ") + versione(), Pulsanti::ok,
                              Icona::informazione);
    azione("azioneInformazioni")->trigger();
    QSignalSpy termina(finestra.get(), &frmView::terminaProgramma);
    azione("azioneEsci")->trigger();
    EXPECT_EQ(termina.count(), 1);
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
    // Amounts as the main window shows them; rule and codice fiscale whole.
    EXPECT_EQ(tabella->model()->index(0, 2).data().toString(),
              QStringLiteral("totale 1.234,56, parti 1,00"));
    for (int r = 0; r < tabella->model()->rowCount(); ++r) {
        for (const int c : {1, 3}) {
            EXPECT_LE(tabella->fontMetrics().horizontalAdvance(
                          tabella->model()->index(r, c).data().toString()),
                      tabella->columnWidth(c))
                << r << " " << c;
        }
    }
    doppioClic(tabella, 1);
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 2"));
}

TEST_F(VisteTest, ADuplicateNamesTheFirstPaymentInTheChecks) {
    apri({ordinario("RSSMRA70A01H501S"), ordinario("RSSMRA70A01H501S")});
    dialoghi.attendiLavoro(QStringLiteral("Controlli"));
    azione("azioneControlli")->trigger();
    const QAbstractItemModel* righe = vista<QTableView>("tabellaControlli")->model();
    const QModelIndex ultima = righe->index(righe->rowCount() - 1, 0);
    EXPECT_EQ(ultima.siblingAtColumn(1).data().toString(), QStringLiteral("Versamento duplicato"));
    EXPECT_EQ(ultima.siblingAtColumn(2).data().toString(),
              QStringLiteral("uguale al versamento 1"));
}

TEST_F(VisteTest, ChecksCopyKeepsAFieldThatLooksLikeAFormulaAsText) {
    apri({ordinario("=1+1")});
    dialoghi.attendiLavoro(QStringLiteral("Controlli"));
    azione("azioneControlli")->trigger();
    auto* tabella = vista<QTableView>("tabellaControlli");
    tabella->selectAll();
    QTest::keyClick(tabella, Qt::Key_C, Qt::ControlModifier);
    const QStringList righe = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(righe.isEmpty());
    const QStringList celle = righe.front().split(u'\t');
    ASSERT_EQ(celle.size(), tabella->model()->columnCount());
    EXPECT_EQ(celle.front(), QStringLiteral("1"));
    EXPECT_TRUE(celle[3].startsWith(QStringLiteral("'=1+1"))) << celle[3].toStdString();
}

// The access keys of a window's buttons, check boxes and of the captions that lead
// to a control, lower case; "?" for one without.
QString tastiDi(const QWidget* finestra) {
    QString tasti;
    const auto tasto = [&tasti](const QString& testo) {
        const qsizetype i = testo.indexOf(u'&');
        tasti += i < 0 || i + 1 >= testo.size() ? QChar(u'?') : testo[i + 1].toLower();
    };
    for (const QAbstractButton* b : finestra->findChildren<QAbstractButton*>()) {
        if (qobject_cast<const QPushButton*>(b) != nullptr ||
            qobject_cast<const QCheckBox*>(b) != nullptr) {
            tasto(b->text());
        }
    }
    for (const QLabel* l : finestra->findChildren<QLabel*>()) {
        if (l->buddy() != nullptr) {
            tasto(l->text());
        }
    }
    return tasti;
}

TEST_F(VisteTest, EveryButtonOfTheViewsHasAnAccessKeyOfItsOwn) {
    apriTre();
    dialoghi.attendiLavoro(QStringLiteral("Riepilogo")).attendiLavoro(QStringLiteral("Controlli"));
    azione("azioneElenco")->trigger();
    azione("azioneRiepilogo")->trigger();
    azione("azioneControlli")->trigger();
    frmDirFiles scelta(dialoghi);
    const struct {
        const QWidget* finestra;
        int quanti;  ///< buttons and captions with a control
    } casi[] = {
        {vista<QWidget>("FinestraElenco"), 6},
        {vista<QWidget>("FinestraRiepilogo"), 3},
        {vista<QWidget>("FinestraControlli"), 1},
        {&scelta, 6},
    };
    for (const auto& c : casi) {
        ASSERT_NE(c.finestra, nullptr);
        const QString tasti = tastiDi(c.finestra);
        EXPECT_EQ(tasti.size(), c.quanti) << c.finestra->objectName() << " " << tasti;
        EXPECT_FALSE(tasti.contains(u'?')) << c.finestra->objectName() << " " << tasti;
        for (const QChar t : tasti) {
            EXPECT_EQ(tasti.count(t), 1) << c.finestra->objectName() << " " << tasti;
        }
    }
    // The list's new button closes it.
    QWidget* elenco = vista<QWidget>("FinestraElenco");
    QTest::mouseClick(elenco->findChild<QPushButton*>(QStringLiteral("cmdChiudi")), Qt::LeftButton);
    EXPECT_FALSE(elenco->isVisible());
}

TEST_F(VisteTest, StatementOfTheTaxpayerShownListsItsPaymentsAndHandsOneBack) {
    apri({ordinario("RSSMRA70A01H501S"), violazione("VRDLGU60B02F205T"),
          ordinario("RSSMRA70A01H501S")});
    mostra(3);
    const QString titolo = QStringLiteral("Scheda contribuente");
    dialoghi
        .attendiInput(QStringLiteral("Codice fiscale del contribuente:"), titolo,
                      QStringLiteral("RSSMRA70A01H501S"), QStringLiteral(" RSSMRA70A01H501S "))
        .attendiLavoro(titolo);
    azione("azioneScheda")->trigger();
    auto* albero = vista<QTreeWidget>("alberoScheda");
    ASSERT_NE(albero, nullptr);
    ASSERT_EQ(albero->topLevelItemCount(), 1);
    QTreeWidgetItem* gruppo = albero->topLevelItem(0);
    ASSERT_EQ(gruppo->childCount(), 2);
    EXPECT_EQ(gruppo->child(0)->text(0), QStringLiteral("N. 1"));
    EXPECT_EQ(gruppo->child(1)->text(0), QStringLiteral("N. 3"));
    // The second is a copy of the first: the statement names it.
    EXPECT_TRUE(gruppo->child(1)
                    ->text(albero->columnCount() - 1)
                    .contains(QStringLiteral("Versamento duplicato (uguale al versamento 1)")))
        << gruppo->child(1)->text(albero->columnCount() - 1).toStdString();
    emit albero->itemActivated(gruppo->child(0), 0);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 1.0);

    // Cancelling the question opens nothing.
    dialoghi.attendiInput(QStringLiteral("Codice fiscale del contribuente:"), titolo,
                          QStringLiteral("RSSMRA70A01H501S"), QString());
    azione("azioneScheda")->trigger();
    EXPECT_EQ(finestra->findChildren<QTreeWidget*>(QStringLiteral("alberoScheda")).size(), 1);

    // The list's row menu asks for the statement of the row's taxpayer.
    azione("azioneElenco")->trigger();
    auto* tabella = vista<QTableView>("tabellaElenco");
    QTest::mouseClick(tabella->viewport(), Qt::RightButton, {},
                      tabella->visualRect(tabella->model()->index(1, 0)).center());
    dialoghi.attendiLavoro(titolo);
    vista<QAction>("azioneSchedaRiga")->trigger();
    eliminaChiuse();
    EXPECT_EQ(vista<QLabel>("codiceScheda")->text(),
              QStringLiteral("Codice fiscale: VRDLGU60B02F205T"));
}

// The text of the PDF file `pdf`, as pdftotext reads it.
QString testoPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

TEST_F(VisteTest, PrintsThePaymentShownOrTheViewInFront) {
    apriTre();
    const QString pdf = QDir(cartella()).filePath(QStringLiteral("stampa.pdf"));
    dialoghi.attendiStampa(QStringLiteral("Stampa"), pdf);
    azione("azioneStampa")->trigger();
    const QString pagamento = testoPdf(pdf);
    EXPECT_TRUE(pagamento.contains(QStringLiteral("Versamento File di lavoro: iciview.out")))
        << pagamento.toStdString();
    EXPECT_TRUE(pagamento.contains(QStringLiteral("Codice Fiscale RSSMRA70A01H501S")))
        << pagamento.toStdString();

    // A view's table is printed off the window's thread, with progress and cancel.
    dialoghi.attendiLavoro(QStringLiteral("Riepilogo"))
        .attendiStampa(QStringLiteral("Stampa"), pdf)
        .attendiLavoro(QStringLiteral("Stampa"));
    azione("azioneRiepilogo")->trigger();
    QApplication::setActiveWindow(vista<QWidget>("FinestraRiepilogo"));
    azione("azioneStampa")->trigger();
    const QString riepilogo = testoPdf(pdf);
    EXPECT_TRUE(riepilogo.contains(QStringLiteral("Totale generale 3 1 2.969,12")))
        << riepilogo.toStdString();
    EXPECT_TRUE(riepilogo.startsWith(QStringLiteral("Riepilogo"))) << riepilogo.toStdString();
    EXPECT_TRUE(riepilogo.endsWith(QStringLiteral("Pagina 1 di 1"))) << riepilogo.toStdString();

    // Cancelled: the PDF file chosen stays as it was, and nothing is left beside it.
    dialoghi.attendiStampa(QStringLiteral("Stampa"), pdf)
        .attendiLavoro(QStringLiteral("Stampa"), true);
    azione("azioneStampa")->trigger();
    EXPECT_EQ(testoPdf(pdf), riepilogo);
    EXPECT_EQ(
        QDir(cartella()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("stampa")),
        QStringList{QStringLiteral("stampa.pdf")});
    EXPECT_EQ(stato(), QStringLiteral("Stampa annullata"));
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
    std::array<int, 3> ordine = {0, 1, 2};
    do {
        apriTre();
        auto viste = apriViste();
        // A filter scan may still run on the list's file when it goes.
        QTest::keyClicks(vista<QLineEdit>("filtroCodice"), QStringLiteral("R"));
        for (const int i : ordine) {
            ASSERT_FALSE(viste[static_cast<std::size_t>(i)].isNull());
            viste[static_cast<std::size_t>(i)]->close();
            eliminaChiuse();
            EXPECT_TRUE(viste[static_cast<std::size_t>(i)].isNull());
        }
    } while (std::next_permutation(ordine.begin(), ordine.end()));

    apriTre();
    auto viste = apriViste();
    QTest::keyClicks(vista<QLineEdit>("filtroCodice"), QStringLiteral("R"));
    QTest::qWait(250);  // the scan starts once the typing has settled
    finestra.reset();   // the main window goes with every view open
    for (const QPointer<QWidget>& v : viste) {
        EXPECT_TRUE(v.isNull());
    }
}

}  // namespace
}  // namespace pliventa::test
