#include "QtTestRegistry.h"
#include "ScratchFolder.h"
#include "ShellFixture.h"
#include "Typing.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/MainWindow.h"
#include "app/windows/PackCompactlyDialog.h"
#include "document/TypefaceSnapshot.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace glyfora::app::testing {
namespace {

// The document changes a test puts the shell through.
enum class Change { New, Open, Drop, Undo, Redo, PackCompactly, CreateTypeface };

void Commit(QSpinBox* field) {
    QTest::keyClick(field, Qt::Key_Return);
}

// A frame's fields with the value each shows without a record: codes a blank, numbers 0.
using BlankFields = std::vector<std::pair<QSpinBox*, int>>;

BlankFields CharacterFields(const MainWindow& main) {
    return {{main.CharacterCode.Code, 32},
            {main.CharacterCode.Glyph, 32},
            {main.SourceX, 0},
            {main.SourceY, 0},
            {main.SourceWidth, 0},
            {main.SourceHeight, 0},
            {main.OutlayX, 0},
            {main.OutlayY, 0},
            {main.OutlayWidth, 0},
            {main.OutlayHeight, 0}};
}

BlankFields PairFields(const MainWindow& main) {
    return {{main.LeftCode.Code, 32},
            {main.LeftCode.Glyph, 32},
            {main.RightCode.Code, 32},
            {main.RightCode.Glyph, 32},
            {main.AmountField, 0}};
}

QString ShownText(const QSpinBox* field) {
    return field->findChild<QLineEdit*>()->text();
}

void AnswerPackDialog() {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<PackCompactlyDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->OkButton->click();
    });
}

// Runs change on the shell the test prepared.
void MakeChange(Editor& editor, Change change, const QString& savedFile) {
    Shell& shell = *editor.TheShell;
    MainWindow& main = *shell.Main;
    const std::map<Change, std::function<void()>> changes{
        {Change::New, [&] { main.FileNew->trigger(); }},
        {Change::Open,
         [&] {
             editor.Files.Answers.push_back({savedFile, 0});
             main.FileOpen->trigger();
         }},
        {Change::Drop, [&] { QVERIFY(DropFile(shell.Character, savedFile)); }},
        {Change::Undo, [&] { main.EditUndo->trigger(); }},
        {Change::Redo,
         [&] {
             main.EditUndo->trigger();
             Click(main.CharacterList, 0);
             main.EditRedo->trigger();
         }},
        {Change::PackCompactly,
         [&] {
             AnswerPackDialog();
             shell.Main->findChild<QAction*>(QStringLiteral("EditPackCompactly"))->trigger();
         }},
        {Change::CreateTypeface,
         [&] {
             shell.ImportProgressHook = [](std::int64_t, std::int64_t) { return true; };
             shell.Import->FamilyList->setCurrentText(QStringLiteral("DejaVu Sans"));
             shell.Import->CharactersField->setText(QStringLiteral("65-67"));
             QTest::mouseClick(shell.Import->CreateButton, Qt::LeftButton);
         }},
    };
    changes.at(change)();
}

} // namespace

class DocumentChangeTests : public QObject {
    Q_OBJECT

private slots:
    void FramesMarkAndCharacterWindowFollowTheDocument_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("shownX"); // the X the fields show, -1 for no selection
        QTest::newRow("New") << Change::New << -1;
        QTest::newRow("Open") << Change::Open << -1;
        QTest::newRow("a dropped file") << Change::Drop << -1;
        QTest::newRow("undo") << Change::Undo << 520;
        QTest::newRow("redo") << Change::Redo << 77;
        QTest::newRow("Pack compactly") << Change::PackCompactly << -1;
        QTest::newRow("Create Typeface") << Change::CreateTypeface << -1;
    }

    void FramesMarkAndCharacterWindowFollowTheDocument() {
        QFETCH(Change, change);
        QFETCH(int, shownX);
        const testsupport::ScratchFolder folder;
        const QString savedFile = QString::fromStdString(folder.File("sample.tf"));
        Editor editor;
        Shell& shell = *editor.TheShell;
        MainWindow& main = *shell.Main;
        ShowSampleDocument(shell);
        editor.Files.Answers.push_back({savedFile, 0});
        QVERIFY(SaveDocumentAs(shell));
        Click(main.KerningPairList, 0);
        Click(main.CharacterList, 1); // B at X 520
        TypeInto(main.SourceX, QStringLiteral("77"));
        Commit(main.SourceX);
        Click(main.CharacterList, 0); // A at X 500
        // A step that undo and redo can take, made with B and the pair A-V (row 0) selected;
        // then A is selected, so a frame that kept what it showed before the change shows A.
        QCOMPARE(main.SourceX->value(), 500);
        editor.Messages.Choices.push_back(SaveChoice::Discard);

        MakeChange(editor, change, savedFile);

        const bool selected = shownX >= 0;
        for (const auto& [field, blank] : CharacterFields(main)) {
            QCOMPARE(field->isEnabled(), selected);
            if (!selected) {
                QCOMPARE(field->value(), blank);
            }
        }
        QCOMPARE(main.CharacterDeleteButton->isEnabled(), selected);
        QCOMPARE(main.CharacterNewButton->isEnabled(), selected);
        QCOMPARE(shell.State.View.SelectionShown, selected);
        QCOMPARE(shell.State.View.CurrentCharacter != nullptr, selected);
        if (selected) {
            QCOMPARE(main.CharacterList->currentItem()->text(1), QStringLiteral("B"));
            QCOMPARE(main.SourceX->value(), shownX);
            QCOMPARE(ShownText(main.CharacterCode.Glyph), QStringLiteral("B"));
            QCOMPARE(shell.State.View.Selection.X, shownX);
            QCOMPARE(shell.Character->Canvas->Picture.Width > 0, true);
        } else {
            QCOMPARE(shell.Character->isVisible() && shell.Character->Canvas->Picture.Width > 0,
                     false);
        }
        // Undo and redo bring back the pair row that was selected with the step; every other
        // change leaves no pair selected.
        const bool pairSelected = change == Change::Undo || change == Change::Redo;
        for (const auto& [field, blank] : PairFields(main)) {
            QCOMPARE(field->isEnabled(), pairSelected);
            if (!pairSelected) {
                QCOMPARE(field->value(), blank);
            }
        }
        if (pairSelected) {
            QCOMPARE(main.LeftCode.Code->value(), int{'A'});
            QCOMPARE(main.RightCode.Code->value(), int{'V'});
        } else {
            QCOMPARE(ShownText(main.LeftCode.Glyph), QStringLiteral(" "));
        }
        QCOMPARE(main.KerningPairDeleteButton->isEnabled(), pairSelected);

        // Selecting a row of a cleared frame enables it and shows the record again.
        if (!selected && main.CharacterList->topLevelItemCount() > 0) {
            Click(main.CharacterList, 0);
            const document::Character* first = document::RecordAtPosition(
                CurrentTypeface(shell.State)->Content.Characters, std::size_t{0});
            QVERIFY(main.SourceX->isEnabled());
            QCOMPARE(std::int64_t{main.SourceX->value()}, first->Source.X);
            QVERIFY(shell.State.View.SelectionShown);
        }
    }
};

GLYFORA_QTEST(DocumentChangeTests);

} // namespace glyfora::app::testing

#include "DocumentChangeTests.moc"
