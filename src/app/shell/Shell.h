#pragma once

#include "app/shell/AppState.h"
#include "app/shell/Dialogs.h"

#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QObject;
class QWidget;

namespace glyfora::app {

class CharacterSetWindow;
class CharacterWindow;
class ExampleWindow;
class ImportWindow;
class KerningPairWindow;
class MainWindow;
class PictureWatchTimer;
struct EditingContext;
struct History;

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

// The outside world the shell talks to, replaceable in tests.
struct ShellServices {
    FileDialogs& Files;
    MessageBoxes& Messages;
    // Checks the ".tf" registration against the program at this path; true when it rewrote it.
    std::function<bool(const std::string& programPath)> CheckFileType;
    // The full path of the running program.
    std::string ProgramPath;
};

// The six windows over the state, and what the handlers reach besides: the editing context of the
// two frames and the watch of the exported character-set picture. The main window owns the other
// five windows; every pointer here is set by StartUp and stays valid until the shell goes.
struct Shell {
    Shell(AppState& state, ShellServices& services);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    AppState& State;
    ShellServices& Services;
    std::unique_ptr<app::MainWindow> Main;
    app::ImportWindow* Import = nullptr;
    app::ExampleWindow* Example = nullptr;
    app::CharacterSetWindow* CharacterSet = nullptr;
    app::CharacterWindow* Character = nullptr;
    app::KerningPairWindow* KerningPair = nullptr;
    QObject* WindowEvents = nullptr; // turns window close and resize into dispatch
    std::unique_ptr<EditingContext> Editing;
    std::unique_ptr<app::History> History;     // of the document under TypefaceId
    PictureWatchTimer* PictureWatch = nullptr; // a child of the character-set window
    bool Finished = false;                     // shut-down has run
    // "Create Typeface" is under way (its progress dialog lets events through).
    bool ImportRunning = false;
    // When set, the import reports its progress here instead of in a progress dialog; returning
    // false cancels it. Tests drive the import through it.
    std::function<bool(std::int64_t done, std::int64_t total)> ImportProgressHook;
};

// Starts the editor: rasteriser, empty document, folders, registration check, windows, settings,
// the file of the command line. Windows are shown as the settings say.
[[nodiscard]] std::unique_ptr<Shell> StartUp(AppState& state, ShellServices& services,
                                             const StartOptions& options);

// Stores the settings and hides every window; the caller then leaves the event loop.
void ShutDown(Shell& shell);

// Makes a fresh empty document under TypefaceId and returns it.
document::Typeface& NewDocument(AppState& state);

// A document that did not come from CurrentFilePath (New, an import) must not be saved over that
// file by a plain "Save": only its folder is kept, as the file dialogs' starting place.
void ForgetDocumentFile(AppState& state);

// Shows a document that was just put under TypefaceId (New, Open, an import): views, lists and the
// comment, with a fresh edit history.
void ShowDocument(Shell& shell);

// Asks "Save changes?" when the document is modified. True when the caller may go on (saved,
// discarded or nothing to save), false when the user cancelled or the save failed.
[[nodiscard]] bool ConfirmDiscard(Shell& shell);

// Opens a typeface file into the document. On failure the current document stays and the reason is
// shown; a partly read file opens with its warnings shown. True when the file was opened.
bool OpenTypefaceFile(Shell& shell, const std::string& path);

// "Save": the current path when its extension (any letter case) names a file format, otherwise
// "Save As...".
// True when the document was written.
bool SaveDocument(Shell& shell);
bool SaveDocumentAs(Shell& shell);

// The filters of both file dialogs, one per file format in table order.
[[nodiscard]] QStringList TypefaceFileFilters();

// Connects every menu command, control and window event to its handler.
void ConnectDispatch(Shell& shell);

} // namespace glyfora::app
