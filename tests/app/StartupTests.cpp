#include "StartupTests.h"

#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "app/shell/Settings.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "app/windows/ScreenFit.h"
#include "formats/TypefaceIo.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTextEdit>

namespace glyfora::app::testing {
namespace {

QString ConfigurationFile(const QString& appData) {
    return appData + QStringLiteral("/Zorbatek/Glyfora/Configuration.ini");
}

void WriteConfiguration(const QString& appData, const QByteArray& text) {
    QDir().mkpath(appData + QStringLiteral("/Zorbatek/Glyfora"));
    QFile file(ConfigurationFile(appData));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

void StartupTests::startsWithAnEmptyDocumentUnderFive() {
    Editor editor;
    AppState& state = editor.State;
    QVERIFY(CurrentTypeface(state) != nullptr);
    QCOMPARE(CurrentTypeface(state), document::TypefaceFromId(state.Registry, 5));
    QVERIFY(CurrentTypeface(state)->Content.Characters.Empty());
    QVERIFY(!CurrentTypeface(state)->Modified);
    QCOMPARE(state.View.CharacterSetZoom, std::int64_t{1});
    QCOMPARE(state.View.CharacterZoom, std::int64_t{8});
    QCOMPARE(state.LastDialogCode, std::int64_t{-1});
    QCOMPARE(state.OpenCommand, std::string("\"/opt/glyfora/bin/glyfora\" \"%1\""));
    QCOMPARE(QString::fromStdString(state.SettingsFolder),
             editor.AppData + QStringLiteral("/Zorbatek/Glyfora/"));
    QVERIFY(state.Graphics.GraphicsLibraryReady);
    QVERIFY(state.CurrentFilePath.empty());
}

void StartupTests::registrationNoticeOnlyAfterARewrite_data() {
    QTest::addColumn<bool>("checkEnabled");
    QTest::addColumn<bool>("rewrites");
    QTest::addColumn<int>("checks");
    QTest::addColumn<int>("notices");
    QTest::newRow("registered already") << true << false << 1 << 0;
    QTest::newRow("rewritten") << true << true << 1 << 1;
    QTest::newRow("check turned off") << false << true << 0 << 0;
}

void StartupTests::registrationNoticeOnlyAfterARewrite() {
    QFETCH(bool, checkEnabled);
    QFETCH(bool, rewrites);
    QFETCH(int, checks);
    QFETCH(int, notices);
    StartOptions options;
    options.FileTypeCheck = checkEnabled;
    Editor editor(options, rewrites);
    QCOMPARE(static_cast<int>(editor.CheckedPrograms.size()), checks);
    if (checks > 0) {
        QCOMPARE(editor.CheckedPrograms[0], std::string("/opt/glyfora/bin/glyfora"));
    }
    QCOMPARE(static_cast<int>(editor.Messages.Messages.size()), notices);
    if (notices > 0) {
        const FakeMessageBoxes::Shown& shown = editor.Messages.Messages[0];
        QCOMPARE(shown.Kind, QStringLiteral("notice"));
        QCOMPARE(shown.Title, QStringLiteral("Hinweis"));
        QCOMPARE(shown.Text,
                 QStringLiteral("Dateierweiterung (*.tf) wurde erstellt bzw. aktuallisiert."));
    }
}

void StartupTests::commandLineOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("check");
    QTest::addColumn<bool>("quitAfterFirstFrame");
    QTest::addColumn<QString>("printed"); // "help", "version" or nothing
    QTest::newRow("nothing") << QStringList{} << QString() << true << false << QString();
    QTest::newRow("file") << QStringList{QStringLiteral("face.tf")} << QStringLiteral("face.tf")
                          << true << false << QString();
    QTest::newRow("options around the file")
        << QStringList{QStringLiteral("--no-file-type-check"), QStringLiteral("a b.tf"),
                       QStringLiteral("--quit-after-first-frame")}
        << QStringLiteral("a b.tf") << false << true << QString();
    QTest::newRow("first file wins")
        << QStringList{QStringLiteral("one.tf"), QStringLiteral("two.tf")}
        << QStringLiteral("one.tf") << true << false << QString();
    QTest::newRow("unknown option is not a file")
        << QStringList{QStringLiteral("--frobnicate")} << QString() << true << false << QString();
    QTest::newRow("file after --") << QStringList{QStringLiteral("--"), QStringLiteral("--odd.tf")}
                                   << QStringLiteral("--odd.tf") << true << false << QString();
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << QString() << true << false
                          << QStringLiteral("help");
    QTest::newRow("short help beside a file")
        << QStringList{QStringLiteral("face.tf"), QStringLiteral("-h")} << QStringLiteral("face.tf")
        << true << false << QStringLiteral("help");
    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << QString() << true
                             << false << QStringLiteral("version");
    QTest::newRow("a file named --help after --")
        << QStringList{QStringLiteral("--"), QStringLiteral("--help")} << QStringLiteral("--help")
        << true << false << QString();
}

void StartupTests::commandLineOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(bool, check);
    QFETCH(bool, quitAfterFirstFrame);
    QFETCH(QString, printed);
    qunsetenv("GLYFORA_NO_FILE_TYPE_CHECK");
    const StartOptions options = ParseCommandLine(arguments);
    QCOMPARE(QString::fromStdString(options.FilePath), file);
    QCOMPARE(options.FileTypeCheck, check);
    QCOMPARE(options.QuitAfterFirstFrame, quitAfterFirstFrame);
    QCOMPARE(options.ShowHelp, printed == u"help");
    QCOMPARE(options.ShowVersion, printed == u"version");
}

void StartupTests::environmentTurnsTheCheckOff() {
    qputenv("GLYFORA_NO_FILE_TYPE_CHECK", "1");
    QVERIFY(!ParseCommandLine({}).FileTypeCheck);
    qputenv("GLYFORA_NO_FILE_TYPE_CHECK", "0");
    QVERIFY(ParseCommandLine({}).FileTypeCheck);
    qunsetenv("GLYFORA_NO_FILE_TYPE_CHECK");
}

void StartupTests::commandLineFileOpensBeforeTheFirstEvent() {
    const QString path = FreshAppData() + QStringLiteral("/given.tf");
    {
        document::TypefaceRegistry registry;
        document::Typeface* typeface = document::CreateTypeface(registry, 5);
        document::AddCharacter(*typeface, 65);
        document::PropertyValue(*typeface, "Comment") = "from the command line";
        QVERIFY(
            formats::SaveTypeface(registry, 5, path.toStdString(), formats::FileFormatId::Tf).Ok());
    }
    StartOptions options = Editor::NoCheck();
    options.FilePath = path.toStdString();
    Editor editor(options);
    QVERIFY(editor.Messages.Messages.empty());
    QCOMPARE(editor.State.CurrentFilePath, path.toStdString());
    QCOMPARE(CurrentTypeface(editor.State), document::TypefaceFromId(editor.State.Registry, 5));
    QCOMPARE(CurrentTypeface(editor.State)->Content.Characters.Size(), std::size_t{1});
    QCOMPARE(editor.TheShell->Main->CommentField->toPlainText(),
             QStringLiteral("from the command line"));
    QVERIFY(!CurrentTypeface(editor.State)->Modified);
}

void StartupTests::commandLineFileThatCannotBeOpened() {
    StartOptions options = Editor::NoCheck();
    const QString missing = FreshAppData() + QStringLiteral("/gone.tf");
    options.FilePath = missing.toStdString();
    Editor editor(options);
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QCOMPARE(editor.Messages.Messages[0].Kind, QStringLiteral("error"));
    QVERIFY(editor.Messages.Messages[0].Text.contains(missing));
    QVERIFY(CurrentTypeface(editor.State) != nullptr);
    QVERIFY(editor.State.CurrentFilePath.empty());
    QVERIFY(editor.TheShell->Main->isVisible());
}

void StartupTests::secondRunRestoresWhatTheFirstLeft() {
    const QString appData = FreshAppData();
    {
        Editor first(Editor::NoCheck(), false, appData);
        Shell& shell = *first.TheShell;
        shell.Main->move(310, 260);
        shell.Example->move(320, 90);
        shell.Example->resize(640, 150);
        // Inside the smallest screen a test platform has (800 x 600), so nothing is pulled back.
        shell.CharacterSet->move(410, 170);
        shell.CharacterSet->resize(300, 320);
        shell.Import->hide();
        first.State.View.CharacterSetZoom = 4;
        first.State.View.CharacterZoom = 16;
        first.State.EditorPath = "/usr/bin/gimp";
        QCoreApplication::processEvents();
        ShutDown(shell);
    }
    QVERIFY(QFile::exists(ConfigurationFile(appData)));

    Editor second(Editor::NoCheck(), false, appData);
    Shell& shell = *second.TheShell;
    QCOMPARE(shell.Main->pos(), FittedPlace(*shell.Main, QPoint(310, 260)));
    QCOMPARE(shell.Example->pos(), FittedPlace(*shell.Example, QPoint(320, 90)));
    QCOMPARE(shell.Example->size(), QSize(640, 150));
    QCOMPARE(shell.CharacterSet->pos(), FittedPlace(*shell.CharacterSet, QPoint(410, 170)));
    QCOMPARE(shell.CharacterSet->size(), QSize(300, 320));
    QVERIFY(!shell.Import->isVisible());
    QVERIFY(shell.Example->isVisible());
    QVERIFY(shell.CharacterSet->isVisible());
    // Shut-down hides these two, so they start hidden from the second run on.
    QVERIFY(!shell.Character->isVisible());
    QVERIFY(!shell.KerningPair->isVisible());
    QCOMPARE(second.State.View.CharacterSetZoom, std::int64_t{4});
    QCOMPARE(second.State.View.CharacterZoom, std::int64_t{16});
    QCOMPARE(second.State.EditorPath, std::string("/usr/bin/gimp"));
}

void StartupTests::storedZoomsAreKeptInRange_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("characterSetZoom");
    QTest::addColumn<int>("characterZoom");
    QTest::newRow("in range") << QByteArray("2") << 2 << 2;
    QTest::newRow("too large") << QByteArray("4096") << 64 << 64;
    QTest::newRow("not a power of two") << QByteArray("24") << 16 << 16;
    QTest::newRow("zero") << QByteArray("0") << 1 << 1;
    QTest::newRow("negative") << QByteArray("-8") << 1 << 1;
    QTest::newRow("beyond 64 bits") << QByteArray("99999999999999999999999") << 64 << 64;
    QTest::newRow("not a number") << QByteArray("big") << 1 << 1;
}

void StartupTests::storedZoomsAreKeptInRange() {
    QFETCH(QByteArray, stored);
    QFETCH(int, characterSetZoom);
    QFETCH(int, characterZoom);
    const QString appData = FreshAppData();
    WriteConfiguration(appData, "[WindowCharacterSet]\nZoom=" + stored +
                                    "\n[WindowCharacter]\nZoom=" + stored + "\n");
    Editor editor(Editor::NoCheck(), false, appData);
    QCOMPARE(editor.State.View.CharacterSetZoom, std::int64_t{characterSetZoom});
    QCOMPARE(editor.State.View.CharacterZoom, std::int64_t{characterZoom});
}

void StartupTests::positionsOffEveryScreenComeBack_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QPoint>("placed");
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    Q_UNUSED(screens);
    QTest::newRow("on the first screen") << QRect(300, 250, 720, 560) << QPoint(300, 250);
    QTest::newRow("partly on a screen") << QRect(-100, -20, 720, 560) << QPoint(-100, -20);
    QTest::newRow("far left") << QRect(-5000, 200, 720, 560) << QPoint(0, 200);
    QTest::newRow("far right, nearest is the second")
        << QRect(9000, 900, 300, 100) << QPoint(2900, 900);
    QTest::newRow("below the second") << QRect(2500, 3000, 300, 100) << QPoint(2500, 924);
    QTest::newRow("larger than the screen") << QRect(-9000, -9000, 4000, 3000) << QPoint(0, 0);
}

void StartupTests::positionsOffEveryScreenComeBack() {
    QFETCH(QRect, frame);
    QFETCH(QPoint, placed);
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    QCOMPARE(PlaceOnScreens(frame, screens), placed);

    // Through the settings file, against whatever screens this run has.
    const QString appData = FreshAppData();
    WriteConfiguration(appData, "[WindowExample]\nX=-30000\nY=-30000\n");
    Editor editor(Editor::NoCheck(), false, appData);
    const QRect example = editor.TheShell->Example->frameGeometry();
    bool onAScreen = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        onAScreen = onAScreen || screen->availableGeometry().intersects(example);
    }
    QVERIFY(onAScreen);

    // Nor is a window moved off every screen stored there.
    editor.TheShell->Example->move(-30000, -30000);
    const WindowPlacement stored = StoreWindow(*editor.TheShell->Example, WindowPosition);
    const QRect storedFrame(QPoint(static_cast<int>(*stored.X), static_cast<int>(*stored.Y)),
                            example.size());
    bool storedOnAScreen = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        storedOnAScreen = storedOnAScreen || screen->availableGeometry().intersects(storedFrame);
    }
    QVERIFY(storedOnAScreen);
}

void StartupTests::registrationIsWrittenOnceIntoTheDataFolder() {
    const QString dataHome = FreshAppData();
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
    const std::string program = "/opt/glyfora one/bin/glyfora";
    QVERIFY(CheckFileTypeRegistrationOfProgram(program));
    QVERIFY(QFile::exists(dataHome + QStringLiteral("/applications/glyfora.desktop")));
    QVERIFY(!CheckFileTypeRegistrationOfProgram(program));
    // The program moved: registered again.
    QVERIFY(CheckFileTypeRegistrationOfProgram("/usr/local/bin/glyfora"));
    qputenv("XDG_DATA_HOME", saved);
}

void StartupTests::installedProgramLeavesTheRegistrationAlone() {
    const QString root = FreshAppData();
    const QString dataHome = root + QStringLiteral("/data");
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
    // What "cmake --install --prefix <root>/usr" puts beside the editor.
    QVERIFY(QDir().mkpath(root + QStringLiteral("/usr/share/applications")));
    QFile entry(root + QStringLiteral("/usr/share/applications/com.zorbatek.Glyfora.desktop"));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.close();

    QVERIFY(!CheckFileTypeRegistrationOfProgram(
        (root + QStringLiteral("/usr/bin/glyfora")).toStdString()));
    QVERIFY(!QFile::exists(dataHome + QStringLiteral("/applications/glyfora.desktop")));
    QVERIFY(!QFile::exists(dataHome + QStringLiteral("/mime/packages/glyfora.xml")));
    // A copy of the program outside the installation still registers itself.
    QVERIFY(CheckFileTypeRegistrationOfProgram(
        (root + QStringLiteral("/portable/glyfora")).toStdString()));
    QVERIFY(QFile::exists(dataHome + QStringLiteral("/applications/glyfora.desktop")));
    qputenv("XDG_DATA_HOME", saved);
}

void StartupTests::hiddenMainWindowStaysHidden() {
    const QString appData = FreshAppData();
    WriteConfiguration(appData, "[WindowMain]\nHide=1\n[WindowImport]\nHide=1\n");
    Editor editor(Editor::NoCheck(), false, appData);
    QVERIFY(!editor.TheShell->Main->isVisible());
    QVERIFY(!editor.TheShell->Import->isVisible());
    QVERIFY(editor.TheShell->Example->isVisible());
}

GLYFORA_QTEST(StartupTests);

} // namespace glyfora::app::testing
