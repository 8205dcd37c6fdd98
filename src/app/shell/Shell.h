#pragma once

#include "app/shell/AppState.h"
#include "app/shell/Dialogs.h"
#include "platform/OwnTemporaryFolder.h"
#include "platform/PictureWatch.h"

#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QObject;
class QTimer;
class QWidget;

namespace glyfora::app {

class CharacterSetWindow;
class CharacterWindow;
class ExampleWindow;
class ImportWindow;
class KerningPairWindow;
class MainWindow;
struct EditingContext;
struct History;

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
    std::unique_ptr<app::History> History; // of the document under TypefaceId
    // The watch of the picture "Edit" exported, and the timer that polls it (a child of the
    // character-set window).
    platform::PictureWatch PictureWatch;
    QTimer* PictureWatchTimer = nullptr;
    // The folder of this editor's own that "Edit" exports into, made at the first export and
    // removed with the shell, so two editors never write or watch the same file.
    std::optional<platform::OwnTemporaryFolder> ExportFolder;
    bool Finished = false; // shut-down has run
    // "Create Typeface" is under way (its progress dialog lets events through).
    bool ImportRunning = false;
    // When set, the import reports its progress here instead of in a progress dialog; returning
    // false cancels it. Tests drive the import through it.
    std::function<bool(std::int64_t done, std::int64_t total)> ImportProgressHook;
};

// Makes a fresh empty document under TypefaceId and returns it.
document::Typeface& NewDocument(AppState& state);

// A document that did not come from CurrentFilePath (New, an import) must not be saved over that
// file by a plain "Save": only its folder is kept, as the file dialogs' starting place.
void ForgetDocumentFile(AppState& state);

// Rows of the two lists by their position in list order; none selects no row.
struct ListRows {
    std::optional<std::size_t> Character;
    std::optional<std::size_t> Pair;
};

// What the character and kerning-pair views do with their window when their list has no selected
// row: hide it, or keep it as it is, blank (a new document keeps the windows the settings showed).
enum class EmptyViews { Hide, Blank };

// Shows the document after a change of any kind, the one way every change is shown: both lists
// refilled from the document with rows selected, the frames showing the selected records (or
// cleared and disabled, and the character-set view's mark cleared, without one), every view drawn
// again, the comment shown and the example asked for a frame.
void ShowDocumentChange(Shell& shell, const ListRows& rows = {},
                        EmptyViews emptyViews = EmptyViews::Hide);

// Whether a document just shown is what its file holds (or an empty new one), or needs saving.
enum class Saving { Clean, Needed };

// Shows a document that was just put under TypefaceId (New, Open, an import): views, lists and the
// comment, with a fresh edit history whose clean state is the one shown unless saving is Needed.
void ShowDocument(Shell& shell, EmptyViews emptyViews = EmptyViews::Blank,
                  Saving saving = Saving::Clean);

// Asks "Save changes?" when the document is modified. True when the caller may go on (saved,
// discarded or nothing to save), false when the user cancelled or the save failed.
[[nodiscard]] bool ConfirmDiscard(Shell& shell);

// Opens a typeface file into the document. On failure the current document stays and the reason is
// shown; a partly read file opens with its warnings shown. True when the file was opened.
bool OpenTypefaceFile(Shell& shell, const std::string& path);

// "Save": the current path when its extension (any letter case) names a file format, otherwise
// "Save As...". Either asks before writing over the file the document was only partly read from:
// "Keep Original" writes nothing, "Save As..." asks for another file.
// True when the document was written.
bool SaveDocument(Shell& shell);
bool SaveDocumentAs(Shell& shell);

// The filters of both file dialogs, one per file format in table order.
[[nodiscard]] QStringList TypefaceFileFilters();

} // namespace glyfora::app
