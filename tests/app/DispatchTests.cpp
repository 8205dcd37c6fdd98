#include "DispatchTests.h"

#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "app/startup/Dispatch.h"
#include "app/surfaces/ExampleScreen.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/EffectsFrame.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "formats/TypefaceIo.h"

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
Q_DECLARE_METATYPE(std::vector<glyfora::app::PartlyReadChoice>)

namespace glyfora::app::testing {
namespace {

void Choose(Shell& shell, const char* actionName) {
    auto* action = shell.Main->findChild<QAction*>(QString::fromLatin1(actionName));
    QVERIFY2(action != nullptr, actionName);
    action->trigger();
}

void MakeModified(Shell& shell, const char* comment) {
    shell.Main->CommentField->setPlainText(QString::fromLatin1(comment));
    QVERIFY(CurrentTypeface(shell.State)->Modified);
}

std::string Comment(Shell& shell) {
    return document::PropertyValue(*CurrentTypeface(shell.State), std::string("Comment"));
}

bool SendClose(QWidget& window) {
    QCloseEvent event;
    QApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

void SendWheel(QWidget& canvas, int angle) {
    const QPointF centre(canvas.width() / 2.0, canvas.height() / 2.0);
    QWheelEvent event(centre, canvas.mapToGlobal(centre), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas, &event);
}

} // namespace

void DispatchTests::tableNamesExistingObjectsOfTheRightKind() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    const std::set<QObject*> windows{shell.Main.get(),  shell.CharacterSet, shell.Character,
                                     shell.KerningPair, shell.Example,      shell.Import};
    std::set<std::pair<QObject*, Trigger>> seen;
    for (const DispatchEntry& entry : DispatchTable()) {
        QObject* object = entry.Control(shell);
        QVERIFY(object != nullptr);
        const QString name = object->objectName();
        QVERIFY2(!name.isEmpty(), "every control reached by the table carries its name");
        QVERIFY2(entry.Handler != nullptr, qPrintable(name));
        QVERIFY2(seen.insert({object, entry.Trigger}).second, qPrintable(name));
        bool rightKind = false;
        switch (entry.Trigger) {
        case Trigger::Command:
            rightKind = qobject_cast<QAction*>(object) != nullptr;
            break;
        case Trigger::Edited:
            rightKind = qobject_cast<QLineEdit*>(object) || qobject_cast<QTextEdit*>(object) ||
                        qobject_cast<QComboBox*>(object);
            break;
        case Trigger::Clicked:
            rightKind = qobject_cast<QAbstractButton*>(object) != nullptr;
            break;
        case Trigger::Changed:
            rightKind = qobject_cast<QSpinBox*>(object) || qobject_cast<EffectsFrame*>(object);
            break;
        case Trigger::Selected:
            rightKind = qobject_cast<QTreeWidget*>(object) || qobject_cast<QComboBox*>(object);
            break;
        case Trigger::Wheel:
            rightKind = qobject_cast<CanvasWidget*>(object) != nullptr;
            break;
        case Trigger::Mouse:
            rightKind = qobject_cast<CharacterSetCanvas*>(object) != nullptr;
            break;
        case Trigger::Resized:
        case Trigger::Closed:
            rightKind = windows.count(object) == 1;
            break;
        }
        QVERIFY2(rightKind, qPrintable(name));
    }
}

void DispatchTests::everyMenuCommandHasARow() {
    Editor editor;
    std::multiset<QObject*> rows;
    for (const DispatchEntry& entry : DispatchTable()) {
        if (entry.Trigger == Trigger::Command) {
            rows.insert(entry.Control(*editor.TheShell));
        }
    }
    QList<QAction*> commands = editor.TheShell->CharacterSet->menuBar()->actions();
    for (QAction* menu : editor.TheShell->Main->menuBar()->actions()) {
        for (QAction* entry : menu->menu()->actions()) {
            // "Open Recent" is a menu of its own, filled with the list of files.
            if (!entry->isSeparator() && entry->menu() == nullptr) {
                commands += entry;
            }
        }
    }
    // The example window's context menu "Ansicht".
    for (QAction* entry : editor.TheShell->Example->ViewMenu->actions()) {
        if (!entry->isSeparator()) {
            commands += entry;
        }
    }
    QCOMPARE(commands.size(), 28);
    // Besides the menus, Delete in each of the two lists.
    QCOMPARE(rows.size(), std::size_t{30});
    for (QAction* command : commands) {
        QVERIFY2(rows.count(command) == 1, qPrintable(command->text()));
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
    document::AddCharacter(*CurrentTypeface(shell.State), 65);
    if (modified) {
        MakeModified(shell, "kept");
    }
    editor.Messages.Choices.push_back(choice);
    Choose(shell, "FileNew");
    QCOMPARE(editor.Messages.Questions, questions);
    QCOMPARE(CurrentTypeface(shell.State)->Content.Characters.Empty(), replaced);
    QCOMPARE(CurrentTypeface(shell.State), document::TypefaceFromId(shell.State.Registry, 5));
    QCOMPARE(shell.Main->CommentField->toPlainText(),
             replaced ? QString() : QStringLiteral("kept"));
    QCOMPARE(CurrentTypeface(shell.State)->Modified, !replaced);
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
                          QStringLiteral("BMFont (binary) (*.fnt)"),
                          QStringLiteral("BMFont (JSON) (*.json)")}));
    // Cancelled: nothing changes, nothing is said.
    QCOMPARE(shell.State.CurrentFilePath, std::string("/somewhere/fonts/last.tf"));
    QVERIFY(editor.Messages.Messages.empty());
}

void DispatchTests::openFailureKeepsDocumentAndTellsWhy() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    document::AddCharacter(*CurrentTypeface(shell.State), 66);
    document::Typeface* before = CurrentTypeface(shell.State);
    const QString missing = FreshAppData() + QStringLiteral("/missing.tf");
    editor.Files.Answers.push_back({missing, 0});
    Choose(shell, "FileOpen");
    QCOMPARE(CurrentTypeface(shell.State), before);
    QCOMPARE(CurrentTypeface(shell.State)->Content.Characters.Size(), std::size_t{1});
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
    document::Typeface* before = CurrentTypeface(shell.State);
    editor.Files.Answers.push_back({damaged, 0});
    Choose(shell, "FileOpen");
    QVERIFY(CurrentTypeface(shell.State) != before);
    QCOMPARE(shell.State.CurrentFilePath, damaged.toStdString());
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    const FakeMessageBoxes::Shown& shown = editor.Messages.Messages[0];
    QCOMPARE(shown.Kind, QStringLiteral("warning"));
    QCOMPARE(shown.Title, QStringLiteral("Open Typeface"));
    QVERIFY(shown.Text.contains(damaged));
    QVERIFY(shown.Text.contains(QStringLiteral("CRC"), Qt::CaseInsensitive));
}

void DispatchTests::saveOverAPartlyReadFileAsksFirst_data() {
    using Choices = std::vector<PartlyReadChoice>;
    QTest::addColumn<Choices>("choices");
    QTest::addColumn<QString>("saveAsName"); // what the file dialog answers, if it is asked
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("originalKept");
    QTest::addColumn<bool>("savedElsewhere");
    QTest::newRow("closed: keeps the original") << Choices{} << QString() << 1 << true << false;
    QTest::newRow("keep original")
        << Choices{PartlyReadChoice::KeepOriginal} << QString() << 1 << true << false;
    QTest::newRow("overwrite") << Choices{PartlyReadChoice::Overwrite} << QString() << 1 << false
                               << false;
    QTest::newRow("save as another file")
        << Choices{PartlyReadChoice::SaveAs} << QStringLiteral("recovered.tf") << 1 << true << true;
    QTest::newRow("save as the same file asks again")
        << Choices{PartlyReadChoice::SaveAs, PartlyReadChoice::KeepOriginal}
        << QStringLiteral("damaged.tf") << 2 << true << false;
}

void DispatchTests::saveOverAPartlyReadFileAsksFirst() {
    QFETCH(std::vector<PartlyReadChoice>, choices);
    QFETCH(QString, saveAsName);
    QFETCH(int, questions);
    QFETCH(bool, originalKept);
    QFETCH(bool, savedElsewhere);
    const QString folder = FreshAppData();
    const QString damaged = folder + QStringLiteral("/damaged.tf");
    QVERIFY(QFile::copy(QFINDTESTDATA("../fuzz/corpus/tf/damaged-crc.tf"), damaged));
    QFile original(damaged);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray originalBytes = original.readAll();
    original.close();
    Editor editor;
    Shell& shell = *editor.TheShell;
    editor.Files.Answers.push_back({damaged, 0});
    Choose(shell, "FileOpen");
    QVERIFY(shell.State.CurrentFilePartlyRead);
    MakeModified(shell, "edited");
    editor.Messages.PartlyReadChoices.assign(choices.begin(), choices.end());
    if (!saveAsName.isEmpty()) {
        editor.Files.Answers.push_back({folder + u'/' + saveAsName, 0});
    }
    Choose(shell, "FileSave");

    QCOMPARE(editor.Messages.PartlyReadQuestions.size(), std::size_t(questions));
    QCOMPARE(editor.Messages.PartlyReadQuestions[0], damaged);
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll() == originalBytes, originalKept);
    original.close();
    QCOMPARE(QFile::exists(folder + QStringLiteral("/recovered.tf")), savedElsewhere);
    const bool written = !originalKept || savedElsewhere;
    QCOMPARE(CurrentTypeface(shell.State)->Modified, !written);
    QCOMPARE(shell.State.CurrentFilePartlyRead, !written);
    // The file written now holds the whole document: saving it again asks nothing.
    if (written) {
        MakeModified(shell, "edited again");
        Choose(shell, "FileSave");
        QCOMPARE(editor.Messages.PartlyReadQuestions.size(), std::size_t(questions));
        QVERIFY(!CurrentTypeface(shell.State)->Modified);
    }
}

void DispatchTests::saveWithoutUsablePathAsksForOne_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("nothing chosen yet") << QString();
    QTest::newRow("other extension") << QStringLiteral("/tmp/face.png");
    QTest::newRow("no extension, dotted folder") << QStringLiteral("/tmp/fonts.tf/face");
}

void DispatchTests::saveWithoutUsablePathAsksForOne() {
    QFETCH(QString, path);
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "unsaved");
    shell.State.CurrentFilePath = path.toStdString();
    Choose(shell, "FileSave");
    QCOMPARE(editor.Files.Calls.size(), std::size_t{1});
    QVERIFY(editor.Files.Calls[0].Save);
    QCOMPARE(editor.Files.Calls[0].Title, QStringLiteral("Save Typeface"));
    QCOMPARE(editor.Files.Calls[0].DefaultPath, path);
    QCOMPARE(shell.State.CurrentFilePath, path.toStdString());
}

void DispatchTests::saveTakesTheExtensionInAnyLetterCase() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "upper case");
    const QString path = FreshAppData() + QStringLiteral("/face.TF");
    shell.State.CurrentFilePath = path.toStdString();
    Choose(shell, "FileSave");
    QCOMPARE(editor.Files.Calls.size(), std::size_t{0});
    QVERIFY(QFile::exists(path));
    QVERIFY(!CurrentTypeface(shell.State)->Modified);
    QCOMPARE(shell.State.CurrentFileFormat, formats::FileFormatId::Tf);
}

void DispatchTests::saveOfAnUnchangedDocumentWritesNothing() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    const QString path = FreshAppData() + QStringLiteral("/unchanged.tf");
    MakeModified(shell, "first");
    shell.State.CurrentFilePath = path.toStdString();
    Choose(shell, "FileSave");
    QVERIFY(QFile::remove(path));
    // Saved and unchanged since: neither the file nor a dialog.
    Choose(shell, "FileSave");
    QVERIFY(!QFile::exists(path));
    // A fresh document has nothing to save either.
    Choose(shell, "FileNew");
    Choose(shell, "FileSave");
    QCOMPARE(editor.Files.Calls.size(), std::size_t{0});
    QVERIFY(!QFile::exists(path));
}

void DispatchTests::saveFailureKeepsPathAndTellsWhy() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "unsaved");
    const QString unreachable = FreshAppData() + QStringLiteral("/no/such/folder/face");
    editor.Files.Answers.push_back({unreachable, 0});
    Choose(shell, "FileSaveAs");
    QVERIFY(shell.State.CurrentFilePath.empty());
    QVERIFY(CurrentTypeface(shell.State)->Modified);
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
    QVERIFY(!CurrentTypeface(shell.State)->Modified);

    Choose(shell, "FileNew");
    QCOMPARE(shell.Main->CommentField->toPlainText(), QString());
    editor.Files.Answers.push_back({QString::fromStdString(saved), 0});
    Choose(shell, "FileOpen");
    QCOMPARE(shell.Main->CommentField->toPlainText(), QStringLiteral("round trip"));
    QCOMPARE(Comment(shell), std::string("round trip"));
    QVERIFY(!CurrentTypeface(shell.State)->Modified);
    QCOMPARE(shell.State.CurrentFilePath, saved);

    // "Save" now writes to the same file without asking.
    MakeModified(shell, "second");
    Choose(shell, "FileSave");
    QCOMPARE(editor.Files.Calls.size(), std::size_t{2});
    QVERIFY(!CurrentTypeface(shell.State)->Modified);
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
    QVERIFY(!CurrentTypeface(shell.State)->Modified);
    // An extension the chosen filter already has is not doubled.
    editor.Files.Answers.push_back({base + QStringLiteral(".xml"), 1});
    Choose(shell, "FileSaveAs");
    QCOMPARE(shell.State.CurrentFilePath, (base + QStringLiteral(".xml")).toStdString());
}

void DispatchTests::bmFontSaveKeepsTheVariantItWasOpenedAs() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    document::Typeface& typeface = *CurrentTypeface(shell.State);
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
    QCOMPARE(CurrentTypeface(shell.State)->Content.Characters.Size(), std::size_t{1});
    QVERIFY(QFile::remove(fnt));
    CurrentTypeface(shell.State)->Modified = true;
    Choose(shell, "FileSave");
    QCOMPARE(firstBytes(fnt), QByteArray("BMF\x03", 4));

    editor.Files.Answers.push_back({fnt, 2}); // "BMFont (text)"
    Choose(shell, "FileSaveAs");
    QCOMPARE(firstBytes(fnt), QByteArray("info"));
}

void DispatchTests::saveAfterNewNeverOverwritesTheOpenedFile() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    MakeModified(shell, "kept");
    const QString folder = FreshAppData();
    const QString kept = folder + QStringLiteral("/kept.tf");
    editor.Files.Answers.push_back({kept, 0});
    Choose(shell, "FileSaveAs");
    QVERIFY(QFile::exists(kept));
    const QByteArray before = [&] {
        QFile file(kept);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    Choose(shell, "FileNew");
    MakeModified(shell, "another document");
    Choose(shell, "FileSave"); // asks for a name, starting in the same folder; cancelled here
    QCOMPARE(editor.Files.Calls.size(), std::size_t{2});
    QVERIFY(editor.Files.Calls[1].Save);
    QCOMPARE(editor.Files.Calls[1].DefaultPath, folder + QStringLiteral("/"));
    QFile file(kept);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
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
    QVERIFY(!CurrentTypeface(shell.State)->Modified);
    QTest::keyClicks(shell.Main->CommentField, QStringLiteral("Hallo"));
    QCOMPARE(Comment(shell), std::string("Hallo"));
    QVERIFY(CurrentTypeface(shell.State)->Modified);
    // Typed text beyond ASCII arrives through input methods; insert it as they do.
    shell.Main->CommentField->moveCursor(QTextCursor::End);
    shell.Main->CommentField->insertPlainText(QString::fromUtf16(u" Grüße"));
    QCOMPARE(Comment(shell), std::string("Hallo Grüße"));

    // Showing a document fills the field without counting as an edit.
    editor.Messages.Choices.push_back(SaveChoice::Discard);
    Choose(shell, "FileNew");
    QVERIFY(!CurrentTypeface(shell.State)->Modified);
    QVERIFY(CurrentTypeface(shell.State)->Content.Properties.count("Comment") == 1);
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
    for (QWidget* window :
         std::initializer_list<QWidget*>{shell.Main.get(), shell.Import, shell.Example,
                                         shell.CharacterSet, shell.Character, shell.KerningPair}) {
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
    QTest::newRow("towards halves")
        << true << 8 << QList<int>{-120, -120, -120, -120} << QList<int>{4, 2, 1, 1};
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
    const ExampleScreen& screen = *shell.Example->ExampleScreen;
    QVERIFY(QTest::qWaitForWindowExposed(shell.Example));
    QTest::qWait(100);
    std::int64_t before = screen.FramesDrawn();
    QTest::qWait(300);
    QCOMPARE(screen.FramesDrawn(), before); // idle: nothing drawn

    shell.Example->ExampleTextField->setText(QStringLiteral("AV"));
    QTRY_VERIFY(screen.FramesDrawn() > before);
    before = screen.FramesDrawn();
    Choose(shell, "FileNew");
    QTRY_VERIFY(screen.FramesDrawn() > before);
    // A burst of changes is drawn as a few frames, not one per change.
    before = screen.FramesDrawn();
    for (int i = 0; i < 50; ++i) {
        shell.Example->ExampleTextField->setText(QString::number(i));
    }
    QTRY_VERIFY(screen.FramesDrawn() > before);
    QVERIFY(screen.FramesDrawn() - before < 5);
}

void DispatchTests::exampleResizeKeepsTextFieldOnTop() {
    Editor editor;
    Shell& shell = *editor.TheShell;
    shell.Example->resize(640, 300);
    QTRY_COMPARE(shell.Example->ExampleTextField->geometry(), QRect(0, 0, 640, 20));
    QTRY_COMPARE(shell.Example->ExampleScreen->Widget()->geometry(), QRect(0, 20, 640, 280));
}

GLYFORA_QTEST(DispatchTests);

} // namespace glyfora::app::testing
