#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "Typing.h"
#include "app/editing/CharacterEditor.h"
#include "app/editing/KerningPairEditor.h"
#include "app/windows/CharacterCodeDialog.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "document/Image.h"
#include "views/ListTexts.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <vector>

namespace glyfora::app {
namespace {

using document::Character;
using document::CharacterMetric;
using document::KerningPair;
using testing::TypeInto;

// The editor's two frames over a document holding C, A, B (in that order, unsorted), pairs T-o and
// A-V, and a 1000 x 800 character-set image, shown as opening a file shows it. Every edit goes
// from the real controls through the dispatch table; the three views count their redraws from here
// on.
struct Frames {
    Frames()
        : shell(*editor.TheShell), context(*shell.Editing), typeface(*CurrentTypeface(shell.State)),
          view(shell.State.View), lastDialogCode(shell.State.LastDialogCode) {
        for (const std::int64_t code : {67, 65, 66}) {
            Character& character = document::AddCharacter(typeface, code);
            character.Source = {code * 10 - 50, 500, 8, 12};
            character.Outlay = {-1, 2, 9, 16};
        }
        document::AddKerningPair(typeface, 'T', 'o', -2);
        document::AddKerningPair(typeface, 'A', 'V', -3);
        document::SetCharacterSetImage(typeface, document::MakeImage(1000, 800));
        ShowDocument(shell);
        // The windows' own start-up events come first, so that only the edits are counted.
        QCoreApplication::processEvents();
        QObject::connect(shell.Character->Canvas, &CanvasWidget::pictureShown,
                         [this] { ++characterDraws; });
        QObject::connect(shell.KerningPair->Canvas, &CanvasWidget::pictureShown,
                         [this] { ++pairDraws; });
        QObject::connect(shell.CharacterSet->Canvas, &CanvasWidget::pictureShown,
                         [this] { ++characterSetDraws; });
    }

    // Selects a row as a click would, so the selection handler runs.
    void Click(QTreeWidget* list, int row) { list->setCurrentItem(list->topLevelItem(row)); }

    [[nodiscard]] QString Cell(QTreeWidget* list, int row, int column) const {
        return list->topLevelItem(row)->text(column);
    }

    [[nodiscard]] std::vector<std::int64_t> Codes() const {
        std::vector<std::int64_t> codes;
        for (const Character& character : typeface.Content.Characters) {
            codes.push_back(character.Index);
        }
        return codes;
    }

    // "Add Char" of the character-set window, answering its character-code dialog with "OK" and
    // answer, or by closing it when answer is -1. The code the dialog showed first is kept.
    void AddChar(std::int64_t answer) {
        QTimer::singleShot(0, [this, answer] {
            auto* dialog = qobject_cast<CharacterCodeDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            askedWith.push_back(dialog->Code());
            if (answer == -1) {
                dialog->close();
            } else {
                dialog->DecimalField->setValue(static_cast<int>(answer));
                dialog->OkButton->click();
            }
        });
        shell.CharacterSet->CharacterSetAddChar->trigger();
    }

    testing::Editor editor;
    Shell& shell;
    EditingContext& context;
    document::Typeface& typeface;
    views::ViewState& view;
    std::int64_t& lastDialogCode;
    int characterDraws = 0;
    int pairDraws = 0;
    int characterSetDraws = 0;
    std::vector<std::int64_t> askedWith;
};

} // namespace

class EditingFrameTests : public QObject {
    Q_OBJECT

private slots:
    void RefillSortsTheModelAndSelectsWithoutRunningTheHandler() {
        Frames editor;
        QTreeWidget* list = editor.context.Characters.List;
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(editor.Codes(), (std::vector<std::int64_t>{65, 66, 67}));
        QCOMPARE(editor.Cell(list, 0, 0), QStringLiteral("65"));
        QCOMPARE(editor.Cell(list, 0, 1), QStringLiteral("A"));
        QCOMPARE(editor.Cell(list, 0, 2), QStringLiteral("\u2002600, 500"));
        QCOMPARE(editor.Cell(list, 0, 3), QStringLiteral("8\u00D712"));
        QCOMPARE(editor.Cell(list, 0, 4), QStringLiteral("\u2002-1, 2"));
        QCOMPARE(editor.Cell(list, 0, 5), QStringLiteral("9\u00D716"));
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(editor.Cell(editor.context.Pairs.List, 0, 0),
                 QStringLiteral("\u2002\u200265, 86"));
        QCOMPARE(editor.Cell(editor.context.Pairs.List, 1, 1), QStringLiteral("To"));

        Character* b = document::FindCharacter(editor.typeface, 66);
        RefillCharacterList(editor.context, b);
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(RowRecord(list->selectedItems().front()), static_cast<void*>(b));
        QCOMPARE(editor.view.CurrentCharacter, b);
        QCOMPARE(editor.characterDraws, 0);
        QCOMPARE(editor.context.Characters.CopyButton->text(), QStringLiteral("New"));
        QVERIFY(!editor.typeface.Modified);
    }

    void SelectingACharacterShowsItAndCentresTheCharacterSetView() {
        Frames editor;
        editor.Click(editor.context.Characters.List, 2); // C: cell (620, 500, 8, 12)
        const Character* c = document::FindCharacter(editor.typeface, 67);
        QCOMPARE(editor.view.CurrentCharacter, c);
        const CharacterFrame& frame = editor.context.Characters;
        QCOMPARE(frame.Character.Code->value(), 67);
        QCOMPARE(frame.Character.Glyph->text(), QStringLiteral("C"));
        const int expected[] = {620, 500, 8, 12, -1, 2, 9, 16};
        for (std::size_t i = 0; i < frame.Metrics.size(); ++i) {
            QCOMPARE(frame.Metrics[i]->value(), expected[i]);
        }
        QCOMPARE(editor.view.Selection, c->Source);
        // Centred on the cell: nothing to clamp while the canvas is smaller than the picture.
        const QSize canvas = editor.shell.CharacterSet->Canvas->size();
        QVERIFY(canvas.width() > 0 && canvas.width() < 580);
        QVERIFY(canvas.height() > 0 && canvas.height() < 580);
        QCOMPARE(editor.view.ScrollX, 620 - canvas.width() / 2 + 8 / 2);
        QCOMPARE(editor.view.ScrollY, 500 - canvas.height() / 2 + 12 / 2);
        QCOMPARE(frame.CopyButton->text(), QStringLiteral("Copy"));
        QCOMPARE(editor.characterDraws, 1);
        QCOMPARE(editor.characterSetDraws, 1);
        // Showing the record ran no edit handler.
        QVERIFY(!editor.typeface.Modified);
        QCOMPARE(editor.pairDraws, 0);

        editor.context.Characters.List->clearSelection();
        QCOMPARE(editor.view.CurrentCharacter, nullptr);
        QCOMPARE(frame.CopyButton->text(), QStringLiteral("New"));
        QCOMPARE(editor.characterDraws, 2);
    }

    void CopyThenRecodeToAFreeCode() {
        Frames editor;
        Character* a = document::FindCharacter(editor.typeface, 65);
        editor.Click(editor.context.Characters.List, 0);
        const int drawsBefore = editor.characterDraws;
        editor.context.Characters.CopyButton->click();

        QTreeWidget* list = editor.context.Characters.List;
        QCOMPARE(list->topLevelItemCount(), 4);
        auto* copy = static_cast<Character*>(RowRecord(list->selectedItems().value(0)));
        QVERIFY(copy != nullptr && copy != a);
        QCOMPARE(copy->Source, a->Source);
        QCOMPARE(editor.characterDraws, drawsBefore); // the selection handler is posted
        QCoreApplication::processEvents();
        QCOMPARE(editor.view.CurrentCharacter, copy);
        QCOMPARE(editor.characterDraws, drawsBefore + 1);

        TypeInto(editor.context.Characters.Character.Code, QStringLiteral("70"));
        QCOMPARE(copy->Index, 70);
        const int row = list->indexOfTopLevelItem(list->selectedItems().front());
        QCOMPARE(editor.Cell(list, row, 0), QStringLiteral("70"));
        QCOMPARE(editor.Cell(list, row, 1), QStringLiteral("F"));
        QCOMPARE(editor.context.Characters.Character.Glyph->text(), QStringLiteral("F"));
        QCOMPARE(document::FindCharacter(editor.typeface, 70), copy);
        QCOMPARE(document::FindCharacter(editor.typeface, 65), a);
        QVERIFY(editor.typeface.Modified);
    }

    void RecodeOntoAUsedCodeIsMarkedUntilTheNextRefill() {
        Frames editor;
        QTreeWidget* list = editor.context.Characters.List;
        Character* b = document::FindCharacter(editor.typeface, 66);
        editor.Click(list, 1);
        TypeInto(editor.context.Characters.Character.Code, QStringLiteral("65"));
        QCOMPARE(editor.Cell(list, 1, 0), QStringLiteral("! 65"));
        QCOMPARE(editor.Cell(list, 1, 1), QStringLiteral("A"));
        QCOMPARE(document::FindCharacter(editor.typeface, 65), b); // later in the list
        QCOMPARE(document::FindCharacter(editor.typeface, 66), nullptr);

        RefillCharacterList(editor.context, nullptr);
        QCOMPARE(editor.Cell(list, 0, 0), QStringLiteral("65"));
        QCOMPARE(editor.Cell(list, 1, 0), QStringLiteral("65"));
    }

    void GlyphFieldSetsTheCodeOnce() {
        Frames editor;
        const PartnerFields& fields = editor.context.Characters.Character;
        Character* a = document::FindCharacter(editor.typeface, 65);
        editor.Click(editor.context.Characters.List, 0);
        QSignalSpy codeChanges(fields.Code, &QSpinBox::valueChanged);
        const int pairDrawsBefore = editor.pairDraws;

        TypeInto(fields.Glyph, QStringLiteral("Z"));
        QCOMPARE(fields.Code->value(), 90);
        QCOMPARE(fields.Glyph->text(), QStringLiteral("Z"));
        QCOMPARE(a->Index, 90);
        QCOMPARE(editor.Cell(editor.context.Characters.List, 0, 0), QStringLiteral("90"));
        QCOMPARE(codeChanges.count(), 0);
        QCOMPARE(editor.pairDraws, pairDrawsBefore + 1); // the code handler ran exactly once

        TypeInto(fields.Glyph, QString());
        QCOMPARE(fields.Code->value(), 0);
        QCOMPARE(a->Index, 0);
    }

    void MetricFieldsRewriteTheirCells() {
        Frames editor;
        QTreeWidget* list = editor.context.Characters.List;
        const auto& metrics = editor.context.Characters.Metrics;
        Character* a = document::FindCharacter(editor.typeface, 65);
        editor.Click(list, 0);
        const int setDraws = editor.characterSetDraws;

        TypeInto(metrics[static_cast<int>(CharacterMetric::SourceX)], QStringLiteral("7"));
        QCOMPARE(editor.Cell(list, 0, 2), QStringLiteral("\u2002\u2002\u20027, 500"));
        QCOMPARE(editor.view.Selection, a->Source);
        QCOMPARE(editor.characterSetDraws, setDraws + 1);

        TypeInto(metrics[static_cast<int>(CharacterMetric::SourceHeight)], QStringLiteral("30"));
        QCOMPARE(editor.Cell(list, 0, 3), QStringLiteral("8\u00D730"));
        QCOMPARE(editor.view.Selection.Height, 30);

        const int setDrawsBeforeOutlay = editor.characterSetDraws;
        TypeInto(metrics[static_cast<int>(CharacterMetric::OutlayX)], QStringLiteral("-1000"));
        QCOMPARE(a->Outlay.X, -1000);
        QCOMPARE(editor.Cell(list, 0, 4), QStringLiteral("-1000, 2"));
        // The layout box leaves the cell and the marked rectangle alone.
        QCOMPARE(editor.characterSetDraws, setDrawsBeforeOutlay);
        QCOMPARE(editor.view.Selection, a->Source);

        TypeInto(metrics[static_cast<int>(CharacterMetric::OutlayWidth)], QStringLiteral("11"));
        QCOMPARE(editor.Cell(list, 0, 5), QStringLiteral("11\u00D716"));
        QVERIFY(editor.typeface.Modified);
    }

    void DeleteRemovesTheRowAndLeavesNothingSelected() {
        Frames editor;
        QTreeWidget* list = editor.context.Characters.List;
        editor.Click(list, 0);
        editor.context.Characters.DeleteButton->click();
        QCOMPARE(list->topLevelItemCount(), 2);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(editor.Codes(), (std::vector<std::int64_t>{66, 67}));
        QCOMPARE(document::FindCharacter(editor.typeface, 65), nullptr);
        QCOMPARE(editor.view.CurrentCharacter, nullptr);
        QCOMPARE(editor.context.Characters.CopyButton->text(), QStringLiteral("New"));
        QVERIFY(editor.typeface.Modified);

        // Nothing selected: both buttons and the fields leave the document alone.
        editor.typeface.Modified = false;
        editor.context.Characters.DeleteButton->click();
        editor.context.Characters.CopyButton->click();
        TypeInto(editor.context.Characters.Character.Code, QStringLiteral("66"));
        QCOMPARE(editor.Codes(), (std::vector<std::int64_t>{66, 67}));
        QVERIFY(!editor.typeface.Modified);
    }

    void AddCharacterTakesTheMarkedRectangle() {
        Frames editor;
        editor.view.Selection = {5, 6, 0, 0};
        editor.AddChar(0x4E00);
        // The first use shows the dialog's own first code.
        QCOMPARE(editor.askedWith, (std::vector<std::int64_t>{CharacterCodeDialog::FirstCode}));
        QCOMPARE(editor.lastDialogCode, 0x4E00);
        QTreeWidget* list = editor.context.Characters.List;
        QCOMPARE(list->topLevelItemCount(), 4);
        auto* added = static_cast<Character*>(RowRecord(list->selectedItems().value(0)));
        QVERIFY(added != nullptr);
        QCOMPARE(added->Index, 0x4E00);
        QCOMPARE(added->Source, (document::Rect64{5, 6, 0, 0}));
        QCOMPARE(added->Outlay, (document::Rect64{0, 0, 0, 0}));
        QCoreApplication::processEvents();
        QCOMPARE(editor.view.CurrentCharacter, added);
        QCOMPARE(editor.context.Characters.Character.Code->value(), 0x4E00);

        editor.AddChar(-1);
        QCOMPARE(editor.askedWith,
                 (std::vector<std::int64_t>{CharacterCodeDialog::FirstCode, 0x4E00}));
        QCOMPARE(editor.lastDialogCode, -1);
        QCOMPARE(list->topLevelItemCount(), 4);
    }

    void KerningPairFrameEditsTheSelectedPair() {
        Frames editor;
        QTreeWidget* list = editor.context.Pairs.List;
        const KerningPairFrame& frame = editor.context.Pairs;
        editor.Click(list, 0); // A-V
        auto* pair = static_cast<KerningPair*>(RowRecord(list->topLevelItem(0)));
        QCOMPARE(editor.view.CurrentPair, pair);
        QCOMPARE(frame.Left.Code->value(), 65);
        QCOMPARE(frame.Left.Glyph->text(), QStringLiteral("A"));
        QCOMPARE(frame.Right.Glyph->text(), QStringLiteral("V"));
        QCOMPARE(frame.AmountField->value(), -3);
        QCOMPARE(frame.CopyButton->text(), QStringLiteral("Copy"));
        QVERIFY(!editor.typeface.Modified);

        TypeInto(frame.Left.Code, QStringLiteral("19968"));
        QCOMPARE(document::PairLeft(*pair), 0x4E00);
        QCOMPARE(frame.Left.Glyph->text(), QStringLiteral("\u4E00"));
        QCOMPARE(editor.Cell(list, 0, 0), QStringLiteral("19968, 86"));
        QCOMPARE(editor.Cell(list, 0, 1), QStringLiteral("\u4E00V"));
        QCOMPARE(document::KerningAmount(editor.typeface, document::MakePairKey(0x4E00, 86)), -3);

        TypeInto(frame.Right.Glyph, QStringLiteral("W"));
        QCOMPARE(frame.Right.Code->value(), 87);
        QCOMPARE(editor.Cell(list, 0, 0), QStringLiteral("19968, 87"));

        TypeInto(frame.AmountField, QStringLiteral("-7"));
        QCOMPARE(pair->Amount, -7);
        QCOMPARE(editor.Cell(list, 0, 2), QStringLiteral("-7"));
        QVERIFY(editor.typeface.Modified);
    }

    void KerningPairCopyAndDelete() {
        Frames editor;
        QTreeWidget* list = editor.context.Pairs.List;
        editor.Click(list, 1); // T-o
        auto* original = static_cast<KerningPair*>(RowRecord(list->topLevelItem(1)));
        editor.context.Pairs.CopyButton->click();
        QCOMPARE(list->topLevelItemCount(), 3);
        auto* copy = static_cast<KerningPair*>(RowRecord(list->selectedItems().value(0)));
        QVERIFY(copy != nullptr && copy != original);
        QCOMPARE(copy->PairKey, original->PairKey);
        QCoreApplication::processEvents();
        QCOMPARE(editor.view.CurrentPair, copy);

        const int pairDraws = editor.pairDraws;
        editor.context.Pairs.DeleteButton->click();
        QCOMPARE(list->topLevelItemCount(), 2);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(editor.view.CurrentPair, nullptr);
        QCOMPARE(editor.context.Pairs.CopyButton->text(), QStringLiteral("New"));
        QCOMPARE(editor.pairDraws, pairDraws + 1); // hides the window
        QCOMPARE(document::KerningAmount(editor.typeface, original->PairKey), -2);
    }

    void ANewDocumentEmptiesTheLists() {
        Frames editor;
        editor.Click(editor.context.Characters.List, 0);
        editor.typeface.Content.Characters.Clear();
        editor.typeface.Content.KerningPairs.Clear();
        document::RebuildIndexes(editor.typeface);
        RefillCharacterList(editor.context, nullptr);
        RefillKerningPairList(editor.context, nullptr);
        QCOMPARE(editor.context.Characters.List->topLevelItemCount(), 0);
        QCOMPARE(editor.view.CurrentCharacter, nullptr);
        editor.context.Characters.CopyButton->click();
        editor.context.Pairs.DeleteButton->click();
        QVERIFY(!editor.typeface.Modified);
    }
};

GLYFORA_QTEST(EditingFrameTests);

} // namespace glyfora::app

#include "EditingFrameTests.moc"
