// The Risconet conversion through the window: the two prompts, the output beside
// the input, the closing message, and the work file closed.
#include <QAbstractButton>
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
}

TEST_F(RisconetTest, AnInputThatCannotBeReadIsReportedBeforeTheCodeIsAsked) {
    const QString input = cartella() + QStringLiteral("/manca.txt");
    dialoghi.attendiInput(kPrompt, kTitolo, QString(), input)
        .attendi(QStringLiteral("Impossibile convertire il file.\r\n") + input +
                     QStringLiteral(": file o directory inesistente"),
                 kTitolo, Pulsanti::ok, Icona::esclamazione);
    premi("cmdUniriscossioni");
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"icimemofilecaliciv.txt"});
}

}  // namespace
}  // namespace pliventa::test
