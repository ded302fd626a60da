// The real dialogs, shown offscreen and answered as soon as they are up, and the
// runner of long work they wait on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <new>
#include <optional>
#include <thread>

#include "dialoghi_finti.h"
#include "shell/dialoghi_qt.h"
#include "shell/lavoro.h"

namespace pliventa::test {
namespace {

// Saves through the real dialog in `cartella`: chooses the type `tipo`, types
// `nome` and presses Salva.
FileScelto salvaCon(const QString& cartella, int tipo, const QString& nome) {
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
        box->selectNameFilter(box->nameFilters().at(tipo));
        campo->setText(nome);
        QMetaObject::invokeMethod(box, "accept");  // as the Salva button does
    });
    DialoghiQt dialoghi;
    return dialoghi.salvaCome(u"Salva riepilogo"_s, cartella + u"/Riepilogo per anno.xlsx"_s,
                              u"Cartella di lavoro Excel (*.xlsx);;File CSV (*.csv)"_s);
}

TEST(DialoghiQtTest, TheSaveDialogGivesTheTypeChosenAndItsExtension) {
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
        const FileScelto scelto = salvaCon(cartella.path(), c.tipo, c.nome);
        EXPECT_EQ(scelto.percorso, cartella.filePath(c.atteso)) << c.nome;
        EXPECT_EQ(scelto.tipo, c.tipoAtteso) << c.nome;
    }
}

TEST(DialoghiQtTest, TheProgressDialogShowsTheStageAndCancelsMidRun) {
    // The window takes no input while the work runs; its progress dialog does.
    QWidget finestra;
    finestra.show();
    finestra.setEnabled(false);
    constexpr int kPassi = 2000;
    std::atomic<int> fatti{0};
    Lavoro lavoro([&](Lavoro& l) {
        for (int i = 1; i <= kPassi && !l.annullato(); ++i) {
            l.avanza(1, static_cast<std::uint64_t>(i), kPassi);
            fatti.store(i);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    QString fase;
    int valore = -1;
    QTimer sonda;
    sonda.setInterval(20);
    QObject::connect(&sonda, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box->value() <= 0 || valore >= 0) {
            return;
        }
        fase = box->labelText();
        valore = box->value();
        QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);  // "Annulla"
    });
    sonda.start();
    DialoghiQt dialoghi(&finestra);
    dialoghi.attendi(lavoro, u"Crea File Excel"_s,
                     {u"Calcolo dei totali…"_s, u"Scrittura dei versamenti…"_s});
    EXPECT_EQ(fase, u"Scrittura dei versamenti…"_s);
    EXPECT_GT(valore, 0);
    EXPECT_LT(valore, 1000);
    EXPECT_TRUE(lavoro.finito());
    EXPECT_TRUE(lavoro.annullato());
    EXPECT_LT(fatti.load(), kPassi);  // stopped, not run to its end
}

TEST(Lavoro, ATaskOutOfMemoryIsAnErrorTheCallerSees) {
    for (const bool senzaMemoria : {false, true}) {
        std::optional<Esito<int>> esito;
        Lavoro lavoro([&](Lavoro&) {
            if (senzaMemoria) {
                throw std::bad_alloc();
            }
            esito = 7;  // the task's own result
        });
        lavoro.avvia();
        lavoro.aspetta();
        EXPECT_TRUE(lavoro.finito());
        const Esito<int> r = esitoDi(lavoro, std::move(esito));
        EXPECT_EQ(r ? std::to_string(*r) : r.errore().motivo,
                  senzaMemoria ? "memoria insufficiente" : "7");
    }
}

// The table of the layouts: each file with the layout found, "Importa" only once
// every file has one, the clerk's choice given back; Annulla gives none.
TEST(DialoghiQtTest, TheLayoutsDialogShowsTheGuessAndGivesTheChoice) {
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
            QPushButton* pulsante = nullptr;
            for (QPushButton* p : box->findChildren<QPushButton*>()) {
                if (p->text() == (importa ? u"&Importa"_s : u"Annulla"_s)) {
                    pulsante = p;
                }
            }
            ASSERT_NE(pulsante, nullptr);
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
}

}  // namespace
}  // namespace pliventa::test
