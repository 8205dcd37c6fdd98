// Runs the example-screen tests inside one QApplication. With --require-opengl the run is skipped
// (exit status 77) when no OpenGL context can be made on the display.
#include "LibraryPinning.h"
#include "app/ExampleScreen.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    bool requireOpenGl = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--require-opengl") == 0) {
            requireOpenGl = true;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    QApplication application(argc, argv);
    if (requireOpenGl && !glyfora::app::OpenGlScreenAvailable()) {
        std::cout << "No OpenGL context on platform "
                  << QGuiApplication::platformName().toStdString() << "; skipped.\n";
        return 77;
    }
    const int result = RUN_ALL_TESTS();
    glyfora::app::testing::PinLoadedLibraries();
    return result;
}
