// The menu bar and the windows it opens on the work file: the list, the summary
// and the checks. Their rules are the core's; here, the wiring.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <chrono>

#include "finestra.h"
#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_riepilogo.h"
#include "shell/frmdirfiles.h"

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
    // Enter shows the current row's payment, moved with the keyboard.
    QTest::keyClick(tabella, Qt::Key_Down);
    QTest::keyClick(tabella, Qt::Key_Return);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 2.0);
}

// The list keeps a screenful of rows in the view and a scroll bar of its own.
TEST_F(VisteTest, ListReachesItsLastRowAtOnceAndAFilterStartsAtItsFirstMatch) {
    const std::string dati = numerati(12000, "RSS");
    const QString percorso = QString::fromStdString(dir.scrivi("molti.out", dati));
    ASSERT_TRUE(finestra->apriArchivio(percorso, LetturaAtto::lunga).ok());
    azione("azioneElenco")->trigger();
    auto* tabella = vista<QTableView>("tabellaElenco");
    auto* barra = vista<QScrollBar>("barraElenco");
    ASSERT_NE(tabella, nullptr);
    ASSERT_NE(barra, nullptr);
    const int schermata = tabella->model()->rowCount();
    EXPECT_GT(schermata, 5);
    EXPECT_LT(schermata, 100);
    EXPECT_EQ(barra->maximum(), 12000 - schermata);

    QTest::keyClick(tabella, Qt::Key_End, Qt::ControlModifier);
    const QModelIndex ultimo = tabella->currentIndex();
    EXPECT_EQ(ultimo.row(), schermata - 1);
    EXPECT_EQ(ultimo.data().toString(), QStringLiteral("12000"));
    EXPECT_EQ(barra->value(), barra->maximum());
    // The number column was made for the largest number, the last row's.
    EXPECT_LT(tabella->fontMetrics().horizontalAdvance(ultimo.data().toString()),
              tabella->columnWidth(0));
    // The scroll bar moves the rows; a Shift+click selects from the current row.
    barra->setValue(0);
    EXPECT_EQ(tabella->model()->index(0, 0).data().toString(), QStringLiteral("1"));
    // A notch of the wheel down: three rows.
    QWheelEvent rotella(QPointF(10, 10), tabella->viewport()->mapToGlobal(QPointF(10, 10)),
                        QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                        false);
    QCoreApplication::sendEvent(tabella->viewport(), &rotella);
    EXPECT_EQ(tabella->model()->index(0, 0).data().toString(), QStringLiteral("4"));
    EXPECT_EQ(barra->value(), 3);
    QTest::keyClick(tabella, Qt::Key_Home, Qt::ControlModifier);
    QTest::mouseClick(tabella->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      tabella->visualRect(tabella->model()->index(2, 0)).center());
    QTest::keySequence(tabella, QKeySequence::Copy);
    const QStringList copiate = QApplication::clipboard()->text().split(u'\n');
    ASSERT_EQ(copiate.size(), 4);
    EXPECT_TRUE(copiate[2].startsWith(QStringLiteral("3\t"))) << copiate[2].toStdString();

    QTest::keyClick(tabella, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(vista<QLineEdit>("filtroCodice"), QStringLiteral("RSS11"));
    EXPECT_TRUE(attendiChe([&] { return barra->maximum() == 1111 - schermata; }));
    EXPECT_EQ(barra->value(), 0);
    EXPECT_EQ(tabella->currentIndex().row(), 0);
    EXPECT_EQ(tabella->selectionModel()->selectedRows(),
              QModelIndexList{tabella->model()->index(0, 0)});
}

TEST_F(VisteTest, AClickOnAHeaderSortsTheListASecondReversesAndAnnullaKeepsIt) {
    apri({ordinario("BBBMRA70A01H501S"), ordinario("CCCMRA70A01H501S"),
          ordinario("AAAMRA70A01H501S")});
    mostra(1);
    azione("azioneElenco")->trigger();
    auto* tabella = vista<QTableView>("tabellaElenco");
    ASSERT_NE(tabella, nullptr);
    const auto numeri = [tabella] {
        QString n;
        for (int r = 0; r < tabella->model()->rowCount(); ++r) {
            n += tabella->model()->index(r, 0).data().toString();
        }
        return n;
    };
    QHeaderView* intestazioni = tabella->horizontalHeader();
    const int cf = static_cast<int>(indice(ColonnaElenco::codiceFiscale));
    const auto clic = [intestazioni](int sezione) {
        QTest::mouseClick(intestazioni->viewport(), Qt::LeftButton, {},
                          QPoint(intestazioni->sectionViewportPosition(sezione) + 4, 4));
    };
    clic(cf);
    EXPECT_TRUE(attendiChe([&] { return numeri() == QStringLiteral("312"); }));
    EXPECT_EQ(intestazioni->sortIndicatorSection(), cf);
    clic(cf);
    EXPECT_TRUE(attendiChe([&] { return numeri() == QStringLiteral("213"); }));
    EXPECT_EQ(intestazioni->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_TRUE(vista<QLabel>("statoElenco")
                    ->text()
                    .endsWith(QStringLiteral("ordinati per Codice fiscale, in ordine decrescente")))
        << vista<QLabel>("statoElenco")->text().toStdString();
    // Copied in the order shown; Enter shows the payment of the row.
    QTest::keyClick(tabella, Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(tabella, QKeySequence::Copy);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(QStringLiteral("2\t")));
    QTest::keyClick(tabella, Qt::Key_Down);
    QTest::keyClick(tabella, Qt::Key_Return);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 1.0);

    // Annulla while the order is found: the list and its arrow stay.
    clic(static_cast<int>(indice(ColonnaElenco::totale)));
    auto* annulla = vista<QPushButton>("annullaElenco");
    ASSERT_TRUE(annulla->isVisible());
    QTest::mouseClick(annulla, Qt::LeftButton);
    EXPECT_TRUE(attendiChe([&] { return !annulla->isVisible(); }));
    EXPECT_EQ(numeri(), QStringLiteral("213"));
    EXPECT_EQ(intestazioni->sortIndicatorSection(), cf);
    EXPECT_EQ(vista<QLabel>("statoElenco")->text(),
              QStringLiteral("Annullato: l'elenco è rimasto com'era · ordinati per Codice "
                             "fiscale, in ordine decrescente"));
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

    dialoghi.attendiLavoro(QStringLiteral("Riepilogo"))
        .attendiStampa(QStringLiteral("Stampa"), pdf);
    azione("azioneRiepilogo")->trigger();
    QApplication::setActiveWindow(vista<QWidget>("FinestraRiepilogo"));
    azione("azioneStampa")->trigger();
    const QString riepilogo = testoPdf(pdf);
    EXPECT_TRUE(riepilogo.contains(QStringLiteral("Totale 3 1 2.969,12")))
        << riepilogo.toStdString();
    EXPECT_TRUE(riepilogo.contains(QStringLiteral("Riepilogo"))) << riepilogo.toStdString();
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
