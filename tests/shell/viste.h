// The fixture of the tests of the windows the menu bar opens on the work file.
#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <array>
#include <chrono>

#include "finestra.h"

namespace pliventa::test {

class VisteTest : public FinestraTest {
protected:
    QAction* azione(const char* nome) const {
        return controllo<QAction>(QString::fromLatin1(nome));
    }
    template <typename T>
    T* vista(const char* nome) const {
        T* v = finestra->findChild<T*>(QString::fromLatin1(nome));
        EXPECT_NE(v, nullptr) << nome;
        return v;
    }
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
        const QModelIndex indice = tabella->model()->index(riga, 0);
        const QPoint punto = tabella->visualRect(indice).center();
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, punto);
    }
    /// Opens the three views on the open work file; returns them.
    std::array<QPointer<QWidget>, 3> apriViste() {
        dialoghi.attendiLavoro(QStringLiteral("Riepilogo"))
            .attendiLavoro(QStringLiteral("Controlli"));
        azione("azioneElenco")->trigger();
        azione("azioneRiepilogo")->trigger();
        azione("azioneControlli")->trigger();
        return {vista<QWidget>("FinestraElenco"), vista<QWidget>("FinestraRiepilogo"),
                vista<QWidget>("FinestraControlli")};
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
