#include "app/startup/StartUp.h"

#include "app/editing/CharacterSetPicture.h"
#include "app/shell/EditingLists.h"
#include "app/shell/FieldHistory.h"
#include "app/shell/History.h"
#include "app/shell/Settings.h"
#include "app/shell/ShellViews.h"
#include "app/startup/Dispatch.h"
#include "app/startup/FileDrops.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "platform/Environment.h"
#include "platform/FileTypes.h"

#include <QMenuBar>

namespace glyfora::app {
namespace {

constexpr auto HinweisTitle = u"Hinweis";
constexpr auto RegistrationNotice = u"Dateierweiterung (*.tf) wurde erstellt bzw. aktuallisiert.";

// Default places of the tool windows, all relative to the main window's outer corner.
void PlaceWindowsByDefault(Shell& shell) {
    const QPoint main = shell.Main->pos();
    const int innerWidth = shell.Main->width();
    const int innerHeight = shell.Main->height();
    shell.Import->move(300, 300);
    shell.Example->move(main.x(), main.y() - 140);
    shell.CharacterSet->move(main.x() + innerWidth + 20, main.y());
    shell.Character->move(main.x(), main.y() + innerHeight + 40);
    shell.KerningPair->move(main.x() + 250, main.y() + innerHeight + 40);
}

} // namespace

StartOptions ParseCommandLine(const QStringList& arguments) {
    StartOptions options;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == u"--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == u"--no-file-type-check") {
            options.FileTypeCheck = false;
        } else if (!optionsEnded && argument == u"--quit-after-first-frame") {
            options.QuitAfterFirstFrame = true;
        } else if (!optionsEnded && (argument == u"--help" || argument == u"-h")) {
            options.ShowHelp = true;
        } else if (!optionsEnded && argument == u"--version") {
            options.ShowVersion = true;
        } else if (!optionsEnded && argument.startsWith(u"--")) {
            continue; // unknown options are ignored rather than opened as files
        } else if (options.FilePath.empty()) {
            options.FilePath = argument.toStdString();
        }
    }
    std::vector<std::string> args;
    for (const QString& argument : arguments) {
        args.push_back(argument.toStdString());
    }
    options.FileTypeCheck = options.FileTypeCheck &&
                            platform::FileTypeCheckEnabled(args, platform::ProcessEnvironment());
    return options;
}

QString EditorUsageText() {
    return QStringLiteral(
        "usage: glyfora [OPTIONS] [FILE]\n\n"
        "The editor of bitmap typefaces. FILE (.tf, .fnt or XML & Image) is opened at start.\n"
        "  --no-file-type-check      do not check the desktop's .tf registration at start\n"
        "                            (also GLYFORA_NO_FILE_TYPE_CHECK=1)\n"
        "  --quit-after-first-frame  leave once the example has been drawn (for tests)\n"
        "  --help, -h                print this text and exit\n"
        "  --version                 print the version and exit\n"
        "  --                        what follows is a file, even when it starts with --\n"
        "\"glyfora-cli --help\" lists the command-line tool's commands.\n");
}

QString EditorVersionText() {
    return QStringLiteral("glyfora " GLYFORA_VERSION "\n");
}

std::unique_ptr<Shell> StartUp(AppState& state, ShellServices& services,
                               const StartOptions& options) {
    auto shell = std::make_unique<Shell>(state, services);
    (void)platform::InitGraphicsLibrary(state.Graphics);
    NewDocument(state);
    state.View.CharacterSetZoom = 1;
    state.View.CharacterZoom = 8;
    state.View.ScrollX = 0;
    state.View.ScrollY = 0;
    state.SettingsFolder = DefaultSettingsFolder();
    state.OpenCommand = platform::MakeOpenCommand(services.ProgramPath);
    if (options.FileTypeCheck && services.CheckFileType &&
        services.CheckFileType(services.ProgramPath)) {
        services.Messages.Notice(nullptr, QString::fromUtf16(HinweisTitle),
                                 QString::fromUtf16(RegistrationNotice));
    }

    shell->Main = std::make_unique<MainWindow>();
    shell->Import = new ImportWindow(shell->Main.get());
    FillFamilyList(*shell->Import);
    shell->Example = new ExampleWindow(state.Registry, state.View, TypefaceId, shell->Main.get());
    shell->CharacterSet = new CharacterSetWindow(shell->Main.get());
    shell->CharacterSet->resize(400, shell->CharacterSet->menuBar()->sizeHint().height() + 400);
    shell->Character = new CharacterWindow(shell->Main.get());
    shell->KerningPair = new KerningPairWindow(shell->Main.get());
    PlaceWindowsByDefault(*shell);
    shell->Editing = MakeEditingContext(*shell);
    shell->History = MakeHistory(*shell);
    shell->PictureWatchTimer = new PictureWatchTimer(*shell, shell->CharacterSet);
    ConnectDispatch(*shell);
    ConnectFieldHistory(*shell);
    AcceptFileDrops(*shell);

    LoadConfiguration(*shell);
    // The preview shows the restored options before any of them is touched.
    DrawImportPreview(*shell->Import, state.Graphics);
    state.LastDialogCode = -1;
    ShowDocument(*shell);
    if (!options.FilePath.empty() && OpenTypefaceFile(*shell, options.FilePath)) {
        DrawCharacterView(*shell);
        DrawKerningPairView(*shell);
    }
    return shell;
}

void ShutDown(Shell& shell) {
    SaveConfiguration(shell);
    for (QWidget* window :
         std::initializer_list<QWidget*>{shell.Import, shell.Example, shell.CharacterSet,
                                         shell.Character, shell.KerningPair, shell.Main.get()}) {
        window->hide();
    }
    shell.Finished = true;
}

} // namespace glyfora::app
