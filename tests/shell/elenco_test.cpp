// The payments list: its rows, keys, scroll bar, filter and order, wired to the
// core's list; the filter's and the order's rules are the core's.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

#include "browse/elenco.h"
#include "viste.h"

namespace pliventa::test {
namespace {

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
    // The keys move the current row over the whole list, as in any table.
    const auto numero = [tabella] {
        return tabella->model()->index(tabella->currentIndex().row(), 0).data().toInt();
    };
    const struct {
        Qt::Key tasto;
        Qt::KeyboardModifiers con;
        int atteso;
    } tasti[] = {
        {Qt::Key_Home, Qt::ControlModifier, 1},
        {Qt::Key_Up, {}, 1},
        {Qt::Key_PageDown, {}, 1 + schermata},
        {Qt::Key_Down, {}, 2 + schermata},
        {Qt::Key_PageUp, {}, 2},
        {Qt::Key_R, {}, 2},  // typing finds nothing
        {Qt::Key_End, Qt::ControlModifier, 12000},
        {Qt::Key_PageDown, {}, 12000},
        {Qt::Key_Home, Qt::ControlModifier, 1},
    };
    for (const auto& t : tasti) {
        QTest::keyClick(tabella, t.tasto, t.con);
        EXPECT_EQ(numero(), t.atteso) << t.tasto;
    }
    QTest::keyClick(tabella, Qt::Key_End);
    EXPECT_EQ(tabella->currentIndex().column(), tabella->model()->columnCount() - 1);
    QTest::keyClick(tabella, Qt::Key_Left);
    EXPECT_EQ(tabella->currentIndex().column(), tabella->model()->columnCount() - 2);
    QTest::keyClick(tabella, Qt::Key_Home);
    EXPECT_EQ(tabella->currentIndex().column(), 0);

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
    EXPECT_EQ(copiate(), QStringLiteral("1,2,3"));
    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier, centro(1));
    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier, centro(5));
    EXPECT_EQ(copiate(), QStringLiteral("1,3,6"));
    QTest::mousePress(area, Qt::LeftButton, {}, centro(4));
    QTest::mouseMove(area, centro(7));
    QTest::mouseRelease(area, Qt::LeftButton, {}, centro(7));
    EXPECT_EQ(copiate(), QStringLiteral("5,6,7,8"));

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
    // Printed in the order shown, every row.
    const QString pdf = QDir(cartella()).filePath(QStringLiteral("elenco.pdf"));
    dialoghi.attendiStampa(QStringLiteral("Stampa"), pdf).attendiLavoro(QStringLiteral("Stampa"));
    QApplication::setActiveWindow(vista<QWidget>("FinestraElenco"));
    azione("azioneStampa")->trigger();
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    const QString stampato = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_LT(stampato.indexOf(QStringLiteral("CCCMRA70A01H501S")),
              stampato.indexOf(QStringLiteral("AAAMRA70A01H501S")))
        << stampato.toStdString();
    EXPECT_TRUE(stampato.contains(QStringLiteral("Pagina 1 di 1"))) << stampato.toStdString();
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

}  // namespace
}  // namespace pliventa::test
