// The window tests run the real widgets without a display: test discovery starts
// this program at build time, outside ctest's environment.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The offscreen platform warns on every window shown; nothing to learn from it.
    qInstallMessageHandler(
        [](QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo) {
            if (!testo.startsWith(QStringLiteral("This plugin does not support"))) {
                qt_message_output(tipo, contesto, testo);
            }
        });
    // The window remembers the last work file in its settings: the tests keep
    // theirs in a folder of their own, never the user's.
    QTemporaryDir impostazioni;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(impostazioni.path()));
    // The window runs where the clerks are, on an Italian desktop: QApplication
    // sets the C library's locale from this, "," becoming printf's decimal mark.
    qputenv("LC_ALL", "it_IT.UTF-8");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // a test may close the window
    // Amounts are checked as an Italian clerk sees them.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    return RUN_ALL_TESTS();
}
