// The editor: builds the state and the windows, then runs Qt's event loop until the main window
// is closed.
#include "app/shell/AppState.h"
#include "app/shell/Dialogs.h"
#include "app/shell/Settings.h"
#include "app/startup/StartUp.h"
#include "app/windows/ExampleWindow.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    using namespace glyfora::app;
    // Answered before Qt starts, so that they work without a display.
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i) {
        rawArguments << QString::fromLocal8Bit(argv[i]);
    }
    const StartOptions asked = ParseCommandLine(rawArguments);
    if (asked.ShowHelp || asked.ShowVersion) {
        const QString text = asked.ShowHelp ? EditorUsageText() : EditorVersionText();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // The main window's close box ends the program, after the unsaved-changes question.
    QApplication::setQuitOnLastWindowClosed(false);

    const StartOptions options = ParseCommandLine(QApplication::arguments().mid(1));
    AppState state;
    QtFileDialogs files;
    QtMessageBoxes messages;
    ShellServices services{files, messages, CheckFileTypeRegistrationOfProgram,
                           QApplication::applicationFilePath().toStdString()};
    const std::unique_ptr<Shell> shell = StartUp(state, services, options);
    if (options.QuitAfterFirstFrame) {
        // exit(), not quit(): quit() first asks every window to close, and tool windows refuse.
        const auto leave = [] { QApplication::exit(0); };
        QObject::connect(shell->Example, &ExampleWindow::frameDrawn, &application, leave,
                         Qt::QueuedConnection);
        // An example window hidden by the settings never draws; do not wait for it.
        if (!shell->Example->isVisible()) {
            QTimer::singleShot(0, &application, leave);
        }
    }
    const int status = QApplication::exec();
    if (!shell->Finished && !options.QuitAfterFirstFrame) {
        ShutDown(*shell);
    }
    return status;
}
