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
    return dialoghi.salvaCome(
        QStringLiteral("Salva riepilogo"), cartella + QStringLiteral("/Riepilogo per anno.xlsx"),
        QStringLiteral("Cartella di lavoro Excel (*.xlsx);;File CSV (*.csv)"));
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
        {1, QStringLiteral("riepilogo"), QStringLiteral("riepilogo.csv"), 1},
        {0, QStringLiteral("riepilogo"), QStringLiteral("riepilogo.xlsx"), 0},
        // A name with the extension of a listed type is of that type.
        {1, QStringLiteral("riepilogo.xlsx"), QStringLiteral("riepilogo.xlsx"), 0},
        {0, QStringLiteral("riepilogo.CSV"), QStringLiteral("riepilogo.CSV"), 1},
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
    dialoghi.attendi(
        lavoro, QStringLiteral("Crea File Excel"),
        {QStringLiteral("Calcolo dei totali…"), QStringLiteral("Scrittura dei versamenti…")});
    EXPECT_EQ(fase, QStringLiteral("Scrittura dei versamenti…"));
    EXPECT_GT(valore, 0);
    EXPECT_LT(valore, 1000);
    EXPECT_TRUE(lavoro.finito());
    EXPECT_TRUE(lavoro.annullato());
    EXPECT_LT(fatti.load(), kPassi);  // stopped, not run to its end
}

TEST(Lavoro, ATaskOutOfMemoryIsAnErrorTheCallerSees) {
    const struct {
        bool senzaMemoria;
        const char* motivo;  // nullptr: the task's own result
    } casi[] = {{false, nullptr}, {true, "memoria insufficiente"}};
    for (const auto& c : casi) {
        std::optional<Esito<int>> esito;
        Lavoro lavoro([&](Lavoro&) {
            if (c.senzaMemoria) {
                throw std::bad_alloc();
            }
            esito = 7;
        });
        lavoro.avvia();
        lavoro.aspetta();
        EXPECT_TRUE(lavoro.finito());
        const Esito<int> r = esitoDi(lavoro, std::move(esito));
        if (c.motivo == nullptr) {
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(*r, 7);
        } else {
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.errore().motivo, c.motivo);
        }
    }
}

}  // namespace
}  // namespace pliventa::test

namespace pliventa::test {
namespace {

// The table of the layouts: each file with the layout found, "Importa" only once
// every file has one, the clerk's choice given back; Annulla gives none.
TEST(DialoghiQtTest, TheLayoutsDialogShowsTheGuessAndGivesTheChoice) {
    const std::vector<FileDaImportare> file = {
        {QStringLiteral("/dati/a.txt"), Formato::f24, {}},
        {QStringLiteral("/dati/b.txt"), std::nullopt, QStringLiteral("il file è vuoto")},
    };
    for (const bool importa : {true, false}) {
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            const auto scelte = box->findChildren<QComboBox*>();
            ASSERT_EQ(scelte.size(), 2);
            EXPECT_EQ(scelte[0]->currentText(), QStringLiteral("F24"));
            EXPECT_EQ(scelte[1]->currentIndex(), -1);
            QPushButton* pulsante = nullptr;
            for (QPushButton* p : box->findChildren<QPushButton*>()) {
                if (p->text() ==
                    (importa ? QStringLiteral("&Importa") : QStringLiteral("Annulla"))) {
                    pulsante = p;
                }
            }
            ASSERT_NE(pulsante, nullptr);
            if (importa) {
                EXPECT_FALSE(pulsante->isEnabled());
                scelte[1]->setCurrentIndex(scelte[1]->findText(QStringLiteral("Violazioni 1997")));
                EXPECT_TRUE(pulsante->isEnabled());
            }
            pulsante->click();
        });
        DialoghiQt dialoghi;
        const auto scelti = dialoghi.scegliTracciati(QStringLiteral("Importa più file"), file);
        if (importa) {
            EXPECT_EQ(scelti, (std::vector{Formato::f24, Formato::viol1997}));
        } else {
            EXPECT_EQ(scelti, std::nullopt);
        }
    }
}

}  // namespace
}  // namespace pliventa::test
