#pragma once

#include "app/shell/Shell.h"

#include <QStringList>
#include <memory>
#include <string>

namespace glyfora::app {

// What the command line asks for.
struct StartOptions {
    std::string FilePath;      // typeface to open at start; empty for none
    bool FileTypeCheck = true; // check the ".tf" registration at start
    bool QuitAfterFirstFrame = false;
    bool ShowHelp = false;    // --help or -h: print the usage and exit
    bool ShowVersion = false; // --version: print the version and exit
};

// Reads the editor's arguments (program name excluded). GLYFORA_NO_FILE_TYPE_CHECK=1 in the
// environment also turns the registration check off.
[[nodiscard]] StartOptions ParseCommandLine(const QStringList& arguments);

// What "glyfora --help" and "glyfora --version" print.
[[nodiscard]] QString EditorUsageText();
[[nodiscard]] QString EditorVersionText();

// Starts the editor: rasteriser, empty document, folders, registration check, windows, settings,
// the file of the command line. Windows are shown as the settings say.
[[nodiscard]] std::unique_ptr<Shell> StartUp(AppState& state, ShellServices& services,
                                             const StartOptions& options);

// Stores the settings and hides every window; the caller then leaves the event loop.
void ShutDown(Shell& shell);

} // namespace glyfora::app
