// File › Importa più file…: the choice, the layouts found shown, the Belfiore code
// for a Risconet export, one work file, the counts; and a cancel.
#include <QAction>
#include <QStatusBar>

#include "finestra.h"

namespace pliventa::test {
namespace {

const QString kTitolo = QStringLiteral("Importa più file");

class ImportaPiuTest : public FinestraTest {
protected:
    static QString campione(const char* nome) {
        return QStringLiteral(PLIVENTA_SAMPLES_DIR "/") + QString::fromLatin1(nome);
    }
    void importaPiu() { controllo<QAction>(QStringLiteral("azioneImportaPiuFile"))->trigger(); }
};

TEST_F(ImportaPiuTest, TheLayoutsFoundAreShownAndTheFilesBecomeOneWorkFile) {
    const QString corto = QString::fromStdString(dir.scrivi("corto.txt", "3\r\n"));
    const QStringList file = {campione("cnc2000.txt"), corto, campione("risconet.txt")};
    // The clerk names the layout of the file that could not be told.
    dialoghi.attendiScelta(kTitolo, file)
        .attendiTracciati(kTitolo, {Formato::cnc2000, std::nullopt, Formato::risconet},
                          std::vector{Formato::cnc2000, Formato::cnc2000, Formato::risconet})
        .attendiInput(QStringLiteral("Inserisci Codice Belfiore Ente (A000)"), kTitolo, QString(),
                      QStringLiteral("H501"))
        .attendiLavoro(kTitolo)
        .attendi(QStringLiteral("Preparazione terminata"), kTitolo);
    importaPiu();
    EXPECT_EQ(dialoghi.fileMostrati().at(1).motivo,
              QStringLiteral("nessuna riga di versamento riconoscibile nelle prime righe"));
    // 36 payments of the ANCI-CNC 2000 sample, 29 of the Risconet one.
    EXPECT_EQ(leggiFile(dir.file("iciview.out")).size(), 65u * 202);
    EXPECT_EQ(testo(QStringLiteral("Text2")), cartella() + QStringLiteral("/iciview.out"));
    EXPECT_EQ(testo(QStringLiteral("Text5")), QStringLiteral("65"));
    EXPECT_TRUE(stato().startsWith(
        QStringLiteral("File importati: 3 · Versamenti importati: 65 · righe scartate: 6")))
        << stato();
}

TEST_F(ImportaPiuTest, ACancelLeavesTheWorkFileAsItWas) {
    apri({violazione()});
    const std::string prima = leggiFile(dir.file("iciview.out"));
    const QStringList file = {campione("cnc2000.txt")};
    dialoghi.attendiScelta(kTitolo, file)
        .attendiTracciati(kTitolo, {Formato::cnc2000}, std::vector{Formato::cnc2000})
        .attendiLavoro(kTitolo, true);
    importaPiu();
    EXPECT_EQ(leggiFile(dir.file("iciview.out")), prima);
    EXPECT_EQ(stato(), QStringLiteral("Importazione annullata"));
    EXPECT_TRUE(finestra->sessione().aperto());
}

}  // namespace
}  // namespace pliventa::test
