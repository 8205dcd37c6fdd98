// Runs the GUI tests of the editing frames, the character-code dialog and their place in the shell.
#include "IsolatedUserFolders.h"

#include <QApplication>
#include <QTemporaryDir>

namespace glyfora::app::testing {
int RunCharacterCodeDialogTests(int argc, char* argv[]);
int RunEditingFrameTests(int argc, char* argv[]);
int RunEditingShellTests(int argc, char* argv[]);
} // namespace glyfora::app::testing

int main(int argc, char* argv[]) {
    // The shell reads and writes settings: keep them in a folder of this run.
    QTemporaryDir home;
    if (!glyfora::app::testing::IsolateUserFolders(home)) {
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int failures = 0;
    failures += glyfora::app::testing::RunCharacterCodeDialogTests(argc, argv);
    failures += glyfora::app::testing::RunEditingFrameTests(argc, argv);
    failures += glyfora::app::testing::RunEditingShellTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
