// The window's start-up and the payments list's first screen, timed to the first
// frame drawn. Usage (run with QT_QPA_PLATFORM=offscreen when there is no display):
//   finestra_bench avvio            main window, from main() to its first frame
//   finestra_bench elenco WORKFILE  the list on WORKFILE, from the menu command to
//                                   the table's first frame
//   finestra_bench fine WORKFILE    the list on WORKFILE open, Ctrl+End: the
//                                   memory the list took beyond the main window
//                                   (MiB, peak) and the milliseconds to the last
//                                   row drawn
// Prints the milliseconds on stdout and quits once the frame is drawn.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QKeyEvent>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "shell/dialoghi_qt.h"
#include "shell/frmview.h"

namespace {

/// Waits for the first paint of any widget of the window, then takes the time
/// once the event loop is back: by then the whole frame has been drawn, since a
/// window's widgets are painted in one pass.
class PrimoDisegno : public QObject {
public:
    explicit PrimoDisegno(const QElapsedTimer& orologio) : orologio_(orologio) {}

    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (!visto_ && evento->type() == QEvent::Paint && oggetto->isWidgetType()) {
            visto_ = true;
            QTimer::singleShot(0, [this] {
                std::printf("%.1f\n", static_cast<double>(orologio_.nsecsElapsed()) / 1e6);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    const QElapsedTimer& orologio_;
    bool visto_ = false;
};

int uso() {
    std::fputs("uso: finestra_bench avvio | finestra_bench elenco|fine WORKFILE\n", stderr);
    return 2;
}

/// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when absent.
long kibDi(std::string_view voce) {
    std::ifstream stato("/proc/self/status");
    std::string riga;
    while (std::getline(stato, riga)) {
        if (riga.starts_with(voce) && riga.size() > voce.size() && riga[voce.size()] == ':') {
            return std::stol(riga.substr(voce.size() + 1));
        }
    }
    return 0;
}

/// The main window drawn with the work file open, then the list, then Ctrl+End in
/// the list's table and the rows it brings drawn at once.
int fine(pliventa::frmView& finestra) {
    finestra.show();
    QCoreApplication::processEvents();
    const long prima = kibDi("VmRSS");
    finestra.mostraElenco();
    QCoreApplication::processEvents();
    auto* tabella = finestra.findChild<QTableView*>(QStringLiteral("tabellaElenco"));
    if (tabella == nullptr) {
        std::fputs("elenco non aperto\n", stderr);
        return 1;
    }
    QElapsedTimer orologio;
    orologio.start();
    QKeyEvent fine(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::sendEvent(tabella, &fine);
    tabella->viewport()->repaint();
    const double ms = static_cast<double>(orologio.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents();
    std::printf("%s %.1f %.1f\n", qPrintable(tabella->currentIndex().data().toString()),
                static_cast<double>(kibDi("VmHWM") - prima) / 1024.0, ms);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer orologio;
    orologio.start();
    if (argc < 2) {
        return uso();
    }
    const std::string_view modo = argv[1];
    if (!(modo == "avvio" && argc == 2) && !((modo == "elenco" || modo == "fine") && argc == 3)) {
        return uso();
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pliventa"));
    QApplication::setApplicationName(QStringLiteral("Pliventa"));
    pliventa::DialoghiQt dialoghi;
    PrimoDisegno primo(orologio);
    // Failures end the program with an error instead of waiting for a frame.
    QTimer::singleShot(60000, [] {
        std::fputs("nessun disegno entro 60 s\n", stderr);
        QCoreApplication::exit(1);
    });

    pliventa::frmView finestra(dialoghi);
    dialoghi.impostaGenitore(&finestra);
    if (modo == "avvio") {
        app.installEventFilter(&primo);
        finestra.show();
        return QApplication::exec();
    }
    if (!finestra.apriArchivio(QString::fromLocal8Bit(argv[2]), pliventa::LetturaAtto::lunga)) {
        std::fprintf(stderr, "%s: file di lavoro illeggibile\n", argv[2]);
        return 1;
    }
    if (modo == "fine") {
        return fine(finestra);
    }
    // Only the list is timed: the clock starts at the menu command.
    orologio.restart();
    app.installEventFilter(&primo);
    finestra.mostraElenco();  // the list is a window of its own, shown here
    return QApplication::exec();
}
