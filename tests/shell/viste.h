// The fixture of the tests of the windows the menu bar opens on the work file.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QProcess>
#include <QTableView>
#include <QTest>
#include <array>
#include <chrono>

#include "finestra.h"

namespace pliventa::test {

class VisteTest : public FinestraTest {
protected:
    QAction* azione(QAnyStringView nome) const { return controllo<QAction>(nome); }
    /// Waits until `condizione` holds, at most five seconds.
    template <typename F>
    static bool attendiChe(F condizione) {
        const auto fine = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condizione() && std::chrono::steady_clock::now() < fine) {
            QTest::qWait(10);
        }
        return condizione();
    }
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
    /// Opens the three views on the open work file; returns them.
    std::array<QPointer<QWidget>, 3> apriViste() {
        dialoghi.attendiLavoro(u"Riepilogo"_s).attendiLavoro(u"Controlli"_s);
        azione("azioneElenco")->trigger();
        azione("azioneRiepilogo")->trigger();
        azione("azioneControlli")->trigger();
        return {controllo("FinestraElenco"), controllo("FinestraRiepilogo"),
                controllo("FinestraControlli")};
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
};

}  // namespace pliventa::test
