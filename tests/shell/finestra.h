// The fixture of the window tests: the real window with its views, scripted dialogs,
// and a scratch folder made the current directory for the window's sake.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QAnyStringView>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QString>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <array>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <string>

#include "dialoghi_finti.h"
#include "righe.h"
#include "shell/frmview.h"

namespace pliventa::test {

/// A violation payment whose field 16 holds, from position 7, 123456789 then 31122002.
inline RigaVersamento violazione(std::string_view cf = "VRDLGU60B02F205X") {
    return RigaVersamento()
        .tipo('6')
        .data("20040320")
        .cf(cf)
        .campo(Campo::annoimposta, "01")
        .campo(Campo::totale, "00000050000")
        .campo(Campo::estremiatto, "10000012345678931122002");
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
    /// The path of `nome` in the scratch folder.
    QString inCartella(const QString& nome) const { return cartella() + u'/' + nome; }
    /// Writes `contenuto` to `nome` in the scratch folder; returns its path.
    QString scrivi(const char* nome, const std::string& contenuto) const {
        return QString::fromStdString(dir.scrivi(nome, contenuto));
    }

    /// The control named `nome` of the window or of a view; fails the test when
    /// there is none.
    template <typename T = QWidget>
    T* controllo(QAnyStringView nome) const {
        T* w = finestra->findChild<T*>(nome.toString());
        EXPECT_NE(w, nullptr) << nome.toString().toStdString();
        return w;
    }
    QString testo(QAnyStringView nome) const { return controllo<QLineEdit>(nome)->text(); }
    bool visibile(QAnyStringView nome) const { return controllo(nome)->isVisible(); }
    void premi(QAnyStringView pulsante) {
        QTest::mouseClick(controllo<QAbstractButton>(pulsante), Qt::LeftButton);
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
        apri(lavoro(righe), lettura);
    }
    /// Opens the records `dati` as the work file read with `lettura`.
    void apri(const std::string& dati, LetturaAtto lettura = LetturaAtto::lunga) {
        const EsitoVuoto aperto = finestra->apriArchivio(scrivi("iciview.out", dati), lettura);
        ASSERT_TRUE(aperto.ok()) << aperto.errore().descrizione();
    }

    /// Shows record `n` of the open work file.
    void mostra(double n, FormaNumero forma = FormaNumero::conPrefisso) {
        finestra->sessione().impostaRecordcorrente(n);
        const EsitoVuoto mostrato = finestra->mostrarecord(forma);
        ASSERT_TRUE(mostrato.ok()) << mostrato.errore().descrizione();
    }

    /// Presses "&Scegli file", whose chooser, modal, the clerk leaves with "&Esci".
    void scegliFileEdEsci() {
        QTimer::singleShot(0, finestra.get(), [] {
            QWidget* scelta = QApplication::activeModalWidget();
            ASSERT_NE(scelta, nullptr) << "no modal chooser";
            QTest::mouseClick(scelta->findChild<QAbstractButton*>(u"cmdEsci"_s), Qt::LeftButton);
        });
        premi("Command1");
    }

    QAction* azione(QAnyStringView nome) const { return controllo<QAction>(nome); }
    static void doppioClic(QTableView* tabella, int riga) {
        const QPoint punto = tabella->visualRect(tabella->model()->index(riga, 0)).center();
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, punto);
    }
    /// Opens the payments list; returns its table.
    QTableView* elenco() {
        azione("azioneElenco")->trigger();
        return controllo<QTableView>("tabellaElenco");
    }
    /// The text of cell (`riga`, `colonna`) of `tabella`.
    static QString cella(const QTableView* tabella, int riga, int colonna) {
        return tabella->model()->index(riga, colonna).data().toString();
    }
    /// The text of the PDF file `pdf`, as pdftotext reads it, spaces simplified.
    static QString testoPdf(const QString& pdf) {
        QProcess p;
        p.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).simplified();
    }
    /// Deletes the windows closed so far.
    static void eliminaChiuse() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    /// Three payments: two ordinary (the second with a wrong check character), a violation.
    void apriTre() {
        apri({ordinario("RSSMRA70A01H501S"), ordinario("RSSMRA70A01H501X"),
              violazione("VRDLGU60B02F205T")});
        mostra(1);
    }

    CartellaTemporanea dir;
    DialoghiFinti dialoghi;
    std::unique_ptr<frmView> finestra;

private:
    QString cartellaPrima_;
};

}  // namespace pliventa::test
