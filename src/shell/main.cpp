// Pliventa: the viewer of ICI payment files.
#include <QApplication>

#include "shell/dialoghi_qt.h"
#include "shell/frmview.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pliventa"));
    QApplication::setApplicationVersion(pliventa::versione());

    pliventa::DialoghiQt dialoghi;
    pliventa::frmView finestra(dialoghi);
    dialoghi.impostaGenitore(&finestra);
    QObject::connect(&finestra, &pliventa::frmView::terminaProgramma, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    finestra.show();
    return QApplication::exec();
}
