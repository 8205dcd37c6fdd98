// Runs the GUI tests of the editing frames and the character-code dialog.
#include <QApplication>

namespace glyfora::app::testing {
int RunCharacterCodeDialogTests(int argc, char* argv[]);
int RunEditingFrameTests(int argc, char* argv[]);
} // namespace glyfora::app::testing

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int failures = 0;
    failures += glyfora::app::testing::RunCharacterCodeDialogTests(argc, argv);
    failures += glyfora::app::testing::RunEditingFrameTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
