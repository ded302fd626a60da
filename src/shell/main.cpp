// Pliventa: the viewer of ICI payment files.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "shell/dialoghi_qt.h"
#include "shell/frmview.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pliventa"));
    QApplication::setApplicationVersion(pliventa::versione());
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
    finestra.show();
    return QApplication::exec();
}
