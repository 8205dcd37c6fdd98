// Runs the editor's GUI tests. HOME and the XDG and APPDATA folders point into a temporary folder
// first, so that no test reads or writes the user's own settings.
#include "CanvasTests.h"
#include "DispatchTests.h"
#include "IsolatedUserFolders.h"
#include "ImportWindowTests.h"
#include "LayoutCommandTests.h"
#include "LibraryPinning.h"
#include "StartupTests.h"
#include "WindowTests.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    if (!glyfora::app::testing::IsolateUserFolders(home)) {
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    int failures = 0;
    {
        glyfora::app::testing::WindowTests tests;
        failures += QTest::qExec(&tests, argc, argv);
    }
    {
        glyfora::app::testing::DispatchTests tests;
        failures += QTest::qExec(&tests, argc, argv);
    }
    {
        glyfora::app::testing::StartupTests tests;
        failures += QTest::qExec(&tests, argc, argv);
    }
    {
        glyfora::app::testing::ImportWindowTests tests;
        failures += QTest::qExec(&tests, argc, argv);
    }
    {
        glyfora::app::testing::CanvasTests tests;
        failures += QTest::qExec(&tests, argc, argv);
    }
    {
        glyfora::app::testing::LayoutCommandTests tests;
        failures += QTest::qExec(&tests, argc, argv);
    }
    {
        glyfora::app::testing::CharacterSetPictureTests tests;
        failures += QTest::qExec(&tests, argc, argv);
    }
    // The example screen draws with OpenGL on a window system.
    glyfora::app::testing::PinLoadedLibraries();
    return failures == 0 ? 0 : 1;
}
