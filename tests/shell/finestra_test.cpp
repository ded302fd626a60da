// The main window: the record display in its two layouts, the navigation buttons
// and their keys, the currency, the search by codice fiscale, the guide, the exit;
// and the export button: what it asks, what it hands the core and what it tells.
#include <QComboBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <clocale>

#include "finestra.h"
#include "libro_letto.h"
#include "shell/finestra_guida.h"
#include "shell/viste.h"

namespace pliventa::test {
namespace {

// Before any import every navigation button says to open a file; after, buttons and
// keys, these also from a text box, move to the payment they name (that a move stays
// inside the file is the session's rule). "Esci" and closing the window end the program.
TEST_F(FinestraTest, ButtonsAndTheirKeysMoveThroughTheFileInTheCurrencyTyped) {
    for (const char* pulsante : {"cmdInizio", "cmdIndietro", "cmdAvanti", "cmdFine"}) {
        dialoghi.attendi(u"Aprire un file prima di effettuare ricerche"_s, kTitoloPredefinito);
        premi(pulsante);
        EXPECT_EQ(testo("Text4"), u"0"_s) << pulsante;
        EXPECT_EQ(testo("Text3_1"), QString()) << pulsante;
    }
    apri(
        {ordinario("CF1"), ordinario("CF2"), ordinario("CF3"), ordinario("CF4"), ordinario("CF5")});
    mostra(1);
    attiva();
    QWidget* cf = controllo("Text3_1");
    QWidget* ricerca = controllo("cmdRicerca");
    const struct {
        const char* pulsante;  ///< or nullptr: the key `tasto` on `fuoco`
        QWidget* fuoco;
        Qt::Key tasto;
        Qt::KeyboardModifiers modificatori;
        int atteso;
    } passi[] = {
        {"cmdAvanti", nullptr, {}, {}, 2},
        {"cmdFine", nullptr, {}, {}, 5},
        {"cmdIndietro", nullptr, {}, {}, 4},
        {"cmdInizio", nullptr, {}, {}, 1},
        {nullptr, cf, Qt::Key_PageDown, Qt::NoModifier, 2},
        {nullptr, cf, Qt::Key_PageUp, Qt::NoModifier, 1},
        {nullptr, cf, Qt::Key_End, Qt::ControlModifier, 5},
        {nullptr, cf, Qt::Key_Home, Qt::ControlModifier, 1},
        {nullptr, ricerca, Qt::Key_End, Qt::NoModifier, 5},
    };
    for (const auto& p : passi) {
        SCOPED_TRACE(testing::Message() << (p.pulsante != nullptr ? p.pulsante : "") << p.tasto);
        if (p.pulsante != nullptr) {
            premi(p.pulsante);
        } else {
            p.fuoco->setFocus();
            QTest::keyClick(p.fuoco, p.tasto, p.modificatori);
        }
        EXPECT_EQ(testo("Text4"), u"Vers. n. %1"_s.arg(p.atteso));
        EXPECT_EQ(testo("Text3_1").trimmed(), u"CF%1"_s.arg(p.atteso));
        EXPECT_EQ(finestra->sessione().recordcorrente(), p.atteso);
    }
    // The currency is read as typed; leaving its box for a button shows the payment again.
    auto* combo = controllo<QComboBox>("Combo1");
    for (const char* digitato : {"e", "E", ""}) {
        combo->setFocus();
        combo->clearEditText();
        QTest::keyClicks(combo, QString::fromLatin1(digitato));
        QTest::keyClick(combo, Qt::Key_Return);
        premi("cmdAvanti");
        EXPECT_EQ(combo->currentText(), QString::fromLatin1(digitato));
        EXPECT_EQ(testo("Text3_3"), *digitato == 'E' ? u"1.234,56"_s : u"123.456"_s) << digitato;
        EXPECT_EQ(combo->count(), 2) << digitato;
    }

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

// The search by the beginning of the codice fiscale, typed in its box: a scan with
// no Yes goes back to the payment shown before; a Yes ends on the one chosen.
TEST_F(FinestraTest, SearchOffersEachMatchInItsLayoutAndEndsOnTheOneChosen) {
    // Records 2 (ordinary) and 4 (violation) begin with RSS; the last is a violation.
    const QString candidati[] = {u"RSSMRA70A01H501U"_s, u"RSSLGU60B02F205X"_s};
    apri({ordinario("AAAAAA70A01H501U"), ordinario(candidati[0].toStdString()),
          ordinario("BNCLCU80C03L219K"), violazione(candidati[1].toStdString()),
          violazione("ZZZZZZ60B02F205X")});
    const struct {
        const char* digitato;
        std::string_view risposte;  ///< one a candidate offered: n = No, s = Yes
        QString stato;
    } casi[] = {
        {"xyz", "", u"Nessun versamento trovato"_s},
        {"  rss ", "nn", u"Ricerca terminata: 2 versamenti proposti, nessuno scelto"_s},
        {"rss", "ns", u"Versamento n. 4 scelto dalla ricerca"_s},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.digitato);
        mostra(2);
        const QString cercato = QString::fromLatin1(c.digitato).toUpper();  // spaces kept
        dialoghi.attendi(u"Ricerco versamenti con Codice Fiscale che inizia per\r\n"_s + cercato,
                         u"Ricerca Versamenti Pliventa"_s);
        for (std::size_t i = 0; i < c.risposte.size(); ++i) {
            dialoghi.attendi(u"Trovato il contribuente!\r\n"_s + candidati[i] + u"\r\nE' Lui?"_s,
                             kTitoloPredefinito, Pulsanti::siNo, Icona::nessuna,
                             c.risposte[i] == 's' ? Risposta::si : Risposta::no,
                             [this, i, &candidati] {
                                 // The candidate in its own layout.
                                 EXPECT_EQ(testo("Text4"), i == 0 ? u"2"_s : u"4 (Violazione)"_s);
                                 EXPECT_EQ(testo("Text3_1"), candidati[i]);
                                 EXPECT_EQ(visibile("Text3_10"), i == 0);
                             });
        }
        controllo<QLineEdit>("Text3_1")->setText(QString::fromLatin1(c.digitato));
        premi("cmdRicerca");
        // With no Yes the window stays ordinary, though the last record is a violation.
        const bool scelto = c.risposte.ends_with('s');
        EXPECT_EQ(finestra->sessione().recordcorrente(), scelto ? 4.0 : 2.0);
        EXPECT_EQ(testo("Text4"), scelto ? u"4 (Violazione)"_s : u"Vers. n. 2"_s);
        EXPECT_EQ(testo("Text3_1"), scelto ? candidati[1] : cercato);
        EXPECT_EQ(visibile("Text3_10"), !scelto);
        EXPECT_EQ(stato(), c.stato);
    }
    premi("cmdAvanti");  // browsing goes on from the payment found
    EXPECT_EQ(testo("Text4"), u"Vers. n. 5 (Violazione)"_s);
}

// The guide's text is its own; here, that F1 shows it, loaded, beside the window.
TEST_F(FinestraTest, F1OpensTheGuideOnceBesideTheWindow) {
    attiva();
    QTest::keyClick(finestra.get(), Qt::Key_F1);
    auto* guida = controllo<FinestraGuida>("FinestraGuida");
    EXPECT_TRUE(guida->isVisible());
    EXPECT_FALSE(guida->isModal());
    EXPECT_TRUE(guida->testo().contains(u"Scegli file"_s)) << guida->testo();
    // Asked for again, the same guide comes to the front.
    QTest::keyClick(finestra.get(), Qt::Key_F1);
    EXPECT_EQ(finestra->findChildren<FinestraGuida*>().size(), 1);
}

const QString kTitoloExcel = u"Crea File Excel"_s;
const QString kFiltro = u"Cartella di lavoro Excel (*.xlsx)"_s;

using EsportazioneTest = FinestraTest;

// A cancel at the dialog (which proposes a book named by the time), a failure and a
// cancel of the work leave no book. The book holds what the boxes show, in either
// layout; the payment shown is kept; a full sheet and cells mended are told.
TEST_F(EsportazioneTest, ExportsAsTheWindowReadsAndTellsAFullSheetAndMendedCellsOrLeavesNoBook) {
    const QString libro = inCartella(u"libro.xlsx"_s);
    apri(numerati(3, "RSS"));
    dialoghi.attendiSalva(kTitoloExcel, kFiltro, QString());
    premi("cmdExcel");
    const QRegularExpression nome(
        u"^"_s + QRegularExpression::escape(cartella()) +
        u"/Estrazione \\d\\d-\\d\\d-\\d{4} \\d\\d\\.\\d\\d\\.\\d\\d\\.xlsx$"_s);
    EXPECT_TRUE(nome.match(dialoghi.proposte().at(0)).hasMatch()) << dialoghi.proposte().at(0);
    const QString manca = inCartella(u"manca/libro.xlsx"_s);
    for (const bool annulla : {false, true}) {
        dialoghi.attendiSalva(kTitoloExcel, kFiltro, annulla ? libro : manca)
            .attendiLavoro(kTitoloExcel, annulla);
        if (!annulla) {
            dialoghi.attendi(u"Impossibile creare il file Excel.\r\n"_s + manca +
                                 u": file o directory inesistente"_s,
                             kTitoloExcel, Pulsanti::ok, Icona::esclamazione);
        }
        premi("cmdExcel");
        EXPECT_EQ(stato(), annulla ? u"Esportazione annullata: nessun file scritto"_s
                                   : u"Esportazione non riuscita"_s);
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"}) << annulla;
    }
    EXPECT_TRUE(dialoghi.documenti().empty());

    // What follows proves something only on an Italian desktop (tests/shell/main.cpp).
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "it_IT.UTF-8 is not installed";
    using namespace std::string_view_literals;
    apri({ordinario("RSS\0RA70A01H501U"sv), violazione(), ordinario()}, LetturaAtto::breve);
    // The year and its caption show on an ordinary payment, the notice on a violation.
    const char* const annoPoiAtto[] = {"Text3_10", "label1_10", "Text3_9",
                                       "Text3_11", "label1_11", "label1_12"};
    for (const double record : {2, 3, 2}) {
        mostra(record);
        const bool ordinario = record == 3;
        EXPECT_EQ(testo("Text4"), ordinario ? u"Vers. n. 3"_s : u"Vers. n. 2 (Violazione)"_s);
        for (std::size_t k = 0; k < 6; ++k) {
            EXPECT_EQ(visibile(annoPoiAtto[k]), (k < 2) == ordinario) << annoPoiAtto[k] << record;
        }
        EXPECT_TRUE(visibile("Text3_2") && visibile("Text3_8")) << record;
        // Four captions are the violation's own, the ordinary ones back after it.
        for (int k = 4; k <= 7; ++k) {
            const QString didascalia = controllo<QLabel>(u"label1_%1"_s.arg(k))->text();
            EXPECT_EQ(didascalia == daUtf8(kDidascalie[k]), ordinario) << k << didascalia;
        }
    }
    mostra(2, FormaNumero::soloNumero);
    EXPECT_EQ(testo("Text3_11"), u"78/93/1122"_s);
    EXPECT_EQ(testo("Text4"), u"2 (Violazione)"_s);
    mostra(2);
    controllo<QComboBox>("Combo1")->setEditText(u"L"_s);
    finestra->controllore().impostaRigheFoglio(4);  // headers, totals, two payments
    dialoghi.attendiSalva(kTitoloExcel, kFiltro, libro)
        .attendiLavoro(kTitoloExcel)
        .attendi(
            u"Il foglio contiene al massimo 2 versamenti: 1 versamenti non sono stati "
            "esportati."_s,
            kTitoloExcel, Pulsanti::ok, Icona::esclamazione)
        .attendiApertura(false)
        .attendi(
            u"Il file Excel è stato creato, ma nessun programma ha potuto aprirlo. Si "
            "trova in:\r\n"_s +
                libro,
            kTitoloExcel, Pulsanti::ok, Icona::informazione);
    premi("cmdExcel");
    EXPECT_EQ(dialoghi.documenti(), std::vector<QString>{libro});
    EXPECT_EQ(stato(), u"Versamenti esportati: 2 · "_s + libro +
                           u" · esclusi perché il foglio è pieno: 1 · celle con caratteri nulli, "
                           "scritti come �: 1"_s);
    const LibroLetto l = leggiLibro(libro.toStdString());
    EXPECT_EQ(l["D3"], "n\t123456.0\t-\tGeneral");  // lire, as the currency box says
    EXPECT_EQ(l["K4"], "s\t123456\t-\tGeneral");    // the short notice of this work file
    EXPECT_EQ(finestra->sessione().recordcorrente(), 2.0);
    EXPECT_EQ(testo("Text4"), u"Vers. n. 2 (Violazione)"_s);
}

}  // namespace
}  // namespace pliventa::test
