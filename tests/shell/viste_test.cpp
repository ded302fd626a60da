// The menu bar and the windows it opens on the work file: the summary, the checks,
// the statement, the printout; their rules are the core's, here the wiring. And the
// real dialogs they use, shown offscreen and answered as soon as they are up, with
// the runner of long work they wait on.

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <new>
#include <thread>

#include "finestra.h"
#include "shell/frmdirfiles.h"

namespace pliventa::test {
namespace {

const char* const kAzioniSulFile[] = {"azioneElenco", "azioneRiepilogo", "azioneControlli",
                                      "azioneScheda"};

// The menus' entries that work on the file wait for one; "Informazioni" and "Esci"
// call the buttons' handlers; the summary totals, saves and prints.
TEST_F(FinestraTest, MenusWaitForAWorkFileAndTheSummarySavesAndPrintsWithItsOwnDialogs) {
    for (const char* nome : kAzioniSulFile) {
        EXPECT_FALSE(azione(nome)->isEnabled()) << nome;
    }
    apriTre();
    for (const char* nome : kAzioniSulFile) {
        EXPECT_TRUE(azione(nome)->isEnabled()) << nome;
    }
    dialoghi.attendi(std::nullopt, u"Pliventa vers. "_s + versione(), Pulsanti::ok,
                     Icona::informazione);
    azione("azioneInformazioni")->trigger();
    dialoghi.attendiLavoro(u"Riepilogo"_s);
    azione("azioneRiepilogo")->trigger();
    // Opened from the main window's menu: the work runs over the main window.
    EXPECT_EQ(dialoghi.genitori().back(), nullptr);

    // The type chosen decides the format, whatever the name; the dialog is the
    // summary's own, so answering it leaves the summary in front.
    for (const int tipo : {1, 0}) {  // CSV in a ".txt", Excel in a ".dati"
        const QString nome = inCartella(tipo == 1 ? u"riepilogo.txt"_s : u"riepilogo.dati"_s);
        dialoghi.attendiSalva(u"Salva riepilogo"_s,
                              u"Cartella di lavoro Excel (*.xlsx);;File CSV (*.csv)"_s, nome, tipo);
        premi("cmdSalva");
        const char* inizio = tipo == 1 ? "Anno;Tipo;Versamenti;Versamenti su violazione;" : "PK";
        EXPECT_TRUE(leggiFile(nome.toStdString()).starts_with(inizio)) << nome;
        EXPECT_EQ(dialoghi.genitori().back(), controllo("FinestraRiepilogo"));
    }

    // The main window in front prints the payment shown.
    const QString pdf = inCartella(u"stampa.pdf"_s);
    dialoghi.attendiStampa(u"Stampa"_s, pdf);
    QApplication::setActiveWindow(finestra.get());
    azione("azioneStampa")->trigger();
    const QString pagamento = testoPdf(pdf);
    EXPECT_TRUE(pagamento.contains(u"Versamento File di lavoro: iciview.out"_s)) << pagamento;
    EXPECT_TRUE(pagamento.contains(u"Codice Fiscale RSSMRA70A01H501S"_s)) << pagamento;

    // The view's table is printed off the window's thread, with progress and cancel.
    dialoghi.attendiStampa(u"Stampa"_s, pdf).attendiLavoro(u"Stampa"_s);
    QApplication::setActiveWindow(controllo("FinestraRiepilogo"));
    azione("azioneStampa")->trigger();
    const QString riepilogo = testoPdf(pdf);
    // By tax year and kind, 2001 V and 2002 O, then the grand total.
    EXPECT_TRUE(riepilogo.contains(u"Totale generale 3 1 2.969,12"_s)) << riepilogo;
    EXPECT_TRUE(riepilogo.startsWith(u"Riepilogo"_s)) << riepilogo;
    EXPECT_TRUE(riepilogo.endsWith(u"Pagina 1 di 1"_s)) << riepilogo;

    // Cancelled: the PDF file chosen stays as it was, and nothing is left beside it.
    dialoghi.attendiStampa(u"Stampa"_s, pdf).attendiLavoro(u"Stampa"_s, true);
    azione("azioneStampa")->trigger();
    EXPECT_EQ(testoPdf(pdf), riepilogo);
    EXPECT_EQ(QDir(cartella()).entryList(QDir::Files | QDir::Hidden).filter(u"stampa"_s),
              QStringList{u"stampa.pdf"_s});
    EXPECT_EQ(stato(), u"Stampa annullata"_s);
    QSignalSpy termina(finestra.get(), &frmView::terminaProgramma);
    azione("azioneEsci")->trigger();
    EXPECT_EQ(termina.count(), 1);
}

// The rules are the core's; here, the rows they give, their texts, the copy and the
// double click; and the statement of a taxpayer, asked for from the menu or the list.
TEST_F(FinestraTest, ChecksListEachRuleBrokenShowThePaymentAndCopyAFormulaAsText) {
    apri({ordinario("RSSMRA70A01H501S"), ordinario("=1+1"), ordinario("=1+1")});
    mostra(1);
    dialoghi.attendiLavoro(u"Controlli"_s);
    azione("azioneControlli")->trigger();
    auto* tabella = controllo<QTableView>("tabellaControlli");
    QStringList righe;
    for (int r = 0; r < tabella->model()->rowCount(); ++r) {
        righe << cella(tabella, r, 0);
        for (const int c : {1, 3}) {  // rule and codice fiscale shown whole
            EXPECT_LE(tabella->fontMetrics().horizontalAdvance(cella(tabella, r, c)),
                      tabella->columnWidth(c))
                << r << " " << c;
        }
    }
    EXPECT_EQ(righe.join(u','), u"1,2,2,3,3,3"_s);
    // Amounts as the main window shows them; a duplicate names the first payment.
    EXPECT_EQ(cella(tabella, 0, 1), u"Totale diverso dalla somma delle parti"_s);
    EXPECT_EQ(cella(tabella, 0, 2), u"totale 1.234,56, parti 1,00"_s);
    EXPECT_EQ(cella(tabella, 5, 2), u"uguale al versamento 2"_s);
    tabella->selectAll();
    QTest::keyClick(tabella, Qt::Key_C, Qt::ControlModifier);
    const QStringList celle = QApplication::clipboard()->text().section(u'\n', 1, 1).split(u'\t');
    ASSERT_EQ(celle.size(), tabella->model()->columnCount());
    EXPECT_EQ(celle[0], u"2"_s);  // a number, right-aligned: as it is
    EXPECT_TRUE(celle[3].startsWith(u"'=1+1"_s)) << celle[3];
    doppioClic(tabella, 1);
    EXPECT_EQ(testo("Text4"), u"Vers. n. 2"_s);

    // The statement of the taxpayer shown lists its payments and hands one back.
    const QString titolo = u"Scheda contribuente"_s;
    const QString domanda = u"Codice fiscale del contribuente:"_s;
    dialoghi.attendiInput(domanda, titolo, u"=1+1"_s, u" =1+1 "_s).attendiLavoro(titolo);
    azione("azioneScheda")->trigger();
    auto* albero = controllo<QTreeWidget>("alberoScheda");
    ASSERT_EQ(albero->topLevelItemCount(), 1);
    QTreeWidgetItem* gruppo = albero->topLevelItem(0);
    ASSERT_EQ(gruppo->childCount(), 2);
    EXPECT_EQ(gruppo->child(0)->text(0), u"N. 2"_s);
    EXPECT_EQ(gruppo->child(1)->text(0), u"N. 3"_s);
    // The second is a copy of the first: the statement names it.
    const QString regole = gruppo->child(1)->text(albero->columnCount() - 1);
    EXPECT_TRUE(regole.contains(u"Versamento duplicato (uguale al versamento 2)"_s)) << regole;
    emit albero->itemActivated(gruppo->child(1), 0);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 3.0);
    // Cancelling the question opens nothing.
    dialoghi.attendiInput(domanda, titolo, u"=1+1"_s, QString());
    azione("azioneScheda")->trigger();
    EXPECT_EQ(finestra->findChildren<QTreeWidget*>(u"alberoScheda"_s).size(), 1);
    // The list's row menu asks for the statement of the row's taxpayer.
    QTableView* lista = elenco();
    QTest::mouseClick(lista->viewport(), Qt::RightButton, {},
                      lista->visualRect(lista->model()->index(0, 0)).center());
    dialoghi.attendiLavoro(titolo);
    azione("azioneSchedaRiga")->trigger();
    eliminaChiuse();
    EXPECT_EQ(controllo<QLabel>("codiceScheda")->text(), u"Codice fiscale: RSSMRA70A01H501S"_s);
}

// The views go when closed, in any order, and with the main window, a filter scan
// maybe still running on the list's file. That they go when their file is left for
// another is seen by the tests of what leaves it: the conversion, the file reopened.
TEST_F(FinestraTest, ViewsGoWhenClosedInAnyOrderOrWithTheMainWindow) {
    // "012" and the like: the views closed one by one in that order, the list by its button.
    for (const std::string modo : {"012", "021", "102", "120", "201", "210", "finestra"}) {
        SCOPED_TRACE(modo);
        apriTre();
        dialoghi.attendiLavoro(u"Riepilogo"_s).attendiLavoro(u"Controlli"_s);
        for (const char* nome : {"azioneElenco", "azioneRiepilogo", "azioneControlli"}) {
            azione(nome)->trigger();
        }
        const std::array<QPointer<QWidget>, 3> viste = {controllo("FinestraElenco"),
                                                        controllo("FinestraRiepilogo"),
                                                        controllo("FinestraControlli")};
        QTest::keyClicks(controllo("filtroCodice"), u"R"_s);
        if (modo == "finestra") {
            // Every button, check box and caption leading to a control of the views and
            // of the chooser has an access key of its own.
            frmDirFiles scelta(dialoghi);
            for (const QWidget* f : {viste[0].data(), viste[1].data(), viste[2].data(),
                                     static_cast<QWidget*>(&scelta)}) {
                QStringList tasti;
                for (const QWidget* w : f->findChildren<QWidget*>()) {
                    const auto* l = qobject_cast<const QLabel*>(w);
                    if (l != nullptr ? l->buddy() != nullptr
                                     : w->inherits("QPushButton") || w->inherits("QCheckBox")) {
                        tasti << QKeySequence::mnemonic(w->property("text").toString()).toString();
                    }
                }
                EXPECT_FALSE(tasti.isEmpty() || tasti.contains(QString()))
                    << tasti.join(u' ').toStdString();
                EXPECT_EQ(QSet<QString>(tasti.begin(), tasti.end()).size(), tasti.size())
                    << tasti.join(u' ').toStdString();
            }
            QTest::qWait(250);  // the scan starts once the typing has settled
            finestra.reset();
        } else {
            for (const char c : modo) {
                const QPointer<QWidget>& v = viste[static_cast<std::size_t>(c - '0')];
                ASSERT_FALSE(v.isNull());
                if (c == '0') {
                    QTest::mouseClick(v->findChild<QPushButton*>(u"cmdChiudi"_s), Qt::LeftButton);
                } else {
                    v->close();
                }
                eliminaChiuse();
                EXPECT_TRUE(v.isNull()) << c;
            }
        }
        EXPECT_TRUE(QTest::qWaitFor([&] {
            eliminaChiuse();
            return std::ranges::all_of(viste, [](const auto& v) { return v.isNull(); });
        }));
        for (const char* nome : kAzioniSulFile) {
            EXPECT_TRUE(finestra == nullptr || azione(nome)->isEnabled()) << nome;
        }
    }
}

TEST(DialoghiQtTest, SaveGivesTheTypeLayoutsTheChoiceProgressTheStageAndItsCancel) {
    QTemporaryDir cartella;
    ASSERT_TRUE(cartella.isValid());
    const struct {
        int tipo;
        QString nome;
        QString atteso;
        int tipoAtteso;
    } casi[] = {
        {1, u"riepilogo"_s, u"riepilogo.csv"_s, 1},
        {0, u"riepilogo"_s, u"riepilogo.xlsx"_s, 0},
        // A name with the extension of a listed type is of that type.
        {1, u"riepilogo.xlsx"_s, u"riepilogo.xlsx"_s, 0},
        {0, u"riepilogo.CSV"_s, u"riepilogo.CSV"_s, 1},
    };
    for (const auto& c : casi) {
        // Chooses the type, types the name and presses Salva.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* campo = box == nullptr ? nullptr : box->findChild<QLineEdit*>("fileNameEdit");
            if (campo == nullptr) {
                ADD_FAILURE() << "no save dialog with a name box";
                if (QWidget* altro = QApplication::activeModalWidget()) {
                    altro->close();
                }
                return;
            }
            box->selectNameFilter(box->nameFilters().at(c.tipo));
            campo->setText(c.nome);
            QMetaObject::invokeMethod(box, "accept");  // as the Salva button does
        });
        const FileScelto scelto = DialoghiQt().salvaCome(
            u"Salva riepilogo"_s, cartella.filePath(u"Riepilogo per anno.xlsx"_s),
            u"Cartella di lavoro Excel (*.xlsx);;File CSV (*.csv)"_s);
        EXPECT_EQ(scelto.percorso, cartella.filePath(c.atteso)) << c.nome;
        EXPECT_EQ(scelto.tipo, c.tipoAtteso) << c.nome;
    }

    // The table of the layouts: each file with the layout found, "Importa" only once
    // every file has one, the clerk's choice given back; Annulla gives none.
    const std::vector<FileDaImportare> file = {
        {u"/dati/a.txt"_s, Formato::f24, {}},
        {u"/dati/b.txt"_s, std::nullopt, u"il file è vuoto"_s},
    };
    for (const bool importa : {true, false}) {
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            const auto scelte = box->findChildren<QComboBox*>();
            ASSERT_EQ(scelte.size(), 2);
            EXPECT_EQ(scelte[0]->currentText(), u"F24"_s);
            EXPECT_EQ(scelte[1]->currentIndex(), -1);
            const auto pulsanti = box->findChildren<QPushButton*>();
            const auto trovato = std::ranges::find(pulsanti, importa ? u"&Importa"_s : u"Annulla"_s,
                                                   &QPushButton::text);
            ASSERT_NE(trovato, pulsanti.end());
            QPushButton* pulsante = *trovato;
            if (importa) {
                EXPECT_FALSE(pulsante->isEnabled());
                scelte[1]->setCurrentIndex(scelte[1]->findText(u"Violazioni 1997"_s));
                EXPECT_TRUE(pulsante->isEnabled());
            }
            pulsante->click();
        });
        DialoghiQt dialoghi;
        const auto scelti = dialoghi.scegliTracciati(u"Importa più file"_s, file);
        EXPECT_EQ(scelti, importa ? std::optional(std::vector{Formato::f24, Formato::viol1997})
                                  : std::nullopt);
    }

    // The window takes no input while the work runs; its progress dialog does, showing
    // the stage; Annulla stops the work mid-run.
    QWidget finestra;
    finestra.show();
    finestra.setEnabled(false);
    constexpr int kPassi = 2000;
    Lavoro lavoro([&](Lavoro& l) {
        for (int i = 1; i <= kPassi && !l.annullato(); ++i) {
            l.avanza(1, static_cast<std::uint64_t>(i), kPassi);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    QString fase;
    int valore = -1;
    QTimer sonda;
    sonda.callOnTimeout([&] {
        auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box->value() <= 0 || valore >= 0) {
            return;
        }
        fase = box->labelText();
        valore = box->value();
        QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);  // "Annulla"
    });
    sonda.start(20);
    DialoghiQt dialoghi(&finestra);
    dialoghi.attendi(lavoro, u"Crea File Excel"_s,
                     {u"Calcolo dei totali…"_s, u"Scrittura dei versamenti…"_s});
    EXPECT_EQ(fase, u"Scrittura dei versamenti…"_s);
    EXPECT_TRUE(valore > 0 && valore < 1000) << valore;  // of 1000, mid-run
    EXPECT_TRUE(lavoro.finito());
    EXPECT_TRUE(lavoro.annullato());

    // A task out of memory is an error the caller sees (a task's own result: every
    // window's work gives one).
    Lavoro compito([](Lavoro&) { throw std::bad_alloc(); });
    compito.avvia();
    compito.aspetta();
    EXPECT_TRUE(compito.finito());
    EXPECT_EQ(esitoDi(compito, std::optional<Esito<int>>()).errore().motivo,
              "memoria insufficiente");
}

}  // namespace
}  // namespace pliventa::test
