#include "DispatchTests.h"
#include "ShellFixture.h"

#include "app/CharacterSetWindow.h"
#include "app/CharacterWindow.h"
#include "app/Dispatch.h"
#include "app/ExampleWindow.h"
#include "app/ImportWindow.h"
#include "app/KerningPairWindow.h"
#include "app/MainWindow.h"
#include "document/TypefaceIo.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWheelEvent>

#include <set>

Q_DECLARE_METATYPE(glyfora::app::SaveChoice)

namespace glyfora::app::testing {
namespace {

void Choose(Shell& shell, const char* actionName) {
    auto* action = shell.Main->findChild<QAction*>(QString::fromLatin1(actionName));
    QVERIFY2(action != nullptr, actionName);
    action->trigger();
}

void MakeModified(Shell& shell, const char* comment) {
    shell.Main->CommentField->setPlainText(QString::fromLatin1(comment));
    QVERIFY(shell.State.CurrentTypeface->Modified);
}

std::string Comment(Shell& shell) {
    return document::PropertyValue(*shell.State.CurrentTypeface, std::string("Comment"));
}

bool SendClose(QWidget& window) {
    QCloseEvent event;
    QApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

void SendWheel(QWidget& canvas, int angle) {
    const QPointF centre(canvas.width() / 2.0, canvas.height() / 2.0);
    QWheelEvent event(centre, canvas.mapToGlobal(centre), QPoint(), QPoint(0, angle),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas, &event);
}

} // namespace

void DispatchTests::tableNamesExistingObjectsOfTheRightKind() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    const auto windowOf = [&shell](WindowName name) -> QWidget* {
        switch (name) {
        case WindowName::Main: return shell.Main.get();
        case WindowName::CharacterSet: return shell.CharacterSet;
        case WindowName::Character: return shell.Character;
        case WindowName::KerningPair: return shell.KerningPair;
        case WindowName::Example: return shell.Example;
        case WindowName::Import: return shell.Import;
        }
        return nullptr;
    };
    std::set<std::pair<QObject*, Trigger>> seen;
    for (const DispatchEntry& entry : DispatchTable()) {
        QWidget* window = windowOf(entry.Window);
        const QString name = QString::fromUtf16(entry.ObjectName.data(),
                                                static_cast<qsizetype>(entry.ObjectName.size()));
        QObject* object = name.isEmpty() ? window : window->findChild<QObject*>(name);
        QVERIFY2(object != nullptr, qPrintable(name));
        QVERIFY2(entry.Handler != nullptr, qPrintable(name));
        QVERIFY2(seen.insert({object, entry.Trigger}).second, qPrintable(name));
        bool rightKind = false;
        switch (entry.Trigger) {
        case Trigger::Command: rightKind = qobject_cast<QAction*>(object) != nullptr; break;
        case Trigger::Edited:
            rightKind = qobject_cast<QLineEdit*>(object) || qobject_cast<QTextEdit*>(object) ||
                        qobject_cast<QComboBox*>(object);
            break;
        case Trigger::Clicked: rightKind = qobject_cast<QAbstractButton*>(object) != nullptr; break;
        case Trigger::Changed: rightKind = qobject_cast<QSpinBox*>(object) != nullptr; break;
        case Trigger::Selected:
            rightKind = qobject_cast<QTreeWidget*>(object) || qobject_cast<QComboBox*>(object);
            break;
        case Trigger::Wheel: rightKind = qobject_cast<Canvas*>(object) != nullptr; break;
        case Trigger::Resized:
        case Trigger::Closed: rightKind = object->isWidgetType() && object == window; break;
        }
        QVERIFY2(rightKind, qPrintable(name));
    }
}

void DispatchTests::everyMenuCommandHasARow() {
    Editor editor;
    std::set<QString> named;
    for (const DispatchEntry& entry : DispatchTable()) {
        if (entry.Trigger == Trigger::Command) {
            named.insert(QString::fromUtf16(entry.ObjectName.data(),
                                            static_cast<qsizetype>(entry.ObjectName.size())));
        }
    }
    QList<QAction*> commands = editor.TheShell->CharacterSet->menuBar()->actions();
    for (QAction* menu : editor.TheShell->Main->menuBar()->actions()) {
        commands += menu->menu()->actions();
    }
    QCOMPARE(commands.size(), 13);
    for (const QAction* command : commands) {
        QVERIFY2(named.count(command->objectName()) == 1, qPrintable(command->text()));
    }
}

void DispatchTests::newAsksBeforeDiscardingChanges_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<SaveChoice>("choice");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("unmodified") << false << SaveChoice::Cancel << 0 << true;
    QTest::newRow("discard") << true << SaveChoice::Discard << 1 << true;
    QTest::newRow("cancel") << true << SaveChoice::Cancel << 1 << false;
    // Saving needs a path; the save dialog is cancelled, so nothing is lost.
    QTest::newRow("save, dialog cancelled") << true << SaveChoice::Save << 1 << false;
}

void DispatchTests::newAsksBeforeDiscardingChanges() {
    QFETCH(bool, modified);
    QFETCH(SaveChoice, choice);
    QFETCH(int, questions);
    QFETCH(bool, replaced);

    Editor editor;
    Shell& shell = *editor.TheShell;
    document::AddCharacter(*shell.State.CurrentTypeface, 65);
    if (modified) {
        MakeModified(shell, "kept");
    }
    editor.Messages.Choices.push_back(choice);
    Choose(shell, "FileNew");
    QCOMPARE(editor.Messages.Questions, questions);
    QCOMPARE(shell.State.CurrentTypeface->Content.Characters.Empty(), replaced);
    QCOMPARE(shell.State.CurrentTypeface, document::TypefaceFromId(shell.State.Registry, 5));
    QCOMPARE(shell.Main->CommentField->toPlainText(),
             replaced ? QString() : QStringLiteral("kept"));
    QCOMPARE(shell.State.CurrentTypeface->Modified, !replaced);
}

void DispatchTests::openDialogIsAskedAsDescribed() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    shell.State.CurrentFilePath = "/somewhere/fonts/last.tf";
    Choose(shell, "FileOpen");
    QCOMPARE(editor.Files.Calls.size(), std::size_t{1});
    const FakeFileDialogs::Call& call = editor.Files.Calls[0];
    QVERIFY(!call.Save);
    QCOMPARE(call.Title, QStringLiteral("Open Typeface"));
    QCOMPARE(call.DefaultPath, QStringLiteral("/somewhere/fonts/last.tf"));
    QCOMPARE(call.Filters,
             (QStringList{QStringLiteral("Typeface (*.tf)"), QStringLiteral("XML & Image (*.xml)"),
                          QStringLiteral("BMFont (text) (*.fnt)"),
                          QStringLiteral("BMFont (XML) (*.fnt)"),
                          QStringLiteral("BMFont (binary) (*.fnt)")}));
    // Cancelled: nothing changes, nothing is said.
    QCOMPARE(shell.State.CurrentFilePath, std::string("/somewhere/fonts/last.tf"));
    QVERIFY(editor.Messages.Messages.empty());
}

void DispatchTests::openFailureKeepsDocumentAndTellsWhy() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    document::AddCharacter(*shell.State.CurrentTypeface, 66);
    document::Typeface* before = shell.State.CurrentTypeface;
    const QString missing = FreshAppData() + QStringLiteral("/missing.tf");
    editor.Files.Answers.push_back({missing, 0});
    Choose(shell, "FileOpen");
    QCOMPARE(shell.State.CurrentTypeface, before);
    QCOMPARE(shell.State.CurrentTypeface->Content.Characters.Size(), std::size_t{1});
    QVERIFY(shell.State.CurrentFilePath.empty());
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QCOMPARE(editor.Messages.Messages[0].Kind, QStringLiteral("error"));
    QVERIFY(editor.Messages.Messages[0].Text.contains(missing));
}

void DispatchTests::partlyReadFileOpensWithItsWarnings() {
    const QString damaged = QFINDTESTDATA("../fuzz/corpus/tf/damaged-crc.tf");
    QVERIFY(!damaged.isEmpty());
    Editor editor;
    Shell& shell = *editor.TheShell;
    document::Typeface* before = shell.State.CurrentTypeface;
    editor.Files.Answers.push_back({damaged, 0});
    Choose(shell, "FileOpen");
    QVERIFY(shell.State.CurrentTypeface != before);
    QCOMPARE(shell.State.CurrentFilePath, damaged.toStdString());
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    const FakeMessageBoxes::Shown& shown = editor.Messages.Messages[0];
    QCOMPARE(shown.Kind, QStringLiteral("warning"));
    QCOMPARE(shown.Title, QStringLiteral("Open Typeface"));
    QVERIFY(shown.Text.contains(damaged));
    QVERIFY(shown.Text.contains(QStringLiteral("CRC"), Qt::CaseInsensitive));
}

void DispatchTests::saveWithoutUsablePathAsksForOne_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("nothing chosen yet") << QString();
    QTest::newRow("upper-case TF") << QStringLiteral("/tmp/face.TF");
    QTest::newRow("other extension") << QStringLiteral("/tmp/face.png");
    QTest::newRow("no extension, dotted folder") << QStringLiteral("/tmp/fonts.tf/face");
}

void DispatchTests::saveWithoutUsablePathAsksForOne() {
    QFETCH(QString, path);
    Editor editor;
    Shell& shell = *editor.TheShell;
    shell.State.CurrentFilePath = path.toStdString();
    Choose(shell, "FileSave");
    QCOMPARE(editor.Files.Calls.size(), std::size_t{1});
    QVERIFY(editor.Files.Calls[0].Save);
    QCOMPARE(editor.Files.Calls[0].Title, QStringLiteral("Save Typeface"));
    QCOMPARE(editor.Files.Calls[0].DefaultPath, path);
    QCOMPARE(shell.State.CurrentFilePath, path.toStdString());
}

void DispatchTests::saveFailureKeepsPathAndTellsWhy() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "unsaved");
    const QString unreachable = FreshAppData() + QStringLiteral("/no/such/folder/face");
    editor.Files.Answers.push_back({unreachable, 0});
    Choose(shell, "FileSaveAs");
    QVERIFY(shell.State.CurrentFilePath.empty());
    QVERIFY(shell.State.CurrentTypeface->Modified);
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QCOMPARE(editor.Messages.Messages[0].Kind, QStringLiteral("error"));
    QCOMPARE(editor.Messages.Messages[0].Title, QStringLiteral("Save Typeface"));
    QVERIFY(editor.Messages.Messages[0].Text.contains(unreachable + QStringLiteral(".tf")));
}

void DispatchTests::saveAsAddsTheChosenExtensionAndOpensAgain() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "round trip");
    const QString base = FreshAppData() + QStringLiteral("/face");
    editor.Files.Answers.push_back({base, 0});
    Choose(shell, "FileSaveAs");
    const std::string saved = (base + QStringLiteral(".tf")).toStdString();
    QCOMPARE(shell.State.CurrentFilePath, saved);
    QVERIFY(QFile::exists(QString::fromStdString(saved)));
    QVERIFY(!shell.State.CurrentTypeface->Modified);

    Choose(shell, "FileNew");
    QCOMPARE(shell.Main->CommentField->toPlainText(), QString());
    editor.Files.Answers.push_back({QString::fromStdString(saved), 0});
    Choose(shell, "FileOpen");
    QCOMPARE(shell.Main->CommentField->toPlainText(), QStringLiteral("round trip"));
    QCOMPARE(Comment(shell), std::string("round trip"));
    QVERIFY(!shell.State.CurrentTypeface->Modified);
    QCOMPARE(shell.State.CurrentFilePath, saved);

    // "Save" now writes to the same file without asking.
    MakeModified(shell, "second");
    Choose(shell, "FileSave");
    QCOMPARE(editor.Files.Calls.size(), std::size_t{2});
    QVERIFY(!shell.State.CurrentTypeface->Modified);
}

void DispatchTests::saveAsXmlWritesTheDescriptionAndWarns() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "described");
    const QString base = FreshAppData() + QStringLiteral("/described");
    editor.Files.Answers.push_back({base, 1});
    Choose(shell, "FileSaveAs");
    // The description holds no properties: saved, with a warning that names what was left out.
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QCOMPARE(editor.Messages.Messages[0].Kind, QStringLiteral("warning"));
    QVERIFY(editor.Messages.Messages[0].Text.contains(QStringLiteral("Comment")));
    QCOMPARE(shell.State.CurrentFilePath, (base + QStringLiteral(".xml")).toStdString());
    QVERIFY(QFile::exists(base + QStringLiteral(".xml")));
    QVERIFY(!QFile::exists(base + QStringLiteral(".tf")));
    QVERIFY(!shell.State.CurrentTypeface->Modified);
    // An extension the chosen filter already has is not doubled.
    editor.Files.Answers.push_back({base + QStringLiteral(".xml"), 1});
    Choose(shell, "FileSaveAs");
    QCOMPARE(shell.State.CurrentFilePath, (base + QStringLiteral(".xml")).toStdString());
}

void DispatchTests::bmFontSaveKeepsTheVariantItWasOpenedAs() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    document::Typeface& typeface = *shell.State.CurrentTypeface;
    document::SetCharacterSetImage(typeface, document::MakeImage(8, 8, 0xFFFFFFFF));
    document::AddCharacter(typeface, 'A') = {'A', {0, 0, 8, 8}, {0, 0, 8, 8}};
    typeface.Modified = true;
    const auto firstBytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
    };
    const QString base = FreshAppData() + QStringLiteral("/bitmap");
    const QString fnt = base + QStringLiteral(".fnt");

    editor.Files.Answers.push_back({base, 4}); // "BMFont (binary)"
    Choose(shell, "FileSaveAs");
    QCOMPARE(shell.State.CurrentFilePath, fnt.toStdString());
    QCOMPARE(firstBytes(fnt), QByteArray("BMF\x03", 4));
    QVERIFY(QFile::exists(base + QStringLiteral("_0.png")));

    // Reopened, "Save" writes the binary variant again rather than the text one.
    Choose(shell, "FileNew");
    editor.Files.Answers.push_back({fnt, 0});
    Choose(shell, "FileOpen");
    QCOMPARE(shell.State.CurrentTypeface->Content.Characters.Size(), std::size_t{1});
    QVERIFY(QFile::remove(fnt));
    shell.State.CurrentTypeface->Modified = true;
    Choose(shell, "FileSave");
    QCOMPARE(firstBytes(fnt), QByteArray("BMF\x03", 4));

    editor.Files.Answers.push_back({fnt, 2}); // "BMFont (text)"
    Choose(shell, "FileSaveAs");
    QCOMPARE(firstBytes(fnt), QByteArray("info"));
}

void DispatchTests::saveChoiceInTheQuestionSavesFirst() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "keep me");
    const QString base = FreshAppData() + QStringLiteral("/asked");
    editor.Messages.Choices.push_back(SaveChoice::Save);
    editor.Files.Answers.push_back({base, 0});
    Choose(shell, "FileNew");
    QVERIFY(QFile::exists(base + QStringLiteral(".tf")));
    QCOMPARE(shell.Main->CommentField->toPlainText(), QString());
}

void DispatchTests::commentFieldWritesTheProperty() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    QVERIFY(!shell.State.CurrentTypeface->Modified);
    QTest::keyClicks(shell.Main->CommentField, QStringLiteral("Hallo"));
    QCOMPARE(Comment(shell), std::string("Hallo"));
    QVERIFY(shell.State.CurrentTypeface->Modified);
    // Typed text beyond ASCII arrives through input methods; insert it as they do.
    shell.Main->CommentField->moveCursor(QTextCursor::End);
    shell.Main->CommentField->insertPlainText(QString::fromUtf16(u" Grüße"));
    QCOMPARE(Comment(shell), std::string("Hallo Grüße"));

    // Showing a document fills the field without counting as an edit.
    editor.Messages.Choices.push_back(SaveChoice::Discard);
    Choose(shell, "FileNew");
    QVERIFY(!shell.State.CurrentTypeface->Modified);
    QVERIFY(shell.State.CurrentTypeface->Content.Properties.count("Comment") == 1);
}

void DispatchTests::closingMainWindowAsksAndEnds() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "pending");
    shell.Import->show();

    editor.Messages.Choices.push_back(SaveChoice::Cancel);
    QVERIFY(!SendClose(*shell.Main));
    QVERIFY(!shell.Finished);
    QVERIFY(shell.Main->isVisible());
    QVERIFY(!QFile::exists(editor.AppData + QStringLiteral("/Zorbatek/Glyfora/Configuration.ini")));

    editor.Messages.Choices.push_back(SaveChoice::Discard);
    SendClose(*shell.Main);
    QVERIFY(shell.Finished);
    QCOMPARE(editor.Messages.Questions, 2);
    for (QWidget* window : std::initializer_list<QWidget*>{shell.Main.get(), shell.Import,
                                                           shell.Example, shell.CharacterSet,
                                                           shell.Character, shell.KerningPair}) {
        QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
    }
    QVERIFY(QFile::exists(editor.AppData + QStringLiteral("/Zorbatek/Glyfora/Configuration.ini")));
}

void DispatchTests::importWindowShowsAndHides() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    shell.Import->hide();
    Choose(shell, "FileImportTtf");
    QVERIFY(shell.Import->isVisible());
    QVERIFY(!SendClose(*shell.Import));
    QVERIFY(!shell.Import->isVisible());
    QVERIFY(!shell.Finished);
    QVERIFY(shell.Main->isVisible());
}

void DispatchTests::toolWindowsWithoutCloseBoxStayOpen() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    for (QWidget* window : std::initializer_list<QWidget*>{shell.Example, shell.CharacterSet,
                                                           shell.Character, shell.KerningPair}) {
        QVERIFY(!SendClose(*window));
        QVERIFY2(window->isVisible(), qPrintable(window->windowTitle()));
    }
}

void DispatchTests::wheelZoomsCharacterViews_data() {
    QTest::addColumn<bool>("overPairCanvas");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("angles");
    QTest::addColumn<QList<int>>("zooms");
    QTest::newRow("away doubles") << false << 8 << QList<int>{120, 120} << QList<int>{16, 32};
    QTest::newRow("towards halves") << true << 8 << QList<int>{-120, -120, -120, -120}
                                    << QList<int>{4, 2, 1, 1};
    QTest::newRow("capped at 64") << false << 32 << QList<int>{120, 120} << QList<int>{64, 64};
    QTest::newRow("size of turn unused") << true << 2 << QList<int>{480} << QList<int>{4};
    QTest::newRow("partial turns add up") << false << 2 << QList<int>{60, 60} << QList<int>{2, 4};
}

void DispatchTests::wheelZoomsCharacterViews() {
    QFETCH(bool, overPairCanvas);
    QFETCH(int, start);
    QFETCH(QList<int>, angles);
    QFETCH(QList<int>, zooms);
    Editor editor;
    Shell& shell = *editor.TheShell;
    shell.State.View.CharacterZoom = start;
    QWidget& canvas = overPairCanvas ? static_cast<QWidget&>(*shell.KerningPair->Canvas)
                                     : static_cast<QWidget&>(*shell.Character->Canvas);
    for (qsizetype i = 0; i < angles.size(); ++i) {
        SendWheel(canvas, angles[i]);
        QCOMPARE(shell.State.View.CharacterZoom, std::int64_t{zooms[i]});
    }
    QCOMPARE(shell.State.View.CharacterSetZoom, std::int64_t{1});
}

void DispatchTests::exampleRedrawsOnlyWhenItChanges() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    QSignalSpy frames(shell.Example->ExampleScreen, &ExampleScreen::frameDrawn);
    QVERIFY(QTest::qWaitForWindowExposed(shell.Example));
    QTest::qWait(100);
    frames.clear();
    QTest::qWait(300);
    QCOMPARE(frames.count(), 0); // idle: nothing drawn

    shell.Example->ExampleTextField->setText(QStringLiteral("AV"));
    QTRY_VERIFY(frames.count() >= 1);
    frames.clear();
    Choose(shell, "FileNew");
    QTRY_VERIFY(frames.count() >= 1);
    // A burst of changes is drawn as a few frames, not one per change.
    frames.clear();
    for (int i = 0; i < 50; ++i) {
        shell.Example->ExampleTextField->setText(QString::number(i));
    }
    QTRY_VERIFY(frames.count() >= 1);
    QVERIFY(frames.count() < 5);
}

void DispatchTests::exampleResizeKeepsTextFieldOnTop() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    shell.Example->resize(640, 300);
    QTRY_COMPARE(shell.Example->ExampleTextField->geometry(), QRect(0, 0, 640, 20));
    QTRY_COMPARE(shell.Example->ExampleScreen->geometry(), QRect(0, 20, 640, 280));
}

} // namespace glyfora::app::testing
