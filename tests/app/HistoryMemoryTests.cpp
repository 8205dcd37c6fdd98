#include "QtTestRegistry.h"
#include "ShellFixture.h"
#include "app/shell/History.h"
#include "app/windows/MainWindow.h"
#include "document/TypefaceSnapshot.h"

#include <QAction>
#include <QTest>
#include <cstddef>

namespace glyfora::app::testing {
namespace {

constexpr int CharacterCount = 2000;

// A document big enough that its records, not the fixed parts of a snapshot, are what counts.
void ShowManyCharacters(Shell& shell) {
    document::Typeface& typeface = *CurrentTypeface(shell.State);
    for (int code = 0; code < CharacterCount; ++code) {
        document::AddCharacter(typeface, code).Source = {0, 0, 8, 8};
    }
    ShowDocument(shell);
}

// Step k moves every cell to X k, so the X of any cell tells which state is shown.
void MoveEveryCell(Shell& shell, std::int64_t x) {
    RecordStep(shell, QStringLiteral("Move"), [&shell, x] {
        for (document::Character& character : CurrentTypeface(shell.State)->Content.Characters) {
            character.Source.X = x;
        }
    });
}

std::int64_t ShownState(Shell& shell) {
    return CurrentTypeface(shell.State)->Content.Characters.Items.front().Source.X;
}

std::size_t OneState(Shell& shell) {
    return document::RecordBytes(document::TakeSnapshot(*CurrentTypeface(shell.State)));
}

} // namespace

class HistoryMemoryTests : public QObject {
    Q_OBJECT

private slots:
    void ConsecutiveStepsShareTheStateBetweenThem() {
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowManyCharacters(shell);
        const std::size_t state = OneState(shell);
        constexpr int Steps = 4;
        for (int k = 1; k <= Steps; ++k) {
            MoveEveryCell(shell, k);
        }
        QCOMPARE(shell.History->Stack.count(), Steps);
        // Steps + 1 states, each held once; without sharing every step would hold two.
        const std::size_t held = HistoryBytes(*shell.History);
        QVERIFY2(held >= (Steps + 1) * state, qPrintable(QString::number(held)));
        QVERIFY2(held < (Steps + 2) * state, qPrintable(QString::number(held)));
        // A step after an undo starts from the state the undo showed, shared as well.
        shell.Main->EditUndo->trigger();
        MoveEveryCell(shell, 9);
        QCOMPARE(shell.History->Stack.count(), Steps);
        QVERIFY(HistoryBytes(*shell.History) < (Steps + 2) * state);
    }

    void TheOldestStepsGoBeyondTheBudget_data() {
        QTest::addColumn<double>("budgetInStates");
        QTest::addColumn<int>("savedAt"); // the step after which the document was saved
        QTest::addColumn<int>("keptSteps");
        QTest::newRow("room for all") << 100.0 << 2 << 6;
        QTest::newRow("room for three states, saved at a kept step") << 3.5 << 5 << 2;
        QTest::newRow("room for three states, saved at the oldest kept state") << 3.5 << 4 << 2;
        QTest::newRow("room for three states, saved at a dropped step") << 3.5 << 2 << 2;
        QTest::newRow("room for less than one step keeps the newest") << 0.5 << 6 << 1;
    }

    void TheOldestStepsGoBeyondTheBudget() {
        QFETCH(double, budgetInStates);
        QFETCH(int, savedAt);
        QFETCH(int, keptSteps);
        constexpr int Steps = 6;
        Editor editor;
        Shell& shell = *editor.TheShell;
        ShowManyCharacters(shell);
        shell.History->MemoryBudget = static_cast<std::size_t>(budgetInStates * OneState(shell));
        for (int k = 1; k <= Steps; ++k) {
            MoveEveryCell(shell, k);
            if (k == savedAt) {
                MarkSaved(shell);
            }
        }
        QCOMPARE(shell.History->Stack.count(), keptSteps);
        if (keptSteps > 1) {
            QVERIFY(HistoryBytes(*shell.History) <= shell.History->MemoryBudget);
        }
        QCOMPARE(CurrentTypeface(shell.State)->Modified, savedAt != Steps);
        // Undo reaches back as far as the kept steps go, the saved state unmodified.
        const bool savedStateKept = savedAt >= Steps - keptSteps;
        for (int k = Steps - 1; k >= Steps - keptSteps; --k) {
            shell.Main->EditUndo->trigger();
            QCOMPARE(ShownState(shell), std::int64_t{k});
            QCOMPARE(CurrentTypeface(shell.State)->Modified, !(savedStateKept && k == savedAt));
        }
        QVERIFY(!shell.Main->EditUndo->isEnabled());
        for (int k = Steps - keptSteps + 1; k <= Steps; ++k) {
            shell.Main->EditRedo->trigger();
            QCOMPARE(ShownState(shell), std::int64_t{k});
        }
        QVERIFY(!shell.Main->EditRedo->isEnabled());
        QCOMPARE(CurrentTypeface(shell.State)->Modified, savedAt != Steps);
    }
};

GLYFORA_QTEST(HistoryMemoryTests);

} // namespace glyfora::app::testing

#include "HistoryMemoryTests.moc"
