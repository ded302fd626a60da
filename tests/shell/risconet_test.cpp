// The Risconet conversion through the window: the two prompts, the output beside
// the input, the closing message, and the work file closed.
#include <QAbstractButton>
#include <QAction>
#include <QTest>

#include "finestra.h"

namespace pliventa::test {
namespace {

const QString kPrompt = QStringLiteral("Inserisci percorso");
const QString kTitolo = QStringLiteral("Converti RiscoNet");
const QString kBelfiore = QStringLiteral("Inserisci Codice Belfiore Ente (A000)");

using RisconetTest = FinestraTest;

TEST_F(RisconetTest, ConvertsBesideTheInputWithTheCodeAsTyped) {
    std::filesystem::create_directory(dir.percorso() / "dati");
    const QString input =
        QString::fromStdString(dir.scrivi("dati/risconet.txt", "TESTA\r\n1;2003-07-15\r\n"));
    const QString output = cartella() + QStringLiteral("/dati/versunir.out");
    const struct {
        QString risposta;
        std::string colonne4a7;
    } casi[] = {
        {QStringLiteral("A000"), "A000"},
        {QString(), "    "},  // no code: blank
        {QStringLiteral("\u03A9"
                        "0001"),
         "?000"},  // not in the file's code page
    };
    QString proposta;
    for (const auto& c : casi) {
        apri({ordinario()});
        dialoghi.attendiInput(kPrompt, kTitolo, proposta, input)
            .attendiInput(kBelfiore, kTitolo, QString(), c.risposta)
            .attendiLavoro(kTitolo)
            .attendi(QStringLiteral("Elaborazione Terminata"), kTitoloPredefinito);
        premi("cmdUniriscossioni");
        proposta = input;
        EXPECT_EQ(testo(QStringLiteral("Text1")), input);
        EXPECT_EQ(testo(QStringLiteral("Text2")), output);
        EXPECT_EQ(leggiFile(output.toStdString()).substr(3, 4), c.colonne4a7);
        EXPECT_FALSE(finestra->sessione().aperto());  // browsing needs an import now
    }
    // The converted file is the last work file made: "Riapri" opens it.
    controllo<QAction>(QStringLiteral("azioneRiapri"))->trigger();
    ASSERT_TRUE(finestra->sessione().aperto());
    EXPECT_EQ(finestra->sessione().archivio()->percorso(), output.toStdString());
    EXPECT_EQ(testo(QStringLiteral("Text2")), output);
}

TEST_F(RisconetTest, AConversionThatFailsOrIsCancelledOpensThePreviousWorkFileAgain) {
    std::filesystem::create_directory(dir.percorso() / "dati");
    const QString input =
        QString::fromStdString(dir.scrivi("dati/risconet.txt", "TESTA\r\n1;2003-07-15\r\n"));
    const QString manca = cartella() + QStringLiteral("/manca.txt");
    enum class Come { inputIlleggibile, annullata, outputNonScrivibile };
    QString proposta;
    for (const Come come : {Come::inputIlleggibile, Come::annullata, Come::outputNonScrivibile}) {
        apri({ordinario(), violazione()});
        mostra(2);
        const QString risposta = come == Come::inputIlleggibile ? manca : input;
        dialoghi.attendiInput(kPrompt, kTitolo, proposta, risposta);
        proposta = risposta;
        if (come == Come::inputIlleggibile) {
            // Said before the code is asked for: no input box for it is scripted.
            dialoghi.attendi(QStringLiteral("Impossibile convertire il file.\r\n") + manca +
                                 QStringLiteral(": file o directory inesistente"),
                             kTitolo, Pulsanti::ok, Icona::esclamazione);
        } else {
            dialoghi.attendiInput(kBelfiore, kTitolo, QString(), QStringLiteral("A000"))
                .attendiLavoro(kTitolo, come == Come::annullata);
        }
        if (come == Come::outputNonScrivibile) {
            dialoghi.attendiQualsiasi(kTitolo, Pulsanti::ok, Icona::esclamazione);
            std::filesystem::create_directory(dir.percorso() / "dati" / "versunir.out");
        }
        premi("cmdUniriscossioni");
        const int caso = static_cast<int>(come);
        ASSERT_TRUE(finestra->sessione().aperto()) << caso;
        EXPECT_EQ(finestra->sessione().recordcorrente(), 2.0) << caso;
        EXPECT_EQ(testo(QStringLiteral("Text2")), QString()) << caso;  // as before
        premi("cmdIndietro");
        EXPECT_EQ(testo(QStringLiteral("Text4")), QStringLiteral("Vers. n. 1")) << caso;
        EXPECT_TRUE(controllo<QAction>(QStringLiteral("azioneElenco"))->isEnabled()) << caso;
    }
    // Nothing converted: "Riapri" has nothing to offer.
    EXPECT_FALSE(controllo<QAction>(QStringLiteral("azioneRiapri"))->isEnabled());
}

// The code is checked before the conversion: a line break in it would break
// every converted line.
TEST_F(RisconetTest, ACodeWithControlCharactersIsRefused) {
    const QString input = QString::fromStdString(dir.scrivi("r.txt", "TESTA\r\n1;2003-07-15\r\n"));
    dialoghi.attendiInput(kPrompt, kTitolo, QString(), input)
        .attendiInput(kBelfiore, kTitolo, QString(), QStringLiteral("A\n0\r"))
        .attendi(QStringLiteral("Impossibile convertire il file.\r\nil codice Belfiore contiene "
                                "caratteri di controllo (a capo, tabulazioni o simili)"),
                 kTitolo, Pulsanti::ok, Icona::esclamazione);
    premi("cmdUniriscossioni");
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{"icimemofilecaliciv.txt", "r.txt"}));
}

}  // namespace
}  // namespace pliventa::test
