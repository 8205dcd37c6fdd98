#include "LayoutCommandTests.h"

#include "PngBytes.h"
#include "QtTestRegistry.h"
#include "ScratchFolder.h"
#include "ShellFixture.h"
#include "app/editing/CharacterSetPicture.h"
#include "app/windows/AddImageDialog.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/MainWindow.h"
#include "app/windows/PackCompactlyDialog.h"
#include "formats/PictureFile.h"
#include "formats/PngCodec.h"
#include "platform/Folders.h"
#include "views/CharacterSetView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

namespace glyfora::app::testing {

namespace {

document::Typeface& Document(Editor& editor) {
    return *document::TypefaceFromId(editor.State.Registry, TypefaceId);
}

void Trigger(QWidget* window, const QString& actionName) {
    auto* action = window->findChild<QAction*>(actionName);
    QVERIFY(action != nullptr);
    action->trigger();
}

// What the number prompt looked like when it came up.
struct PromptSeen {
    bool Shown = false;
    QString Title;
    QString Label;
    QString Text;
    QString Selected;
    QStringList Buttons;
};

// The number prompt on screen, if any.
QDialog* VisiblePrompt() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog != nullptr && dialog->isVisible() &&
            dialog->objectName() == QStringLiteral("NumberPrompt")) {
            return dialog;
        }
    }
    return nullptr;
}

// Answers the next number prompt once it is on screen: types answer over the selected default and
// presses Enter, or presses Escape when answer is null.
void AnswerPrompt(const QString& answer, PromptSeen& seen) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer, &seen] {
        QDialog* dialog = VisiblePrompt();
        if (dialog == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        auto* field = dialog->findChild<QLineEdit*>();
        seen.Shown = true;
        seen.Title = dialog->windowTitle();
        seen.Label = dialog->findChild<QLabel*>()->text();
        seen.Text = field->text();
        seen.Selected = field->selectedText();
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            seen.Buttons << button->text();
        }
        if (answer.isNull()) {
            QTest::keyClick(field, Qt::Key_Escape);
        } else {
            QTest::keyClicks(field, answer);
            QTest::keyClick(field, Qt::Key_Return);
        }
    });
    poll->start();
}

// What the "Pack compactly" question that comes up next proposed; it is answered with the rules
// given, or closed when there are none.
struct PackAnswer {
    std::optional<document::PackingRules> Rules;
    std::optional<document::PackingRules> Proposed; // filled in when it was asked
};

void AnswerPackDialog(PackAnswer& answer) {
    QTimer::singleShot(0, [&answer] {
        auto* dialog = qobject_cast<PackCompactlyDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Pack compactly"));
        answer.Proposed = dialog->Rules();
        if (!answer.Rules) {
            dialog->close();
            return;
        }
        dialog->GutterField->setValue(static_cast<int>(answer.Rules->Gutter));
        dialog->MaxWidthField->setValue(static_cast<int>(answer.Rules->MaxWidth));
        dialog->PowerOfTwoBox->setChecked(answer.Rules->PowerOfTwo);
        dialog->OkButton->click();
    });
}

document::Character& AddCharacter(Editor& editor, std::int64_t code, document::Rect64 source,
                                  document::Rect64 outlay = {}) {
    document::Character& character = document::AddCharacter(Document(editor), code);
    character.Source = source;
    character.Outlay = outlay;
    return character;
}

QString TestData(const QString& name) {
    return QStringLiteral(GLYFORA_TEST_DATA_FOLDER "/") + name;
}

} // namespace

void LayoutCommandTests::initTestCase() {
    // An earlier test may have ended the application (QCoreApplication::exit) without a running
    // event loop; that leaves every later modal loop returning at once. One pass through exec()
    // clears it, so the prompts below really wait for their answers.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

void LayoutCommandTests::copyCommandsFillLowerCase() {
    Editor editor;
    AddCharacter(editor, 66, {10, 20, 7, 9});
    AddCharacter(editor, 196, {40, 100, 9, 14});
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditCopyUpperToLower"));
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditCopyUmlauts"));
    const document::Character* b = document::FindCharacter(Document(editor), 98);
    QVERIFY(b != nullptr);
    QCOMPARE(b->Source, (document::Rect64{10, 20, 7, 9}));
    const document::Character* aUmlaut = document::FindCharacter(Document(editor), 228);
    QVERIFY(aUmlaut != nullptr);
    QCOMPARE(aUmlaut->Source.Y, 164);
    QVERIFY(Document(editor).Modified);
    QVERIFY(editor.State.View.CurrentCharacter == nullptr);
    QVERIFY(editor.Messages.Messages.empty());
}

void LayoutCommandTests::scalePromptIsAskedAsDescribedAndScales() {
    Editor editor;
    AddCharacter(editor, 65, {5, 7, 5, 7}, {1, 2, 3, 4});
    PromptSeen seen;
    AnswerPrompt(QStringLiteral("0.5"), seen);
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditScaleLayout"));
    QVERIFY(seen.Shown);
    QCOMPARE(seen.Title, QString());
    QCOMPARE(seen.Label, QStringLiteral("Scale:"));
    QCOMPARE(seen.Text, QStringLiteral("1.0"));
    QCOMPARE(seen.Selected, QStringLiteral("1.0"));
    QCOMPARE(seen.Buttons, QStringList{QStringLiteral("OK")});
    const document::Character& a = *document::FindCharacter(Document(editor), 65);
    QCOMPARE(a.Source, (document::Rect64{2, 4, 2, 4}));
    QCOMPARE(a.Outlay, (document::Rect64{0, 1, 2, 2}));
    QVERIFY(Document(editor).Modified);
}

void LayoutCommandTests::spacingPromptIsAskedAsDescribedAndSpaces() {
    Editor editor;
    document::SetCharacterSetImage(Document(editor), document::MakeImage(512, 256, 0xFF0000FFU));
    AddCharacter(editor, 17, {32, 16, 5, 6}, {1, 2, 7, 12});
    PromptSeen seen;
    AnswerPrompt(QStringLiteral("2"), seen);
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditSpacingLayout"));
    QVERIFY(seen.Shown);
    QCOMPARE(seen.Label, QStringLiteral("Spacing:"));
    QCOMPARE(seen.Selected, QStringLiteral("0"));
    QCOMPARE(Document(editor).Content.Image->Width, 576);
    QCOMPARE(Document(editor).Content.Image->Height, 320);
    QCOMPARE(document::FindCharacter(Document(editor), 17)->Source,
             (document::Rect64{36, 20, 9, 10}));
}

void LayoutCommandTests::closedPromptChangesNothingAndSaysNothing() {
    Editor editor;
    AddCharacter(editor, 65, {5, 7, 5, 7});
    for (const QString& command :
         {QStringLiteral("EditScaleLayout"), QStringLiteral("EditSpacingLayout")}) {
        PromptSeen seen;
        AnswerPrompt(QString(), seen);
        Trigger(editor.TheShell->Main.get(), command);
        QVERIFY(seen.Shown);
    }
    QCOMPARE(document::FindCharacter(Document(editor), 65)->Source, (document::Rect64{5, 7, 5, 7}));
    QVERIFY(!Document(editor).Modified);
    QVERIFY(editor.Messages.Messages.empty());
}

void LayoutCommandTests::unreadableAnswerOrRefusalIsShown_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");
    QTest::newRow("scale by a word") << QStringLiteral("EditScaleLayout") << QStringLiteral("abc");
    QTest::newRow("scale beyond 32 bits")
        << QStringLiteral("EditScaleLayout") << QStringLiteral("1e9");
    QTest::newRow("scale by infinity")
        << QStringLiteral("EditScaleLayout") << QStringLiteral("Infinity");
    QTest::newRow("spacing by a word")
        << QStringLiteral("EditSpacingLayout") << QStringLiteral("x");
    QTest::newRow("spacing by NaN") << QStringLiteral("EditSpacingLayout") << QStringLiteral("NaN");
    QTest::newRow("spacing beyond the picture limit")
        << QStringLiteral("EditSpacingLayout") << QStringLiteral("100000");
}

void LayoutCommandTests::unreadableAnswerOrRefusalIsShown() {
    QFETCH(QString, command);
    QFETCH(QString, answer);
    Editor editor;
    document::SetCharacterSetImage(Document(editor), document::MakeImage(64, 32, 0xFF0000FFU));
    AddCharacter(editor, 65, {5, 7, 5, 7});
    PromptSeen seen;
    AnswerPrompt(answer, seen);
    Trigger(editor.TheShell->Main.get(), command);
    QVERIFY(seen.Shown);
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QVERIFY(!editor.Messages.Messages.front().Text.isEmpty());
    QCOMPARE(document::FindCharacter(Document(editor), 65)->Source, (document::Rect64{5, 7, 5, 7}));
    QCOMPARE(Document(editor).Content.Image->Width, 64);
    QVERIFY(!Document(editor).Modified);
}

void LayoutCommandTests::packCompactlyFollowsTheOtherCommands() {
    Editor editor;
    std::optional<document::Image> picture = document::MakeImage(64, 32, 0);
    for (std::int64_t x = 20; x < 24; ++x) {
        picture->At(x, 10) = 0xFF0000FFU;
    }
    document::SetCharacterSetImage(Document(editor), std::move(picture));
    AddCharacter(editor, 65, {16, 8, 16, 16}, {1, 2, 17, 20});
    AddCharacter(editor, 32, {0, 0, 0, 0}, {0, 0, 6, 20});
    editor.State.View.CurrentCharacter = document::FindCharacter(Document(editor), 65);
    PackAnswer answer{document::PackingRules{1, 0, false, {}}, {}}; // near-square
    AnswerPackDialog(answer);
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditPackCompactly"));
    const document::Typeface& typeface = Document(editor);
    QCOMPARE(document::FindCharacter(typeface, 65)->Source, (document::Rect64{0, 0, 4, 1}));
    QCOMPARE(document::FindCharacter(typeface, 65)->Outlay, (document::Rect64{5, 4, 17, 20}));
    QCOMPARE(typeface.Content.Image->Width * typeface.Content.Image->Height, 4);
    QVERIFY(typeface.Modified);
    QVERIFY(editor.Messages.Messages.empty());
    // Refreshed as the other layout commands refresh: the lists refilled without a selection.
    QVERIFY(editor.State.View.CurrentCharacter == nullptr);
    QCOMPARE(editor.TheShell->Main->CharacterList->topLevelItemCount(), 2);
}

void LayoutCommandTests::packCompactlyRefusalIsShown() {
    Editor editor;
    AddCharacter(editor, 65, {5, 7, 5, 7});
    PackAnswer answer{document::PackingRules{}, {}};
    AnswerPackDialog(answer);
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditPackCompactly"));
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QVERIFY(
        editor.Messages.Messages.front().Text.contains(QStringLiteral("no character-set picture")));
    QCOMPARE(document::FindCharacter(Document(editor), 65)->Source, (document::Rect64{5, 7, 5, 7}));
    QVERIFY(!Document(editor).Modified);
}

void LayoutCommandTests::packCompactlyAsksForItsRulesAndReportsThePicture_data() {
    QTest::addColumn<qint64>("importedWidth");
    QTest::addColumn<qint64>("proposedWidth");
    QTest::addColumn<qint64>("chosenWidth");
    QTest::addColumn<bool>("powerOfTwo");
    QTest::addColumn<qint64>("packedWidth");
    QTest::newRow("opened file: 4096 proposed")
        << qint64{0} << qint64{4096} << qint64{12} << false << qint64{12};
    QTest::newRow("import's width proposed")
        << qint64{512} << qint64{512} << qint64{12} << true << qint64{8};
}

void LayoutCommandTests::packCompactlyAsksForItsRulesAndReportsThePicture() {
    QFETCH(qint64, importedWidth);
    QFETCH(qint64, proposedWidth);
    QFETCH(qint64, chosenWidth);
    QFETCH(bool, powerOfTwo);
    QFETCH(qint64, packedWidth);
    Editor editor;
    // Four inked cells of different widths in a row of a 64 x 32 picture.
    document::SetCharacterSetImage(Document(editor), document::MakeImage(64, 32, 0xFF0000FFU));
    for (std::int64_t i = 0; i < 4; ++i) {
        AddCharacter(editor, 65 + i, {i * 16, 0, 2 + i, 4});
    }
    editor.State.ImportedMaxWidth = importedWidth;
    editor.State.View.ScrollX = 30;
    editor.State.View.ScrollY = 20;
    PackAnswer answer{document::PackingRules{1, chosenWidth, powerOfTwo, {}}, {}};
    AnswerPackDialog(answer);
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditPackCompactly"));
    QVERIFY(answer.Proposed.has_value());
    QCOMPARE(answer.Proposed->Gutter, 1);
    QCOMPARE(answer.Proposed->MaxWidth, proposedWidth);
    QVERIFY(!answer.Proposed->PowerOfTwo);
    const document::Image& packed = *Document(editor).Content.Image;
    QCOMPARE(packed.Width, packedWidth);
    QVERIFY(packed.Height >= 8); // 14 pixels of cells and gutters do not fit one row
    if (powerOfTwo) {
        QCOMPARE(packed.Height & (packed.Height - 1), 0);
    }
    QCOMPARE(editor.TheShell->Main->statusBar()->currentMessage(),
             QStringLiteral("Packed into a %1 × %2 picture.").arg(packed.Width).arg(packed.Height));
    QCOMPARE(editor.State.View.ScrollX, 0);
    QCOMPARE(editor.State.View.ScrollY, 0);
}

void LayoutCommandTests::packCompactlyClosedChangesNothing() {
    Editor editor;
    document::SetCharacterSetImage(Document(editor), document::MakeImage(64, 32, 0xFF0000FFU));
    AddCharacter(editor, 65, {5, 7, 5, 7});
    PackAnswer answer; // closes it
    AnswerPackDialog(answer);
    Trigger(editor.TheShell->Main.get(), QStringLiteral("EditPackCompactly"));
    QVERIFY(answer.Proposed.has_value());
    QCOMPARE(Document(editor).Content.Image->Width, 64);
    QVERIFY(!Document(editor).Modified);
    QVERIFY(editor.Messages.Messages.empty());
}

void CharacterSetPictureTests::importAsksAsDescribedAndReplacesThePicture() {
    Editor editor;
    editor.State.CurrentFilePath = "/somewhere/Font.tf";
    AddCharacter(editor, 65, {1, 1, 2, 2});
    editor.Files.Answers.push_back({TestData(QStringLiteral("picture-3x2-alpha.bmp")), 0});
    Trigger(editor.TheShell->CharacterSet, QStringLiteral("CharacterSetImport"));
    QCOMPARE(editor.Files.Calls.size(), std::size_t{1});
    QCOMPARE(editor.Files.Calls[0].Title, QStringLiteral("Open Character Set"));
    QCOMPARE(editor.Files.Calls[0].DefaultPath, QStringLiteral("/somewhere/Font.tf"));
    QCOMPARE(editor.Files.Calls[0].Filters, QStringList{QStringLiteral("Image (*.png *.bmp)")});
    const document::Typeface& typeface = Document(editor);
    QVERIFY(typeface.Content.Image != nullptr);
    QCOMPARE(typeface.Content.Image->Width, 3);
    QVERIFY(typeface.Content.Sprite != nullptr);
    QVERIFY(document::FlippedSprite(typeface.Content) != nullptr);
    QCOMPARE(document::FindCharacter(typeface, 65)->Source, (document::Rect64{1, 1, 2, 2}));
    QVERIFY(typeface.Modified);
    QCOMPARE(QString::fromStdString(editor.State.CharacterSetImagePath),
             TestData(QStringLiteral("picture-3x2-alpha.bmp")));
}

void CharacterSetPictureTests::importOfAnUnreadableFileKeepsThePicture() {
    Editor editor;
    document::SetCharacterSetImage(Document(editor), document::MakeImage(8, 8, 0xFF00FF00U));
    const testsupport::ScratchFolder folder;
    const QString broken = QString::fromStdString(folder.File("broken.bmp"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("BM this is no bitmap");
    file.close();
    editor.Files.Answers.push_back({broken, 0});
    Trigger(editor.TheShell->CharacterSet, QStringLiteral("CharacterSetImport"));
    QCOMPARE(Document(editor).Content.Image->Width, 8);
    QVERIFY(Document(editor).Content.Sprite != nullptr);
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    QVERIFY(!Document(editor).Modified);
}

void CharacterSetPictureTests::cancelledImportForgetsThePath() {
    Editor editor;
    editor.State.CharacterSetImagePath = "/old/picture.png";
    Trigger(editor.TheShell->CharacterSet, QStringLiteral("CharacterSetImport"));
    QVERIFY(editor.State.CharacterSetImagePath.empty());
    QVERIFY(editor.Messages.Messages.empty());
}

void CharacterSetPictureTests::editWithoutPictureSaysSoAndStartsNothing() {
    Editor editor;
    editor.State.EditorPath = "/bin/false";
    Trigger(editor.TheShell->CharacterSet, QStringLiteral("CharacterSetEdit"));
    QCOMPARE(editor.Messages.Messages.size(), std::size_t{1});
    auto* timer = editor.TheShell->CharacterSet->findChild<PictureWatchTimer*>();
    QVERIFY(timer == nullptr || !timer->isActive());
}

void CharacterSetPictureTests::editorSaveIsReloadedAndShown() {
    Editor editor;
    document::SetCharacterSetImage(Document(editor), document::MakeImage(16, 16, 0xFF0000FFU));
    const testsupport::ScratchFolder folder;
    // The "editor" saves a green picture over the file it was given, a moment after it started.
    const auto green = document::MakeImage(16, 16, 0xFF00FF00U);
    const auto png = testsupport::PngBytes(*green);
    QFile picture(QString::fromStdString(folder.File("green.png")));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.write(reinterpret_cast<const char*>(png->data()), static_cast<qint64>(png->size()));
    picture.close();
    const QString script = QString::fromStdString(folder.File("editor.sh"));
    QFile scriptFile(script);
    QVERIFY(scriptFile.open(QIODevice::WriteOnly));
    scriptFile.write(
        QStringLiteral("#!/bin/sh\nsleep 0.3\ncp '%1' \"$1\"\n").arg(picture.fileName()).toUtf8());
    scriptFile.close();
    scriptFile.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    editor.State.EditorPath = script.toStdString();

    Trigger(editor.TheShell->CharacterSet, QStringLiteral("CharacterSetEdit"));
    auto* timer = editor.TheShell->CharacterSet->findChild<PictureWatchTimer*>();
    QVERIFY(timer != nullptr);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 250);
    QVERIFY(editor.Messages.Messages.empty());

    QTRY_COMPARE_WITH_TIMEOUT(Document(editor).Content.Image->At(0, 0), 0xFF00FF00U, 10000);
    QVERIFY(Document(editor).Modified);
    QVERIFY(Document(editor).Content.Sprite != nullptr);
    QCOMPARE(Document(editor).Content.Sprite->At(5, 5), 0xFF00FF00U);
    // The character-set view, drawn from the state the shell keeps, shows the new picture.
    document::Image view;
    views::DrawCharacterSetView(view, 40, 40, &Document(editor), editor.State.View, false);
    QCOMPARE(view.At(2, 2), 0xFF00FF00U);
}

void CharacterSetPictureTests::twoEditorsExportIntoFoldersOfTheirOwn() {
    constexpr std::uint32_t Red = 0xFF0000FFU;
    constexpr std::uint32_t Green = 0xFF00FF00U;
    auto first = std::make_unique<Editor>();
    Editor second;
    for (Editor* editor : {first.get(), &second}) {
        document::SetCharacterSetImage(Document(*editor), document::MakeImage(16, 16, Red));
        editor->State.EditorPath = "/bin/true";
        Trigger(editor->TheShell->CharacterSet, QStringLiteral("CharacterSetEdit"));
        QVERIFY(editor->Messages.Messages.empty());
    }
    const std::filesystem::path firstFile = first->TheShell->PictureWatch.Path;
    const std::filesystem::path secondFile = second.TheShell->PictureWatch.Path;
    QVERIFY(firstFile != secondFile);
    for (const std::filesystem::path& file : {firstFile, secondFile}) {
        QCOMPARE(file.filename().string(), std::string("CharacterSet.png"));
        QVERIFY(file.parent_path().filename().string().starts_with("glyfora-"));
        QCOMPARE(file.parent_path().parent_path().string(),
                 std::filesystem::path(platform::TemporaryFolder()).parent_path().string());
        QVERIFY(std::filesystem::is_regular_file(file));
    }

    // The picture the second editor's external editor saves goes into the second typeface only.
    const auto png = testsupport::PngBytes(*document::MakeImage(16, 16, Green));
    QFile picture(QString::fromStdString(secondFile.string()));
    QVERIFY(picture.open(QIODevice::WriteOnly | QIODevice::Truncate));
    picture.write(reinterpret_cast<const char*>(png->data()), static_cast<qint64>(png->size()));
    picture.close();
    QTRY_COMPARE_WITH_TIMEOUT(Document(second).Content.Image->At(0, 0), Green, 10000);
    QTest::qWait(3 * static_cast<int>(platform::PictureWatchPeriod.count()));
    QCOMPARE(Document(*first).Content.Image->At(0, 0), Red);

    // An editor that goes takes its folder with it and leaves the other's alone.
    first.reset();
    QVERIFY(!std::filesystem::exists(firstFile.parent_path()));
    QVERIFY(std::filesystem::is_regular_file(secondFile));
}

namespace {

// What the "Add Image" question that comes up next proposed, and the answer it is given.
struct AddImageAnswer {
    std::int64_t Code = -1; // -1 closes the question
    int OffsetX = 0, OffsetY = 0, Advance = 0;
    std::int64_t ProposedCode = -1; // filled in when it was asked
    int ProposedAdvance = -1;
};

void AnswerAddImageDialog(AddImageAnswer& answer) {
    QTimer::singleShot(0, [&answer] {
        auto* dialog = qobject_cast<AddImageDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        answer.ProposedCode = dialog->Code();
        answer.ProposedAdvance = dialog->AdvanceField->value();
        if (answer.Code == -1) {
            dialog->close();
            return;
        }
        dialog->CodeField->setValue(static_cast<int>(answer.Code));
        dialog->OffsetXField->setValue(answer.OffsetX);
        dialog->OffsetYField->setValue(answer.OffsetY);
        dialog->AdvanceField->setValue(answer.Advance);
        dialog->OkButton->click();
    });
}

} // namespace

void CharacterSetPictureTests::addImageAsksForPictureAndCodeAndAddsTheCharacter() {
    Editor editor;
    editor.State.CurrentFilePath = "/somewhere/Font.tf";
    document::SetCharacterSetImage(Document(editor), document::MakeImage(16, 8, 0));
    AddCharacter(editor, 32, {0, 0, 0, 0}, {0, 0, 5, 12});
    AddCharacter(editor, 0xE000, {0, 0, 0, 0}, {0, 0, 5, 12});
    const QString path = TestData(QStringLiteral("picture-3x2.png"));
    editor.Files.Answers.push_back({path, 0});
    AddImageAnswer answer{0xE001, -1, 4, 7};
    AnswerAddImageDialog(answer);
    Trigger(editor.TheShell->CharacterSet, QStringLiteral("CharacterSetAddImage"));
    QCOMPARE(editor.Files.Calls.size(), std::size_t{1});
    QCOMPARE(editor.Files.Calls[0].Title, QStringLiteral("Add Image"));
    QCOMPARE(editor.Files.Calls[0].DefaultPath, QStringLiteral("/somewhere/Font.tf"));
    QCOMPARE(editor.Files.Calls[0].Filters, QStringList{QStringLiteral("Image (*.png *.bmp)")});
    // The first free private-use code, and the picture's width as the advance.
    QCOMPARE(answer.ProposedCode, std::int64_t{0xE001});
    QCOMPARE(answer.ProposedAdvance, 3);
    QVERIFY(editor.Messages.Messages.empty());
    const document::Typeface& typeface = Document(editor);
    const document::Character* icon = document::FindCharacter(typeface, 0xE001);
    QVERIFY(icon != nullptr);
    QCOMPARE(icon->Outlay, (document::Rect64{-1, 4, 7, 12}));
    QCOMPARE(icon->Source.Width, 3);
    QCOMPARE(icon->Source.Height, 2);
    const document::Image file = *formats::LoadPictureFile(path.toStdString()).Value;
    QCOMPARE(typeface.Content.Sprite->At(icon->Source.X + 2, icon->Source.Y + 1), file.At(2, 1));
    QVERIFY(typeface.Modified);
    QCOMPARE(editor.State.LastDialogCode, 0xE001);
    QCOMPARE(editor.TheShell->Main->CharacterList->topLevelItemCount(), 3);
}

void CharacterSetPictureTests::addImageCancelledOrUnreadableChangesNothing_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<qint64>("code");
    QTest::addColumn<int>("messages");
    QTest::newRow("file dialog cancelled") << QString() << qint64{65} << 0;
    QTest::newRow("code dialog closed")
        << TestData(QStringLiteral("picture-3x2.bmp")) << qint64{-1} << 0;
    QTest::newRow("not a picture") << TestData(QStringLiteral("cli/Sample.xml")) << qint64{65} << 1;
}

void CharacterSetPictureTests::addImageCancelledOrUnreadableChangesNothing() {
    QFETCH(QString, picture);
    QFETCH(qint64, code);
    QFETCH(int, messages);
    Editor editor;
    editor.Files.Answers.push_back({picture, 0});
    AddImageAnswer answer{code, 0, 0, 1};
    if (!picture.isEmpty() && messages == 0) {
        AnswerAddImageDialog(answer);
    }
    Trigger(editor.TheShell->CharacterSet, QStringLiteral("CharacterSetAddImage"));
    QCOMPARE(editor.Messages.Messages.size(), static_cast<std::size_t>(messages));
    QCOMPARE(Document(editor).Content.Characters.Size(), std::size_t{0});
    QVERIFY(Document(editor).Content.Image == nullptr);
    QVERIFY(!Document(editor).Modified);
}

GLYFORA_QTEST(LayoutCommandTests);
GLYFORA_QTEST(CharacterSetPictureTests);

} // namespace glyfora::app::testing
