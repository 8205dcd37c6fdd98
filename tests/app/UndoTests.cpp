#include "QtTestRegistry.h"
#include "ScratchFolder.h"
#include "ShellFixture.h"
#include "Typing.h"
#include "app/editing/CharacterSetPicture.h"
#include "app/shell/History.h"
#include "app/windows/AddImageDialog.h"
#include "app/windows/CharacterCodeDialog.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/MainWindow.h"
#include "document/TypefaceSnapshot.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>

namespace glyfora::app::testing {
namespace {

// The document's content in the order its lists show it.
document::TypefaceSnapshot Content(Shell& shell) {
    document::Typeface& typeface = *CurrentTypeface(shell.State);
    document::SortCharacters(typeface);
    document::SortKerningPairs(typeface);
    return document::TakeSnapshot(typeface);
}

// Answers the next modal dialog once it is up: the number prompt or the code dialog.
void AnswerNextDialog(const QString& answer) {
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        if (auto* codes = qobject_cast<CharacterCodeDialog*>(modal)) {
            TypeInto(codes->DecimalField, answer);
            codes->OkButton->click();
            return;
        }
        if (auto* image = qobject_cast<AddImageDialog*>(modal)) {
            TypeInto(image->CodeField, answer);
            image->OkButton->click();
            return;
        }
        modal->findChild<QLineEdit*>()->setText(answer);
        qobject_cast<QDialog*>(modal)->accept();
    });
}

void Commit(QSpinBox* field) {
    QTest::keyClick(field, Qt::Key_Return);
}

struct ChangeCase {
    const char* Step; // what "Undo" is named after
    std::function<void(Editor&)> Change;
};

std::vector<ChangeCase> EveryKindOfChange(const std::string& picturePath) {
    return {
        {"Edit Position",
         [](Editor& e) {
             Click(e.TheShell->Main->CharacterList, 1);
             TypeInto(e.TheShell->Main->SourceX, QStringLiteral("77"));
             Commit(e.TheShell->Main->SourceX);
         }},
        {"Edit Outlay",
         [](Editor& e) {
             Click(e.TheShell->Main->CharacterList, 0);
             TypeInto(e.TheShell->Main->OutlayHeight, QStringLiteral("30"));
             Commit(e.TheShell->Main->OutlayHeight);
         }},
        {"Edit Character Code",
         [](Editor& e) {
             Click(e.TheShell->Main->CharacterList, 2);
             TypeInto(e.TheShell->Main->CharacterCode.Glyph, QStringLiteral("X"));
             Commit(e.TheShell->Main->CharacterCode.Glyph);
         }},
        {"Edit Amount",
         [](Editor& e) {
             Click(e.TheShell->Main->KerningPairList, 0);
             TypeInto(e.TheShell->Main->AmountField, QStringLiteral("-7"));
             Commit(e.TheShell->Main->AmountField);
         }},
        {"Edit Right Code",
         [](Editor& e) {
             Click(e.TheShell->Main->KerningPairList, 1);
             TypeInto(e.TheShell->Main->RightCode.Code, QStringLiteral("66"));
             Commit(e.TheShell->Main->RightCode.Code);
         }},
        {"Copy Character",
         [](Editor& e) {
             Click(e.TheShell->Main->CharacterList, 0);
             e.TheShell->Main->CharacterNewButton->click();
         }},
        {"Delete Character",
         [](Editor& e) {
             Click(e.TheShell->Main->CharacterList, 1);
             e.TheShell->Main->CharacterDeleteButton->click();
         }},
        {"Copy Kerning Pair",
         [](Editor& e) {
             Click(e.TheShell->Main->KerningPairList, 0);
             e.TheShell->Main->KerningPairNewButton->click();
         }},
        {"Delete Kerning Pair",
         [](Editor& e) {
             Click(e.TheShell->Main->KerningPairList, 0);
             e.TheShell->Main->KerningPairDeleteButton->click();
         }},
        {"Edit Comment",
         [](Editor& e) {
             e.TheShell->Main->CommentField->setFocus();
             e.TheShell->Main->CommentField->setPlainText(QStringLiteral("made by hand"));
             e.TheShell->Main->CharacterList->setFocus();
         }},
        {"Add Char",
         [](Editor& e) {
             AnswerNextDialog(QStringLiteral("67"));
             e.TheShell->CharacterSet->CharacterSetAddChar->trigger();
         }},
        {"Scale Layout",
         [](Editor& e) {
             AnswerNextDialog(QStringLiteral("2"));
             e.TheShell->Main->EditScaleLayout->trigger();
         }},
        {"Spacing Layout",
         [](Editor& e) {
             AnswerNextDialog(QStringLiteral("3"));
             e.TheShell->Main->EditSpacingLayout->trigger();
         }},
        {"Copy Upper to Lower Case",
         [](Editor& e) { e.TheShell->Main->EditCopyUpperToLower->trigger(); }},
        {"Import Picture",
         [picturePath](Editor& e) {
             e.Files.Answers.push_back({QString::fromStdString(picturePath), 0});
             e.TheShell->CharacterSet->CharacterSetImport->trigger();
         }},
        {"Pack Compactly",
         [](Editor& e) {
             AnswerNextDialog(QStringLiteral("1")); // the gutter
             e.TheShell->Main->EditPackCompactly->trigger();
         }},
        {"Add Image",
         [picturePath](Editor& e) {
             e.Files.Answers.push_back({QString::fromStdString(picturePath), 0});
             AnswerNextDialog(QStringLiteral("57344"));
             e.TheShell->CharacterSet->CharacterSetAddImage->trigger();
         }},
    };
}

} // namespace

class UndoTests : public QObject {
    Q_OBJECT

private slots:
    void EveryKindOfChangeIsOneStepUndoneAndRedone() {
        for (const ChangeCase& c : EveryKindOfChange(GLYFORA_TEST_DATA_FOLDER "/picture-3x2.png")) {
            Editor editor;
            Shell& shell = *editor.TheShell;
            ShowSampleDocument(shell);
            const document::TypefaceSnapshot before = Content(shell);
            c.Change(editor);
            QCoreApplication::processEvents();
            const document::TypefaceSnapshot after = Content(shell);
            QVERIFY2(!document::SameContent(before, after), c.Step);
            QCOMPARE(shell.History->Stack.count(), 1);
            QCOMPARE(shell.Main->EditUndo->text(), QStringLiteral("Undo ") + QLatin1String(c.Step));
            QVERIFY(CurrentTypeface(shell.State)->Modified);

            shell.Main->EditUndo->trigger();
            QVERIFY2(document::SameContent(before, Content(shell)), c.Step);
            QVERIFY2(!CurrentTypeface(shell.State)->Modified, c.Step);
            QCOMPARE(shell.Main->EditRedo->text(), QStringLiteral("Redo ") + QLatin1String(c.Step));
            QCOMPARE(shell.Main->CharacterList->topLevelItemCount(),
                     static_cast<int>(before.Characters.size()));
            QCOMPARE(shell.Main->KerningPairList->topLevelItemCount(),
                     static_cast<int>(before.KerningPairs.size()));

            shell.Main->EditRedo->trigger();
            QVERIFY2(document::SameContent(after, Content(shell)), c.Step);
            QCOMPARE(shell.Main->CharacterList->topLevelItemCount(),
                     static_cast<int>(after.Characters.size()));
            QVERIFY(!shell.Main->EditRedo->isEnabled());
        }
    }

    void UndoShowsTheRestoredValuesInTheSelectedRecord() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->CharacterList, 1); // B at x 520
        TypeInto(shell.Main->SourceX, QStringLiteral("77"));
        Commit(shell.Main->SourceX);
        shell.Main->EditUndo->trigger();
        QCOMPARE(shell.Main->SourceX->value(), 520);
        QCOMPARE(shell.Main->CharacterList->currentItem()->text(1), QStringLiteral("B"));
        QCOMPARE(shell.State.View.Selection.X, 520);
        QCOMPARE(shell.State.View.CurrentCharacter,
                 document::FindCharacter(*CurrentTypeface(shell.State), 'B'));
    }

    void TypingUntilReturnIsOneStepAndCtrlZThenUndoesItInTheField() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        shell.Main->show();
        // A shown window is asked to close when it goes; hide them all first.
        const std::unique_ptr<Shell, void (*)(Shell*)> hideAtEnd(&shell,
                                                                 [](Shell* s) { ShutDown(*s); });
        shell.Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(shell.Main.get()));
        Click(shell.Main->CharacterList, 1);
        QSpinBox* field = shell.Main->SourceY;
        field->setFocus();
        TypeInto(field, QStringLiteral("1"));
        QTest::keyClicks(field, QStringLiteral("23"));
        QCOMPARE(field->value(), 123);
        QCOMPARE(shell.History->Stack.count(), 1);
        // Not yet committed: the field's own undo takes the last typing back.
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(field->value() != 123);
        QCOMPARE(shell.History->Stack.index(), 1);
        QTest::keyClicks(field, QStringLiteral("5"));
        Commit(field);
        const int typed = field->value();
        QCOMPARE(CharacterOf(shell, 'B')->Source.Y, typed);
        QCOMPARE(shell.History->Stack.count(), 1);
        // Committed: the same key takes the whole step back while the field keeps the focus.
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shell.History->Stack.index(), 0);
        QCOMPARE(CharacterOf(shell, 'B')->Source.Y, 400);
        QCOMPARE(field->value(), 400);
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(CharacterOf(shell, 'B')->Source.Y, typed);
        QTest::keyClick(shell.Main->CharacterList, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(shell.Main->CharacterList, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(CharacterOf(shell, 'B')->Source.Y, typed);
    }

    void SavingMarksTheCleanStateAndUndoingBackToItAsksNothing() {
        const testsupport::ScratchFolder folder;
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->CharacterList, 0);
        shell.Main->CharacterNewButton->click();
        editor.Files.Answers.push_back({QString::fromStdString(folder.File("face.tf")), 0});
        QVERIFY(SaveDocument(shell));
        QVERIFY(!CurrentTypeface(shell.State)->Modified);
        Click(shell.Main->CharacterList, 0);
        shell.Main->CharacterDeleteButton->click();
        QVERIFY(CurrentTypeface(shell.State)->Modified);
        shell.Main->EditUndo->trigger();
        QVERIFY(!CurrentTypeface(shell.State)->Modified);
        QVERIFY(ConfirmDiscard(shell));
        QCOMPARE(editor.Messages.Questions, 0);
        shell.Main->EditUndo->trigger(); // before the save: modified again
        QVERIFY(CurrentTypeface(shell.State)->Modified);
    }

    // Whatever the mark held before, a shown document and every step take it from the history.
    void TheModifiedMarkComesFromTheHistoryAlone() {
        const testsupport::ScratchFolder folder;
        Editor editor;
        Shell& shell = *editor.TheShell;
        const auto modified = [&shell] { return CurrentTypeface(shell.State)->Modified; };
        const struct {
            const char* Name;
            std::function<void()> Change;
            bool Modified;
        } steps[] = {
            {"a document shown as opened",
             [&] {
                 CurrentTypeface(shell.State)->Modified = true;
                 ShowSampleDocument(shell);
             },
             false},
            {"an edit", [&] { shell.Main->CommentField->setPlainText(QStringLiteral("x")); }, true},
            {"its undo", [&] { shell.Main->EditUndo->trigger(); }, false},
            {"its redo", [&] { shell.Main->EditRedo->trigger(); }, true},
            {"a document shown as unsaved",
             [&] {
                 CurrentTypeface(shell.State)->Modified = false;
                 ShowDocument(shell, EmptyViews::Hide, Saving::Needed);
             },
             true},
            {"its save",
             [&] {
                 editor.Files.Answers.push_back(
                     {QString::fromStdString(folder.File("face.tf")), 0});
                 QVERIFY(SaveDocument(shell));
             },
             false},
            {"a new document", [&] { shell.Main->FileNew->trigger(); }, false},
        };
        for (const auto& step : steps) {
            step.Change();
            QVERIFY2(modified() == step.Modified, step.Name);
        }
    }

    void NewAndOpenStartAFreshHistory() {
        const testsupport::ScratchFolder folder;
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        Click(shell.Main->CharacterList, 0);
        shell.Main->CharacterDeleteButton->click();
        editor.Files.Answers.push_back({QString::fromStdString(folder.File("face.tf")), 0});
        QVERIFY(SaveDocument(shell));
        QVERIFY(OpenTypefaceFile(shell, folder.File("face.tf")));
        QCOMPARE(shell.History->Stack.count(), 0);
        QVERIFY(!shell.Main->EditUndo->isEnabled());
        QCOMPARE(shell.Main->EditUndo->text(), QStringLiteral("Undo"));
        Click(shell.Main->CharacterList, 0);
        shell.Main->CharacterDeleteButton->click();
        editor.Messages.Choices.push_back(SaveChoice::Discard);
        shell.Main->FileNew->trigger();
        QCOMPARE(shell.History->Stack.count(), 0);
        QVERIFY(!CurrentTypeface(shell.State)->Modified);
    }

    void UnchangedDialogsRecordNothing() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        shell.Main->EditScaleLayout->trigger();
        shell.CharacterSet->CharacterSetImport->trigger(); // the file dialog is cancelled
        shell.Main->CharacterDeleteButton->click();        // nothing selected
        QCOMPARE(shell.History->Stack.count(), 0);
        QVERIFY(!shell.Main->EditUndo->isEnabled());
    }

    void DeleteKeyInAFocusedListDeletesAsOneStep() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        shell.Main->show();
        const std::unique_ptr<Shell, void (*)(Shell*)> hideAtEnd(&shell,
                                                                 [](Shell* s) { ShutDown(*s); });
        shell.Main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(shell.Main.get()));
        Click(shell.Main->KerningPairList, 0);
        shell.Main->KerningPairList->setFocus();
        QTest::keyClick(shell.Main->KerningPairList, Qt::Key_Delete);
        QCOMPARE(shell.Main->KerningPairList->topLevelItemCount(), 1);
        QCOMPARE(shell.Main->EditUndo->text(), QStringLiteral("Undo Delete Kerning Pair"));
        QCOMPARE(shell.Main->FileSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(shell.Main->FileQuit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(shell.Main->EditRedo->shortcuts().size(), 2);
    }

    void DroppedFilesOpenOrReplaceThePicture() {
        const testsupport::ScratchFolder folder;
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        const QString face = QString::fromStdString(folder.File("face.tf"));
        editor.Files.Answers.push_back({face, 0});
        QVERIFY(SaveDocument(shell));
        const auto drop = DropFile;
        const auto* before = CurrentTypeface(shell.State)->Content.Image.get();
        QVERIFY(
            drop(shell.CharacterSet, QStringLiteral(GLYFORA_TEST_DATA_FOLDER "/picture-3x2.png")));
        QCOMPARE(CurrentTypeface(shell.State)->Content.Image->Width, 3);
        QCOMPARE(shell.Main->EditUndo->text(), QStringLiteral("Undo Import Picture"));
        shell.Main->EditUndo->trigger();
        QCOMPARE(CurrentTypeface(shell.State)->Content.Image.get(), before);
        // A picture is no typeface: the main window refuses it.
        QVERIFY(
            !drop(shell.Main.get(), QStringLiteral(GLYFORA_TEST_DATA_FOLDER "/picture-3x2.png")));

        shell.Main->EditRedo->trigger(); // modified: the drop asks first
        editor.Messages.Choices.push_back(SaveChoice::Discard);
        QVERIFY(drop(shell.Character, face));
        QCOMPARE(editor.Messages.Questions, 1);
        QCOMPARE(shell.State.CurrentFilePath, face.toStdString());
        QCOMPARE(CurrentTypeface(shell.State)->Content.Image->Width, 1000);
        QCOMPARE(shell.History->Stack.count(), 0);
    }

    void OpenRecentListsOpenedAndSavedFilesAndDropsMissingOnes() {
        const testsupport::ScratchFolder folder;
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowSampleDocument(shell);
        for (const char* name : {"a.tf", "b.tf", "a.tf"}) {
            editor.Files.Answers.push_back({QString::fromStdString(folder.File(name)), 0});
            QVERIFY(SaveDocumentAs(shell));
        }
        QMenu* recent = shell.Main->FileOpenRecent;
        QCOMPARE(recent->actions().size(), 2);
        QCOMPARE(recent->actions().at(0)->text(), QString::fromStdString(folder.File("a.tf")));
        NewDocument(shell.State);
        ShowDocument(shell);
        recent->actions().at(1)->trigger();
        QCOMPARE(shell.State.CurrentFilePath, folder.File("b.tf"));
        QCOMPARE(recent->actions().at(0)->text(), QString::fromStdString(folder.File("b.tf")));

        std::filesystem::remove(folder.File("a.tf"));
        recent->actions().at(1)->trigger();
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(editor.Messages.Messages.back().Title, QStringLiteral("Open Recent"));
        QCOMPARE(shell.State.CurrentFilePath, folder.File("b.tf"));
    }

private:
    static const document::Character* CharacterOf(Shell& shell, std::int64_t code) {
        return document::FindCharacter(*CurrentTypeface(shell.State), code);
    }
};

GLYFORA_QTEST(UndoTests);

} // namespace glyfora::app::testing

#include "UndoTests.moc"
