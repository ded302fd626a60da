// The fixture of the window tests: the real window, scripted dialogs, and a
// scratch folder made the current directory for the window's sake.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>
#include <QString>
#include <QTest>
#include <initializer_list>
#include <memory>
#include <string>

#include "dialoghi_finti.h"
#include "righe.h"
#include "shell/frmview.h"

namespace pliventa::test {

class FinestraTest : public ::testing::Test {
protected:
    void SetUp() override {
        cartellaPrima_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(cartella()));
        QSettings().clear();  // no last work file remembered from another test
        finestra = std::make_unique<frmView>(dialoghi);
        finestra->show();
    }

    void TearDown() override {
        dialoghi.verificaFine();
        finestra.reset();
        QDir::setCurrent(cartellaPrima_);
    }

    /// The scratch folder, current directory of the window.
    QString cartella() const { return QString::fromStdString(dir.percorso().string()); }

    /// The child control named `nome`; fails the test when there is none.
    template <typename T = QWidget>
    T* controllo(const QString& nome) const {
        T* w = finestra->findChild<T*>(nome);
        EXPECT_NE(w, nullptr) << nome.toStdString();
        return w;
    }
    QString testo(const QString& nome) const { return controllo<QLineEdit>(nome)->text(); }
    QString didascalia(const QString& nome) const { return controllo<QLabel>(nome)->text(); }
    bool visibile(const QString& nome) const { return controllo(nome)->isVisible(); }

    /// Clicks the button named `pulsante`.
    void premi(const char* pulsante) {
        QTest::mouseClick(controllo<QAbstractButton>(QString::fromLatin1(pulsante)),
                          Qt::LeftButton);
    }
    /// The message of the status bar.
    QString stato() const { return finestra->statusBar()->currentMessage(); }

    /// Makes the window the active one, so that it has the keyboard focus.
    void attiva() {
        finestra->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(finestra.get()));
    }

    /// Opens `righe` as the work file read with `lettura`.
    void apri(std::initializer_list<RigaVersamento> righe,
              LetturaAtto lettura = LetturaAtto::lunga) {
        const QString percorso = QString::fromStdString(dir.scrivi("iciview.out", lavoro(righe)));
        const EsitoVuoto aperto = finestra->apriArchivio(percorso, lettura);
        ASSERT_TRUE(aperto.ok()) << aperto.errore().descrizione();
    }

    /// Shows record `n` of the open work file.
    void mostra(double n, FormaNumero forma = FormaNumero::conPrefisso) {
        finestra->sessione().impostaRecordcorrente(n);
        const EsitoVuoto mostrato = finestra->mostrarecord(forma);
        ASSERT_TRUE(mostrato.ok()) << mostrato.errore().descrizione();
    }

    CartellaTemporanea dir;
    DialoghiFinti dialoghi;
    std::unique_ptr<frmView> finestra;

private:
    QString cartellaPrima_;
};

/// A violation payment whose field 16 holds, from position 7, 123456789 then 31122002.
inline RigaVersamento violazione(std::string_view cf = "VRDLGU60B02F205X") {
    return RigaVersamento()
        .tipo('6')
        .data("20040320")
        .cf(cf)
        .campo(Campo::annoimposta, "01")
        .campo(Campo::totale, "00000050000")
        .campo(Campo::estremiatto,
               "100000"
               "123456789"
               "31122002");
}

/// An ordinary payment of 1.234,56 euro.
inline RigaVersamento ordinario(std::string_view cf = "RSSMRA70A01H501U") {
    return RigaVersamento()
        .tipo('3')
        .data("20030531")
        .cf(cf)
        .campo(Campo::annoimposta, "02")
        .campo(Campo::totale, "00000123456")
        .campo(Campo::terreni, "0000000100")
        .campo(Campo::numerofabbricati, "0003");
}

}  // namespace pliventa::test
