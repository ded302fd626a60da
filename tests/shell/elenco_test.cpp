// The payments list: its rows, keys, selection, scroll bar, filter and order, wired
// to the core's list (the filter's and the order's rules are the core's); and the
// window and the list showing the file open whatever another program puts at its
// path.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <filesystem>
#include <sstream>
#include <utility>

#include "browse/elenco.h"
#include "finestra.h"
#include "shell/selezione_righe.h"

namespace pliventa::test {
namespace {

// The list keeps a screenful of rows in the view and a scroll bar of its own.
TEST_F(FinestraTest, ListReachesItsLastRowAtOnceAndAFilterStartsAtItsFirstMatch) {
    apri(numerati(12000, "RSS"));
    QTableView* tabella = elenco();
    auto* barra = controllo<QScrollBar>("barraElenco");
    const int schermata = tabella->model()->rowCount();
    EXPECT_LT(schermata, 100);
    EXPECT_EQ(barra->maximum(), 12000 - schermata);

    QTest::keyClick(tabella, Qt::Key_End, Qt::ControlModifier);
    const QModelIndex ultimo = tabella->currentIndex();
    EXPECT_EQ(ultimo.row(), schermata - 1);
    EXPECT_EQ(ultimo.data().toString(), u"12000"_s);
    EXPECT_EQ(barra->value(), barra->maximum());
    // The number column was made for the largest number, the last row's.
    EXPECT_LT(tabella->fontMetrics().horizontalAdvance(u"12000"_s), tabella->columnWidth(0));
    // The scroll bar moves the rows; a notch of the wheel down, three rows.
    barra->setValue(0);
    EXPECT_EQ(cella(tabella, 0, 0), u"1"_s);
    QWheelEvent rotella(QPointF(10, 10), tabella->viewport()->mapToGlobal(QPointF(10, 10)),
                        QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                        false);
    QCoreApplication::sendEvent(tabella->viewport(), &rotella);
    EXPECT_EQ(cella(tabella, 0, 0), u"4"_s);
    EXPECT_EQ(barra->value(), 3);
    // The keys move the current cell over the whole list, as in any table.
    const struct {
        Qt::Key tasto;
        Qt::KeyboardModifiers con;
        int numero;
        int colonna;  ///< from the last; 0 = the first
    } tasti[] = {
        {Qt::Key_Home, Qt::ControlModifier, 1, 0},
        {Qt::Key_Up, {}, 1, 0},
        {Qt::Key_PageDown, {}, 1 + schermata, 0},
        {Qt::Key_Down, {}, 2 + schermata, 0},
        {Qt::Key_PageUp, {}, 2, 0},
        {Qt::Key_R, {}, 2, 0},  // typing finds nothing
        {Qt::Key_End, Qt::ControlModifier, 12000, 0},
        {Qt::Key_PageDown, {}, 12000, 0},
        {Qt::Key_Home, Qt::ControlModifier, 1, 0},
        {Qt::Key_End, {}, 1, 1},
        {Qt::Key_Left, {}, 1, 2},
        {Qt::Key_Home, {}, 1, 0},
    };
    const int colonne = tabella->model()->columnCount();
    for (const auto& t : tasti) {
        QTest::keyClick(tabella, t.tasto, t.con);
        EXPECT_EQ(cella(tabella, tabella->currentIndex().row(), 0).toInt(), t.numero) << t.tasto;
        EXPECT_EQ(tabella->currentIndex().column(), t.colonna == 0 ? 0 : colonne - t.colonna)
            << t.tasto;
    }

    // Shift+click, Ctrl+click and a drag select rows; Ctrl+C copies them in order.
    const auto centro = [tabella](int riga) {
        return tabella->visualRect(tabella->model()->index(riga, 0)).center();
    };
    const auto copiate = [tabella] {
        QTest::keySequence(tabella, QKeySequence::Copy);
        QStringList numeri;
        for (const QString& r :
             QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts)) {
            numeri.append(r.section(u'\t', 0, 0));
        }
        return numeri.join(u',');
    };
    QWidget* area = tabella->viewport();
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, centro(2));
    EXPECT_EQ(copiate(), u"1,2,3"_s);
    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier, centro(1));
    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier, centro(5));
    EXPECT_EQ(copiate(), u"1,3,6"_s);
    QTest::mousePress(area, Qt::LeftButton, {}, centro(4));
    QTest::mouseMove(area, centro(7));
    QTest::mouseRelease(area, Qt::LeftButton, {}, centro(7));
    EXPECT_EQ(copiate(), u"5,6,7,8"_s);

    QTest::keyClick(tabella, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(controllo("filtroCodice"), u"RSS11"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return barra->maximum() == 1111 - schermata; }));
    EXPECT_EQ(barra->value(), 0);
    EXPECT_EQ(tabella->currentIndex().row(), 0);
    EXPECT_EQ(tabella->selectionModel()->selectedRows(),
              QModelIndexList{tabella->model()->index(0, 0)});
    // The filters' rules are the core's: here, that each control reaches the filter.
    controllo<QComboBox>("filtroTipo")->setCurrentIndex(2);  // violations only
    EXPECT_TRUE(QTest::qWaitFor([&] { return tabella->model()->rowCount() == 0; }));
    controllo<QComboBox>("filtroTipo")->setCurrentIndex(0);
    controllo<QLineEdit>("filtroCodice")->clear();
    EXPECT_TRUE(QTest::qWaitFor([&] { return barra->maximum() == 12000 - schermata; }));
}

// The second payment is the only one with no anomaly: its total is the sum of its parts.
TEST_F(FinestraTest, AClickOnAHeaderSortsTheListASecondReversesAndAnnullaKeepsIt) {
    apri({ordinario("BBBMRA70A01H501S"), pulito(), ordinario("AAAMRA70A01H501S")});
    mostra(1);
    QTableView* tabella = elenco();
    const auto numeri = [tabella] {
        QString n;
        for (int r = 0; r < tabella->model()->rowCount(); ++r) {
            n += cella(tabella, r, 0);
        }
        return n;
    };
    QHeaderView* intestazioni = tabella->horizontalHeader();
    const int cf = static_cast<int>(indice(ColonnaElenco::codiceFiscale));
    const auto clic = [intestazioni](int sezione) {
        QTest::mouseClick(intestazioni->viewport(), Qt::LeftButton, {},
                          QPoint(intestazioni->sectionViewportPosition(sezione) + 4, 4));
    };
    const QString ordinati = u"ordinati per Codice fiscale, in ordine decrescente"_s;
    clic(cf);
    EXPECT_TRUE(QTest::qWaitFor([&] { return numeri() == u"312"_s; }));
    EXPECT_EQ(intestazioni->sortIndicatorSection(), cf);
    clic(cf);
    EXPECT_TRUE(QTest::qWaitFor([&] { return numeri() == u"213"_s; }));
    EXPECT_EQ(intestazioni->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_TRUE(controllo<QLabel>("statoElenco")->text().endsWith(ordinati));
    // Printed in the order shown, every row.
    const QString pdf = inCartella(u"elenco.pdf"_s);
    dialoghi.attendiStampa(u"Stampa"_s, pdf).attendiLavoro(u"Stampa"_s);
    QApplication::setActiveWindow(controllo("FinestraElenco"));
    azione("azioneStampa")->trigger();
    const QString stampato = testoPdf(pdf);
    EXPECT_LT(stampato.indexOf(u"RSSMRA80A01H501U"_s), stampato.indexOf(u"AAAMRA70A01H501S"_s))
        << stampato;
    EXPECT_TRUE(stampato.contains(u"Pagina 1 di 1"_s)) << stampato;
    // Copied in the order shown; Enter shows the payment of the row.
    QTest::keyClick(tabella, Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(tabella, QKeySequence::Copy);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(u"2\t"_s));
    QTest::keyClick(tabella, Qt::Key_Down);
    QTest::keyClick(tabella, Qt::Key_Return);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 1.0);

    // Annulla while the order is found: the list and its arrow stay.
    clic(static_cast<int>(indice(ColonnaElenco::totale)));
    auto* annulla = controllo<QPushButton>("annullaElenco");
    ASSERT_TRUE(annulla->isVisible());
    QTest::mouseClick(annulla, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !annulla->isVisible(); }));
    EXPECT_EQ(numeri(), u"213"_s);
    EXPECT_EQ(intestazioni->sortIndicatorSection(), cf);
    EXPECT_EQ(controllo<QLabel>("statoElenco")->text(),
              u"Annullato: l'elenco è rimasto com'era · "_s + ordinati);
    // "Solo anomalie" reaches the filter; the order stays.
    controllo<QCheckBox>("filtroAnomalie")->setChecked(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return numeri() == u"13"_s; })) << numeri();
}

// The window and its views show the file open, whatever another program puts at
// its path: a change is asked about once; on Yes the file is opened again with its
// views; a file gone is said.
TEST_F(FinestraTest, AFileChangedOnDiskIsAskedAboutOnceAndOnYesOpenedAgainWithItsViews) {
    apri(numerati(5, "AAA"));
    const QString percorso = inCartella(u"iciview.out"_s);
    // Another program puts `n` payments, codici fiscali `prefisso`1 on, at the path.
    const auto sostituisci = [this](std::size_t n, const char* prefisso) {
        std::filesystem::rename(dir.scrivi("nuovo", numerati(n, prefisso)),
                                dir.file("iciview.out"));
    };
    const auto domanda = [&](Risposta risposta) {
        dialoghi.attendi(u"Il file di lavoro\r\n"_s + percorso +
                             u"\r\nè stato sostituito o modificato da un altro programma dopo "
                             "l'apertura.\r\nRiaprirlo? Con «No» la finestra e le viste "
                             "continuano a mostrare il file aperto prima."_s,
                         kTitoloPredefinito, Pulsanti::siNo, Icona::domanda, risposta);
    };
    // Double-clicks row 2 of the list on screen: its rows, and the codice fiscale shown.
    const auto scegli = [this] {
        eliminaChiuse();  // the lists closed
        auto* t = controllo<QTableView>("tabellaElenco");
        doppioClic(t, 2);
        return std::pair(t->model()->rowCount(), testo("Text3_1").trimmed());
    };
    const auto ritorno = [] {  // the program becomes the active one again
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QCoreApplication::processEvents();
    };
    sostituisci(3, "BBB");
    domanda(Risposta::no);
    elenco();  // on No, the window and the list go on with the file open
    EXPECT_EQ(scegli(), std::pair(5, u"AAA3"_s));
    ritorno();  // the same change is not asked about again
    dialoghi.verificaFine();
    sostituisci(4, "CCC");  // a new one is
    domanda(Risposta::si);
    ritorno();
    EXPECT_EQ(testo("Text5"), u"4"_s);
    EXPECT_EQ(scegli(), std::pair(4, u"CCC3"_s));
    // Gone before an export: said, and the export goes on with the file open.
    std::filesystem::remove(dir.file("iciview.out"));
    dialoghi
        .attendi(u"Il file di lavoro aperto non si trova più sul disco:\r\n"_s + percorso +
                     u": file o directory inesistente\r\nPer ora la finestra e le viste "
                     "continuano a mostrare il file aperto prima."_s,
                 kTitoloPredefinito, Pulsanti::ok, Icona::esclamazione)
        .attendiSalva(u"Crea File Excel"_s, u"Cartella di lavoro Excel (*.xlsx)"_s, QString());
    premi("cmdExcel");
}

TEST(SelezioneRighe, ClicksShiftAndCtrlClicksAsEveryListTakesThem) {
    // Steps: c = a click on a row, s = Shift+click, a = Ctrl+click, t = Ctrl+A on n rows.
    const struct {
        const char* passi;
        std::vector<TrattoRighe> attesi;
        std::vector<std::uint64_t> fuori;
    } casi[] = {
        {"c5", {{5, 5}}, {4, 6}},
        {"s7", {{7, 7}}, {}},                    // Shift with no anchor
        {"c5 s2 s8", {{5, 8}}, {2, 4}},          // the last Shift counts
        {"c1 a10 s12", {{1, 1}, {10, 12}}, {}},  // Shift from the last Ctrl+click
        {"c3 s6 a4", {{3, 3}, {5, 6}}, {4, 7}},  // Ctrl takes one out of the middle
        {"c3 s4 a4", {{3, 3}}, {4}},             // or off the edge
        {"c2 a3", {{2, 3}}, {}},                 // ranges that touch are one
        {"t10000000", {{0, 9'999'999}}, {10'000'000}},
        {"t0", {}, {0}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.passi);
        SelezioneRighe s;
        std::istringstream passi(c.passi);
        for (std::string p; passi >> p;) {
            const auto passo = p[0] == 'c'   ? &SelezioneRighe::scegli
                               : p[0] == 's' ? &SelezioneRighe::estendi
                               : p[0] == 'a' ? &SelezioneRighe::alterna
                                             : &SelezioneRighe::tutte;
            (s.*passo)(std::stoull(p.substr(1)));
        }
        EXPECT_EQ(s.tratti(), c.attesi);
        for (const TrattoRighe& t : c.attesi) {
            EXPECT_TRUE(s.contiene(t.first) && s.contiene(t.second)) << t.first;
        }
        for (const std::uint64_t r : c.fuori) {
            EXPECT_FALSE(s.contiene(r)) << r;
        }
    }
}

}  // namespace
}  // namespace pliventa::test
