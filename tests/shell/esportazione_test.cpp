// The export button: what it asks, what it hands the core and what it tells.
#include <QAbstractButton>
#include <QComboBox>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

#include <clocale>

#include "export/esportazione.h"
#include "finestra.h"
#include "libro_letto.h"

namespace pliventa::test {
namespace {

const QString kTitoloExcel = QStringLiteral("Crea File Excel");
const QString kFiltro = QStringLiteral("Cartella di lavoro Excel (*.xlsx)");

class EsportazioneTest : public FinestraTest {
protected:
    void esporta() { premi("cmdExcel"); }
    QString libro() const { return cartella() + QStringLiteral("/libro.xlsx"); }
};

TEST_F(EsportazioneTest, ProposesATimestampedBookAndCancellingDoesNothing) {
    apri({ordinario()});
    dialoghi.attendiSalva(kTitoloExcel, kFiltro, QString());
    esporta();
    ASSERT_EQ(dialoghi.proposte().size(), 1u);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(cartella()) +
                                   QStringLiteral("/Estrazione \\d\\d-\\d\\d-\\d{4} "
                                                  "\\d\\d\\.\\d\\d\\.\\d\\d\\.xlsx$"))
                    .match(dialoghi.proposte()[0])
                    .hasMatch())
        << dialoghi.proposte()[0];
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"});
}

TEST_F(EsportazioneTest, ExportsAsTheWindowReadsAndKeepsThePaymentShown) {
    // What follows proves something only on an Italian desktop (tests/shell/main.cpp).
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "it_IT.UTF-8 is not installed";
    apri({ordinario(), violazione()}, LetturaAtto::breve);
    mostra(2);
    controllo<QComboBox>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("L"));
    dialoghi.attendiSalva(kTitoloExcel, kFiltro, libro())
        .attendiLavoro(kTitoloExcel)
        .attendiApertura(false)
        .attendi(QStringLiteral("Il file Excel è stato creato, ma nessun programma ha potuto "
                                "aprirlo. Si trova in:\r\n") +
                     libro(),
                 kTitoloExcel, Pulsanti::ok, Icona::informazione);
    esporta();
    EXPECT_EQ(dialoghi.documenti(), std::vector<QString>{libro()});
    EXPECT_EQ(stato(), QStringLiteral("Versamenti esportati: 2 · ") + libro());
    const LibroLetto l = leggiLibro(libro().toStdString());
    EXPECT_EQ(l["D3"], "n\t123456.0\t-\tGeneral");  // lire, as the currency box says
    EXPECT_EQ(l["K4"], "s\t123456\t-\tGeneral");    // the short notice of this work file
    EXPECT_EQ(finestra->sessione().recordcorrente(), 2.0);
    EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 2 (Violazione)"));
}

TEST_F(EsportazioneTest, FailureAndCancelLeaveNoBook) {
    // Enough payments for the workbook's packing to take a moment.
    const QString archivio =
        QString::fromStdString(dir.scrivi("iciview.out", numerati(3000, "RSS")));
    ASSERT_TRUE(finestra->apriArchivio(archivio, LetturaAtto::lunga).ok());
    const QString annullata = QStringLiteral("Esportazione annullata: nessun file scritto");
    const struct {
        QString percorso;
        int annullaAllaFase;  ///< -1: not cancelled; 0: before it starts
        QString messaggio;    ///< empty: none
        QString stato;
    } casi[] = {
        {cartella() + QStringLiteral("/manca/libro.xlsx"), -1,
         QStringLiteral("Impossibile creare il file Excel.\r\n") + cartella() +
             QStringLiteral("/manca/libro.xlsx: file o directory inesistente"),
         QStringLiteral("Esportazione non riuscita")},
        {libro(), 0, QString(), annullata},
        // Cancelled while the workbook is packed: still no book, nothing opened.
        {libro(), static_cast<int>(FaseEsportazione::compressione), QString(), annullata},
    };
    for (const auto& c : casi) {
        dialoghi.attendiSalva(kTitoloExcel, kFiltro, c.percorso);
        if (c.annullaAllaFase > 0) {
            dialoghi.attendiLavoroAnnullatoAllaFase(kTitoloExcel, c.annullaAllaFase);
        } else {
            dialoghi.attendiLavoro(kTitoloExcel, c.annullaAllaFase == 0);
        }
        if (!c.messaggio.isEmpty()) {
            dialoghi.attendi(c.messaggio, kTitoloExcel, Pulsanti::ok, Icona::esclamazione);
        }
        esporta();
        EXPECT_EQ(stato(), c.stato) << c.annullaAllaFase;
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"}) << c.annullaAllaFase;
    }
    EXPECT_TRUE(dialoghi.documenti().empty());
}

TEST_F(EsportazioneTest, AFullSheetAndMendedCellsAreTold) {
    using namespace std::string_view_literals;
    apri({ordinario("RSS\0RA70A01H501U"sv), ordinario(), violazione()});
    finestra->controllore().impostaRigheFoglio(4);  // headers, totals, two payments
    dialoghi.attendiSalva(kTitoloExcel, kFiltro, libro())
        .attendiLavoro(kTitoloExcel)
        .attendi(QStringLiteral("Il foglio contiene al massimo 2 versamenti: 1 versamenti non "
                                "sono stati esportati."),
                 kTitoloExcel, Pulsanti::ok, Icona::esclamazione)
        .attendiApertura(true);
    esporta();
    EXPECT_EQ(stato(), QStringLiteral("Versamenti esportati: 2 · ") + libro() +
                           QStringLiteral(" · esclusi perché il foglio è pieno: 1 · celle con "
                                          "caratteri nulli, scritti come �: 1"));
}

}  // namespace
}  // namespace pliventa::test
