// The main of every Qt test program: the QTest classes registered with GLYFORA_QTEST and the
// gtest tests linked in run inside one QApplication. HOME, the XDG folders and APPDATA point into
// a scratch folder first, so that no test reads or writes the user's own settings or file-type
// registration. With --require-opengl the run is skipped (exit status 77) when no OpenGL context
// can be made on the display.
#include "LibraryPinning.h"
#include "QtTestRegistry.h"
#include "ScratchFolder.h"
#include "app/surfaces/ExampleScreen.h"

#include <QApplication>
#include <QByteArray>
#include <QTest>
#include <gtest/gtest.h>
#include <iostream>
#include <string_view>

namespace {

// Removes flag from the arguments; true when it was there.
bool TakeFlag(int& argc, char* argv[], std::string_view flag) {
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == flag) {
            found = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return found;
}

// Call before the QApplication is made. The file-type check is off as well: it would register
// the test program with the desktop.
void IsolateUserFolders(const glyfora::testsupport::ScratchFolder& home) {
    for (const char* variable :
         {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "APPDATA"}) {
        qputenv(variable, QByteArray::fromStdString(home.Path()));
    }
    qputenv("GLYFORA_NO_FILE_TYPE_CHECK", "1");
}

} // namespace

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    const bool requireOpenGl = TakeFlag(argc, argv, "--require-opengl");
    const glyfora::testsupport::ScratchFolder home;
    IsolateUserFolders(home);
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (requireOpenGl && !glyfora::app::OpenGlScreenAvailable()) {
        std::cout << "No OpenGL context on platform "
                  << QGuiApplication::platformName().toStdString() << "; skipped.\n";
        return 77;
    }

    int failures = 0;
    for (const glyfora::app::testing::QtTestMaker make :
         glyfora::app::testing::RegisteredQtTests()) {
        const std::unique_ptr<QObject> tests = make();
        failures += QTest::qExec(tests.get(), argc, argv);
    }
    if (::testing::UnitTest::GetInstance()->total_test_count() > 0) {
        failures += RUN_ALL_TESTS();
    }
    // The example screen draws with OpenGL on a window system.
    glyfora::app::testing::PinLoadedLibraries();
    return failures == 0 ? 0 : 1;
}
