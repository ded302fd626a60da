// The export button: what it asks, what it hands the core and what it tells.
#include <QComboBox>
#include <QRegularExpression>

#include <clocale>

#include "export/esportazione.h"
#include "finestra.h"
#include "libro_letto.h"

namespace pliventa::test {
namespace {

const QString kTitoloExcel = u"Crea File Excel"_s;
const QString kFiltro = u"Cartella di lavoro Excel (*.xlsx)"_s;

class EsportazioneTest : public FinestraTest {
protected:
    QString libro() const { return inCartella(u"libro.xlsx"_s); }
};

TEST_F(EsportazioneTest, FailureAndCancelLeaveNoBook) {
    // Enough payments for the workbook's packing to take a moment.
    apri(numerati(3000, "RSS"));
    // Cancelled at the dialog, which proposes a book named by the time: nothing done.
    dialoghi.attendiSalva(kTitoloExcel, kFiltro, QString());
    premi("cmdExcel");
    const QRegularExpression nome(
        u"^"_s + QRegularExpression::escape(cartella()) +
        u"/Estrazione \\d\\d-\\d\\d-\\d{4} \\d\\d\\.\\d\\d\\.\\d\\d\\.xlsx$"_s);
    EXPECT_TRUE(nome.match(dialoghi.proposte().at(0)).hasMatch()) << dialoghi.proposte().at(0);
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"});
    const QString annullata = u"Esportazione annullata: nessun file scritto"_s;
    const QString manca = inCartella(u"manca/libro.xlsx"_s);
    const struct {
        QString percorso;
        int annullaAllaFase;  ///< -1: not cancelled; 0: before it starts
        QString stato;
    } casi[] = {
        {manca, -1, u"Esportazione non riuscita"_s},
        {libro(), 0, annullata},
        // Cancelled while the workbook is packed: still no book, nothing opened.
        {libro(), static_cast<int>(FaseEsportazione::compressione), annullata},
    };
    for (const auto& c : casi) {
        dialoghi.attendiSalva(kTitoloExcel, kFiltro, c.percorso)
            .attendiLavoro(kTitoloExcel, c.annullaAllaFase == 0,
                           c.annullaAllaFase > 0 ? c.annullaAllaFase : -1);
        if (c.annullaAllaFase < 0) {
            dialoghi.attendi(u"Impossibile creare il file Excel.\r\n"_s + manca +
                                 u": file o directory inesistente"_s,
                             kTitoloExcel, Pulsanti::ok, Icona::esclamazione);
        }
        premi("cmdExcel");
        EXPECT_EQ(stato(), c.stato) << c.annullaAllaFase;
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"}) << c.annullaAllaFase;
    }
    EXPECT_TRUE(dialoghi.documenti().empty());
}

// The book as the window reads the work file, the payment shown kept; a sheet too
// small for every payment and cells mended are told.
TEST_F(EsportazioneTest, ExportsAsTheWindowReadsAndTellsAFullSheetAndMendedCells) {
    // What follows proves something only on an Italian desktop (tests/shell/main.cpp).
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "it_IT.UTF-8 is not installed";
    using namespace std::string_view_literals;
    apri({ordinario("RSS\0RA70A01H501U"sv), violazione(), ordinario()}, LetturaAtto::breve);
    mostra(2);
    controllo<QComboBox>("Combo1")->setEditText(u"L"_s);
    finestra->controllore().impostaRigheFoglio(4);  // headers, totals, two payments
    dialoghi.attendiSalva(kTitoloExcel, kFiltro, libro())
        .attendiLavoro(kTitoloExcel)
        .attendi(
            u"Il foglio contiene al massimo 2 versamenti: 1 versamenti non sono stati "
            "esportati."_s,
            kTitoloExcel, Pulsanti::ok, Icona::esclamazione)
        .attendiApertura(false)
        .attendi(
            u"Il file Excel è stato creato, ma nessun programma ha potuto aprirlo. Si "
            "trova in:\r\n"_s +
                libro(),
            kTitoloExcel, Pulsanti::ok, Icona::informazione);
    premi("cmdExcel");
    EXPECT_EQ(dialoghi.documenti(), std::vector<QString>{libro()});
    EXPECT_EQ(stato(), u"Versamenti esportati: 2 · "_s + libro() +
                           u" · esclusi perché il foglio è pieno: 1 · celle con caratteri nulli, "
                           "scritti come �: 1"_s);
    const LibroLetto l = leggiLibro(libro().toStdString());
    EXPECT_EQ(l["D3"], "n\t123456.0\t-\tGeneral");  // lire, as the currency box says
    EXPECT_EQ(l["K4"], "s\t123456\t-\tGeneral");    // the short notice of this work file
    EXPECT_EQ(finestra->sessione().recordcorrente(), 2.0);
    EXPECT_EQ(testo("Text4"), u"Vers. n. 2 (Violazione)"_s);
}

}  // namespace
}  // namespace pliventa::test
