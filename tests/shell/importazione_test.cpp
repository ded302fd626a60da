// The imports and the Risconet conversion through the window: prompt and memo (and
// the chooser that writes it), work file, count, first payment, status line; what
// an input that cannot be read, a cancel or a signal leaves behind; and the window
// taking no input but the progress dialog's while the work runs.
#include <QComboBox>
#include <QListWidget>
#include <QProgressDialog>
#include <QSignalSpy>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "fifo.h"
#include "finestra.h"
#include "shell/frmdirfiles.h"
#include "shell/segnali.h"

namespace pliventa::test {
namespace {

const QString kPrompt = u"Inserisci percorso"_s;
const QString kTitoloCnc = u"Visualizza Files Versamenti CNC"_s;
const QString kFinito = u"Preparazione terminata"_s;
const QString kTitoloPiu = u"Importa più file"_s;
const QString kTitoloRisconet = u"Converti RiscoNet"_s;
const QString kBelfiore = u"Inserisci Codice Belfiore Ente (A000)"_s;

QString campione(const char* nome) {
    return QStringLiteral(PLIVENTA_SAMPLES_DIR "/") + QString::fromLatin1(nome);
}

class ImportazioneTest : public FinestraTest {
protected:
    std::string memo(const char* nome = "icimemofilepliventa.txt") const {
        return leggiFile(dir.file(nome));
    }
    std::string archivio() const { return leggiFile(dir.file("iciview.out")); }

    /// An ANCI-CNC 2000 file: header, payments of types 3, 6, 3, trailer.
    QString fileCnc(const char* nome = "vers.txt") const {
        return scrivi(nome, "TESTATA\r\n" + ordinario().str() + "\r\n" + violazione().str() +
                                "\r\n" + ordinario("BNCLCU80C03L219K").str() + "\r\nCODA\r\n");
    }
    /// Imports `input` with cmdApri, proposing `proposta`; `durante` runs while the
    /// work is in hand.
    void importaCnc(
        const QString& input, const QString& proposta = {},
        DialoghiFinti::Durante durante = [] {}) {
        dialoghi.attendiInput(kPrompt, kTitoloCnc, proposta, input)
            .attendiLavoro(kTitoloCnc, false, std::move(durante))
            .attendi(kFinito, kTitoloCnc);
        premi("cmdApri");
    }
};

// The memo's path is proposed trimmed; the status line counts the lines padded and
// cut; a second import replaces the work file, keys, buttons and menus waiting while
// it runs; a cancel at the prompt ends the program and leaves an empty memo line.
TEST_F(ImportazioneTest, RememberedPathIsProposedTrimmedAndTheStatusLineCounts) {
    // A line too short, one too long, one not a payment.
    const QString primo = scrivi("primo.txt", ordinario("CORTA").str().substr(0, 150) + "\n" +
                                                  ordinario("LUNGA").str() + "eccedenza\nCODA\n");
    dir.scrivi("icimemofilepliventa.txt", "   " + primo.toStdString() + "   \r\n");
    importaCnc(primo, primo);
    EXPECT_EQ(stato(),
              u"Versamenti importati: 2 · righe scartate: 1 · righe completate con "
              "spazi: 1 · righe troncate: 1"_s);

    attiva();
    const auto nessunEffetto = [this] {
        // Each would show a message or move the record shown: none comes, the
        // scripted dialogs would fail on it.
        QTest::keyClick(finestra.get(), Qt::Key_PageDown);
        QTest::keyClick(finestra.get(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(finestra.get(), Qt::Key_H, Qt::AltModifier);
        premi("cmdAvanti");
        premi("cmdExcel");
        EXPECT_EQ(testo("Text4"), u"Vers. n. 1"_s);
    };
    importaCnc(scrivi("secondo.txt", violazione("SECONDO").str() + "\r\n"), primo, nessunEffetto);
    EXPECT_EQ(archivio(), violazione("SECONDO").record());
    EXPECT_EQ(testo("Text5"), u"1"_s);
    EXPECT_EQ(testo("Text4"), u"Vers. n. 1 (Violazione)"_s);
    // Once it has ended the window answers again.
    QTest::keyClick(finestra.get(), Qt::Key_PageDown);
    EXPECT_EQ(finestra->sessione().recordcorrente(), 1.0);  // a one-payment file
    EXPECT_TRUE(controllo("cmdApri")->isEnabled());

    QSignalSpy fine(finestra.get(), &frmView::terminaProgramma);
    dialoghi.attendiInput(kPrompt, kTitoloCnc, inCartella(u"secondo.txt"_s), QString());
    premi("cmdApri");
    EXPECT_EQ(fine.count(), 1);
    EXPECT_EQ(memo(), "\r\n");
    EXPECT_EQ(archivio(), violazione("SECONDO").record());
}

// Each import has its prompt, memo, work file and closing title. An input that cannot
// be read, and a cancel: the work file and the payment shown stay, and browsing goes
// on from it. The reasons are the reader's tests.
TEST_F(ImportazioneTest, FailureAndCancelLeaveTheWorkFileAndTheWindowAsTheyWere) {
    const QString f24 = u"Visualizza Files Versamenti F24"_s;  // its own closing title too
    const struct {
        const char* pulsante;
        const char* memo;
        QString titolo;
        const char* archivio;
    } casi[] = {
        {"cmdApri", "icimemofilepliventa.txt", kTitoloCnc, "iciview.out"},
        {"cmd1997", "icimemofilepliventa97.txt", kTitoloCnc + u" - Tracciato 1997"_s,
         "iciview97.out"},
        {"cmdViol", "icimemofilepliventav.txt", kTitoloCnc + u" Viol97"_s, "iciview.out"},
        {"Command3", "icimemofilepliventa.txt", f24, "iciview.out"},
    };
    for (const auto& c : casi) {
        const QString input = scrivi(c.pulsante, "");  // one input file per button
        dir.scrivi(c.memo, "");
        dialoghi.attendiInput(kPrompt, c.titolo, QString(), input)
            .attendiLavoro(c.titolo)
            .attendi(kFinito, c.titolo == f24 ? f24 : kTitoloCnc);
        premi(c.pulsante);
        EXPECT_EQ(memo(c.memo), input.toStdString() + "\r\n") << c.pulsante;
        EXPECT_EQ(testo("Text2"), inCartella(QString::fromLatin1(c.archivio))) << c.pulsante;
        EXPECT_EQ(testo("Text5"), u"0"_s) << c.pulsante;
    }
    const QString buono = fileCnc();
    importaCnc(buono, inCartella(u"Command3"_s));
    const std::string prima = archivio();
    const QString manca = inCartella(u"manca.txt"_s);
    for (const bool annulla : {false, true}) {
        mostra(2);
        const QString input = annulla ? fileCnc("altro.txt") : manca;
        dialoghi.attendiInput(kPrompt, kTitoloCnc, annulla ? manca : buono, input)
            .attendiLavoro(kTitoloCnc, annulla);
        if (!annulla) {
            dialoghi.attendi(u"Impossibile importare il file.\r\n"_s + manca +
                                 u": file o directory inesistente"_s,
                             kTitoloCnc, Pulsanti::ok, Icona::esclamazione);
        }
        premi("cmdApri");
        // The input named, kept by a failure; a cancel leaves the one named before. The
        // memo keeps the input named either way.
        EXPECT_EQ(testo("Text1"), manca);
        EXPECT_EQ(memo(), input.toStdString() + "\r\n");
        EXPECT_TRUE(stato().startsWith(annulla ? u"Importazione annullata"_s
                                               : u"Importazione non riuscita: "_s + manca))
            << stato();
        EXPECT_EQ(archivio(), prima) << annulla;
        EXPECT_EQ(testo("Text2"), inCartella(u"iciview.out"_s)) << annulla;
        EXPECT_EQ(testo("Text5"), u"3"_s) << annulla;
        EXPECT_EQ(testo("Text4"), u"Vers. n. 2 (Violazione)"_s) << annulla;
        premi(annulla ? "cmdIndietro" : "cmdAvanti");
        EXPECT_EQ(testo("Text4"), annulla ? u"Vers. n. 1"_s : u"Vers. n. 3"_s);
    }
    // With no work file open before (a conversion closed it), the area is emptied.
    finestra->sessione().chiudi();
    dialoghi.attendiInput(kPrompt, kTitoloCnc, fileCnc("altro.txt"), buono)
        .attendiLavoro(kTitoloCnc, true);
    premi("cmdApri");
    EXPECT_EQ(testo("Text3_1"), QString());
    EXPECT_FALSE(finestra->sessione().aperto());
}

// "Riapri" opens the last work file again: once closed, and in the next run.
TEST_F(ImportazioneTest, AClosedWorkFileGreysTheRecordAreaUntilReopenedInThisRunOrTheNext) {
    importaCnc(fileCnc());
    auto* area = controllo<QLineEdit>("Text3_1");
    auto* nessuno = controllo<QLabel>("statoArchivio");
    scegliFileEdEsci();  // closes the work file
    EXPECT_FALSE(area->isEnabled());
    EXPECT_EQ(area->text(), u"RSSMRA70A01H501U"_s);  // kept to be read
    EXPECT_FALSE(controllo("label1_1")->isEnabled());
    EXPECT_FALSE(azione("azioneElenco")->isEnabled());
    EXPECT_TRUE(nessuno->isVisible());
    EXPECT_EQ(nessuno->text(), u"Nessun archivio di lavoro aperto"_s);
    azione("azioneRiapri")->trigger();
    EXPECT_TRUE(area->isEnabled());
    EXPECT_FALSE(nessuno->isVisible());

    finestra = std::make_unique<frmView>(dialoghi);  // the next run of the program
    ASSERT_TRUE(azione("azioneRiapri")->isEnabled());
    azione("azioneRiapri")->trigger();
    EXPECT_EQ(testo("Text2"), inCartella(u"iciview.out"_s));
    EXPECT_EQ(testo("Text4"), u"Vers. n. 1"_s);
    EXPECT_EQ(testo("Text5"), u"3"_s);
    EXPECT_EQ(finestra->sessione().lettura(), LetturaAtto::lunga);
    QSettings().setValue(u"UltimoArchivio/lettura"_s, u"breve"_s);
    azione("azioneRiapri")->trigger();  // a 1997 violation file is read short again
    EXPECT_EQ(finestra->sessione().lettura(), LetturaAtto::breve);
    finestra.reset();
    ASSERT_TRUE(QFile::remove(u"iciview.out"_s));
    finestra = std::make_unique<frmView>(dialoghi);  // a run with the file gone
    EXPECT_FALSE(azione("azioneRiapri")->isEnabled());
}

// The clerk names the layout of the file that could not be told; a cancel first.
TEST_F(ImportazioneTest, ImportaPiuFileShowsTheLayoutsFoundAndTheFilesBecomeOneWorkFile) {
    apri({violazione()});
    dialoghi.attendiScelta(kTitoloPiu, {campione("cnc2000.txt")})
        .attendiTracciati(kTitoloPiu, {Formato::cnc2000}, std::vector{Formato::cnc2000})
        .attendiLavoro(kTitoloPiu, true);
    azione("azioneImportaPiuFile")->trigger();
    EXPECT_EQ(archivio(), violazione().record());
    EXPECT_EQ(stato(), u"Importazione annullata"_s);
    EXPECT_TRUE(finestra->sessione().aperto());

    const QStringList file = {campione("cnc2000.txt"), scrivi("corto.txt", "3\r\n"),
                              campione("risconet.txt")};
    dialoghi.attendiScelta(kTitoloPiu, file)
        .attendiTracciati(kTitoloPiu, {Formato::cnc2000, std::nullopt, Formato::risconet},
                          std::vector{Formato::cnc2000, Formato::cnc2000, Formato::risconet})
        .attendiInput(kBelfiore, kTitoloPiu, QString(), u"H501"_s)
        .attendiLavoro(kTitoloPiu)
        .attendi(kFinito, kTitoloPiu);
    azione("azioneImportaPiuFile")->trigger();
    EXPECT_FALSE(dialoghi.fileMostrati().at(1).motivo.isEmpty());  // the reader's reason
    // 36 payments of the ANCI-CNC 2000 sample, 29 of the Risconet one.
    EXPECT_EQ(testo("Text2"), inCartella(u"iciview.out"_s));
    EXPECT_EQ(testo("Text5"), u"65"_s);
    EXPECT_TRUE(
        stato().startsWith(u"File importati: 3 · Versamenti importati: 65 · righe scartate: 6"_s))
        << stato();
}

// "&OK" writes the folder and the name chosen, or typed after, for the next prompt;
// a folder that cannot be listed and a memo that cannot be written are said, and
// the chooser stays as it was.
TEST_F(ImportazioneTest, TheChooserRemembersTheFileChosenAndSaysWhatItCannotDo) {
    // The chooser on the folder "sotto", which holds d.txt.
    const std::string sotto = inCartella(u"sotto"_s).toStdString();
    ASSERT_TRUE(QDir().mkpath(inCartella(u"sotto"_s)));
    dir.scrivi("sotto/d.txt", "");
    const auto s = std::make_unique<frmDirFiles>(dialoghi);
    ASSERT_TRUE(s->apriCartella(inCartella(u"sotto"_s)));
    auto* lista = s->findChild<QListWidget*>(u"File1"_s);
    auto* ok = s->findChild<QAbstractButton*>(u"cmdOK"_s);
    for (const char* scritto : {"", "nuovo.txt"}) {
        s->show();
        lista->setCurrentItem(lista->findItems(u"d.txt"_s, Qt::MatchExactly).at(0));
        if (*scritto != '\0') {
            s->findChild<QLineEdit*>(u"Text1_1"_s)->setText(QString::fromLatin1(scritto));
        }
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_EQ(memo(), sotto + '/' + (*scritto != '\0' ? scritto : "d.txt") + "\r\n");
        EXPECT_EQ(s->result(), QDialog::Accepted);
        EXPECT_FALSE(s->isVisible());
    }
    s->show();
    auto* unita = s->findChild<QComboBox*>(u"Drive1"_s);
    const QString radice = unita->currentText();
    for (const bool daUnita : {false, true}) {
        SCOPED_TRACE(daUnita);
        dialoghi.attendi(u"Errore 2: file o directory inesistente."_s,
                         u"Errore di unità/directory"_s, Pulsanti::ok, Icona::esclamazione);
        if (daUnita) {
            // A drive that went away after the list was made.
            unita->addItem(inCartella(u"manca"_s));
            unita->setCurrentIndex(unita->count() - 1);
            emit unita->activated(unita->count() - 1);
        } else {
            EXPECT_FALSE(s->apriCartella(inCartella(u"manca"_s)));
        }
        EXPECT_EQ(s->findChild<QLabel*>(u"Label2_4"_s)->text(), inCartella(u"sotto/*.txt"_s));
        ASSERT_EQ(lista->count(), 1);
        EXPECT_EQ(lista->item(0)->text(), u"d.txt"_s);
        EXPECT_EQ(unita->currentText(), radice);
    }
    // A memo that cannot be written is said, and the chooser stays.
    const QString percorsoMemo = inCartella(u"icimemofilepliventa.txt"_s);
    ASSERT_TRUE(QFile::remove(percorsoMemo) && QDir().mkpath(percorsoMemo));
    dialoghi.attendi(u"Impossibile scrivere il file "_s + percorsoMemo + u": è una directory"_s,
                     kTitoloPredefinito, Pulsanti::ok, Icona::esclamazione);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(s->isVisible());
}

// The conversion writes beside the input and closes the work file; should it fail
// or be cancelled, the previous work file is open again, as it was.
TEST_F(ImportazioneTest, RisconetConvertsBesideTheInputOrOpensThePreviousWorkFileAgain) {
    std::filesystem::create_directory(dir.percorso() / "dati");
    const QString input = scrivi("dati/risconet.txt", "TESTA\r\n1;2003-07-15\r\n");
    const QString output = inCartella(u"dati/versunir.out"_s);
    const QString manca = inCartella(u"manca.txt"_s);
    enum class Come { riuscita, inputIlleggibile, codiceNonAmmesso, annullata, nonScrivibile };
    const struct {
        Come come;
        QString codice;
        std::string colonne4a7;  ///< of the file converted
    } casi[] = {
        {Come::inputIlleggibile, {}, {}},
        // A line break in the code would break every line: refused before the work.
        {Come::codiceNonAmmesso, u"A\n0\r"_s, {}},
        {Come::annullata, u"A000"_s, {}},
        {Come::nonScrivibile, u"A000"_s, {}},
        {Come::riuscita, u"A000"_s, "A000"},
        {Come::riuscita, QString(), "    "},        // no code: blank
        {Come::riuscita, u"\u03A90001"_s, "?000"},  // not in the file's code page
    };
    QString proposta;
    bool convertito = false;
    for (const auto& c : casi) {
        SCOPED_TRACE(c.colonne4a7 + std::to_string(static_cast<int>(c.come)));
        // Until a file is converted, "Riapri" has nothing to offer.
        EXPECT_EQ(azione("azioneRiapri")->isEnabled(), convertito);
        apri({ordinario(), violazione()});
        mostra(2);
        eliminaChiuse();  // the list of the file before
        const QPointer<QWidget> lista = elenco();
        const QString risposta = c.come == Come::inputIlleggibile ? manca : input;
        dialoghi.attendiInput(kPrompt, kTitoloRisconet, proposta, risposta);
        proposta = risposta;
        // An input that cannot be read is said before the code is asked for.
        if (c.come != Come::inputIlleggibile) {
            dialoghi.attendiInput(kBelfiore, kTitoloRisconet, QString(), c.codice);
        }
        if (c.come != Come::inputIlleggibile && c.come != Come::codiceNonAmmesso) {
            dialoghi.attendiLavoro(kTitoloRisconet, c.come == Come::annullata);
        }
        if (c.come == Come::riuscita) {
            dialoghi.attendi(u"Elaborazione Terminata"_s, kTitoloPredefinito);
        } else if (c.come == Come::inputIlleggibile) {
            dialoghi.attendi(u"Impossibile convertire il file.\r\n"_s + manca +
                                 u": file o directory inesistente"_s,
                             kTitoloRisconet, Pulsanti::ok, Icona::esclamazione);
        } else if (c.come != Come::annullata) {
            dialoghi.attendi(std::nullopt, kTitoloRisconet, Pulsanti::ok, Icona::esclamazione);
        }
        if (c.come == Come::nonScrivibile) {
            ASSERT_TRUE(QDir().mkpath(output));
        }
        premi("cmdUniriscossioni");
        QDir().rmdir(output);  // the directory made for nonScrivibile, if any
        if (c.come == Come::riuscita) {
            EXPECT_EQ(testo("Text1"), input);
            EXPECT_EQ(testo("Text2"), output);
            EXPECT_EQ(leggiFile(output.toStdString()).substr(3, 4), c.colonne4a7);
            EXPECT_FALSE(finestra->sessione().aperto());  // browsing needs an import now
            eliminaChiuse();
            EXPECT_TRUE(lista.isNull());  // the views of the file left go with it
            convertito = true;
            continue;
        }
        ASSERT_TRUE(finestra->sessione().aperto());
        EXPECT_EQ(finestra->sessione().recordcorrente(), 2.0);
        EXPECT_EQ(testo("Text2"), QString());  // as before
        premi("cmdIndietro");
        EXPECT_EQ(testo("Text4"), u"Vers. n. 1"_s);
        EXPECT_TRUE(azione("azioneElenco")->isEnabled());
    }
    // The converted file is the last work file made: "Riapri" opens it.
    azione("azioneRiapri")->trigger();
    ASSERT_TRUE(finestra->sessione().aperto());
    EXPECT_EQ(finestra->sessione().archivio()->percorso(), output.toStdString());
    EXPECT_EQ(testo("Text2"), output);
}

// An import from a FIFO that no program writes, waiting in the real progress dialog,
// stops once the import has made its new file: by Annulla, and by the signal, which
// closes the window. Each leaves the old work file and nothing beside it.
TEST_F(ImportazioneTest, AnnullaOrTheSignalEndsTheWaitForAWriter) {
    FifoSenzaScrittore fifo{dir, "in.fifo", std::chrono::seconds(3)};
    const QString percorso = QString::fromStdString(fifo.percorso());
    dialoghi.attesaVera(finestra.get());
    dir.scrivi("iciview.out", "vecchio");
    ::setenv("PLIVENTA_TEMPORANEI_CON_NOME", "1", 1);  // a new file with a name to look for
    ASSERT_TRUE(chiudiAlSegnale(finestra.get()));
    QSignalSpy fine(finestra.get(), &frmView::terminaProgramma);
    for (const bool segnale : {false, true}) {
        dialoghi.attendiInput(kPrompt, kTitoloCnc, segnale ? percorso : QString(), percorso);
        QTimer sonda;
        sonda.callOnTimeout(finestra.get(), [&] {
            if (nomi(dir).size() == 4) {
                sonda.stop();
                if (segnale) {
                    ::raise(SIGTERM);
                } else {
                    controllo<QProgressDialog>(u"")->findChild<QAbstractButton*>()->click();
                }
            }
        });
        sonda.start(10);
        premi("cmdApri");
        EXPECT_EQ(stato(), u"Importazione annullata"_s);
        EXPECT_FALSE(sonda.isActive()) << "no new file seen";
        EXPECT_EQ(leggiFile(dir.file("iciview.out")), "vecchio");
        EXPECT_EQ(nomi(dir),
                  (std::vector<std::string>{"icimemofilepliventa.txt", "iciview.out", "in.fifo"}));
    }
    ::unsetenv("PLIVENTA_TEMPORANEI_CON_NOME");
    EXPECT_FALSE(fifo.sbloccato()) << "the import waited for a writer";
    EXPECT_TRUE(QTest::qWaitFor([&] { return fine.count() == 1; }));
    EXPECT_FALSE(finestra->isVisible());
}

}  // namespace
}  // namespace pliventa::test
