// Pliventa: the viewer of ICI payment files.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <string_view>

#include "shell/dialoghi_qt.h"
#include "shell/frmview.h"
#include "shell/segnali.h"

int main(int argc, char* argv[]) {
    // Answered before the QApplication exists, so it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") {
            std::printf("pliventa %s\n", qPrintable(pliventa::versione()));
            return 0;
        }
    }

    QApplication app(argc, argv);
    // QApplication has set the C library's locale to the user's. The numbers the
    // program writes into files (workbook, CSV, JSON, work file) must read the same
    // on every desktop, so the C library keeps its own decimal mark; the window
    // shows numbers in the user's format through QLocale, which this does not touch.
    std::setlocale(LC_NUMERIC, "C");
    // The settings (the last work file made) live in ~/.config/Pliventa/Pliventa.conf.
    QApplication::setOrganizationName(QStringLiteral("Pliventa"));
    QApplication::setApplicationName(QStringLiteral("Pliventa"));
    QApplication::setApplicationVersion(pliventa::versione());
    // Ties the window to the installed menu entry, whose icon the desktop then shows.
    QApplication::setDesktopFileName(QStringLiteral("pliventa"));
    // The window speaks Italian whatever the system's language: so do Qt's own
    // dialogs (the file dialog's buttons, menus and questions).
    QTranslator traduzioneQt;
    if (traduzioneQt.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&traduzioneQt);
    }

    pliventa::DialoghiQt dialoghi;
    pliventa::frmView finestra(dialoghi);
    dialoghi.impostaGenitore(&finestra);
    QObject::connect(&finestra, &pliventa::frmView::terminaProgramma, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // A shutdown or a Ctrl+C ends the program as closing the window does.
    pliventa::chiudiAlSegnale(&finestra);
    finestra.show();
    return QApplication::exec();
}
