// Runs the example-screen tests inside one QApplication. With --require-opengl the run is skipped
// (exit status 77) when no OpenGL context can be made on the display.
#include "app/ExampleScreen.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <iostream>

namespace {

// Keeps every library loaded now from being unmapped at exit. The OpenGL driver is unloaded when
// the display closes; the leak checker that runs after that could not name (nor suppress) the
// allocations the driver keeps for the life of the process.
void PinLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

} // namespace

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
    PinLoadedLibraries();
    return result;
}
