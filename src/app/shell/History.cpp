#include "app/shell/History.h"

#include "app/shell/EditingLists.h"
#include "app/shell/Shell.h"
#include "app/windows/MainWindow.h"
#include "document/TypefaceSnapshot.h"

#include <QAction>
#include <QUndoCommand>
#include <optional>
#include <set>
#include <vector>

namespace glyfora::app {

// The document's content and the rows selected in its two lists. The content is shared: the
// step after a state starts from the very snapshot the step before it ended with.
struct DocumentState {
    std::shared_ptr<const document::TypefaceSnapshot> Content;
    std::optional<std::size_t> CharacterRow;
    std::optional<std::size_t> PairRow;
};

namespace {

std::optional<DocumentState> Capture(Shell& shell) {
    document::Typeface* typeface = CurrentTypeface(shell.State);
    if (typeface == nullptr) {
        return std::nullopt;
    }
    const document::TypefaceContent& content = typeface->Content;
    return DocumentState{
        std::make_shared<const document::TypefaceSnapshot>(document::TakeSnapshot(*typeface)),
        document::PositionInList(content.Characters, SelectedCharacter(*shell.Editing)),
        document::PositionInList(content.KerningPairs, SelectedKerningPair(*shell.Editing))};
}

// Puts a state back and shows it as a change of every kind is shown, with the state's rows
// selected.
void Restore(Shell& shell, const DocumentState& state) {
    document::Typeface* typeface = CurrentTypeface(shell.State);
    if (typeface == nullptr) {
        return;
    }
    document::RestoreSnapshot(*typeface, *state.Content);
    ShowDocumentChange(shell, {state.CharacterRow, state.PairRow});
}

} // namespace

// One step of the history. The change has already happened when the step is pushed, so the
// first redo does nothing; the state after it is taken when the step is closed.
class SnapshotStep final : public QUndoCommand {
public:
    SnapshotStep(Shell& shell, const QString& name, DocumentState before,
                 std::optional<DocumentState> after)
        : QUndoCommand(name), shell_(shell), before_(std::move(before)), after_(std::move(after)) {}

    void Close() {
        if (!after_) {
            after_ = Capture(shell_);
        }
    }

    void undo() override {
        Close();
        Restore(shell_, before_);
    }

    void redo() override {
        if (pushed_) {
            pushed_ = false;
            return;
        }
        if (after_) {
            Restore(shell_, *after_);
        }
    }

    [[nodiscard]] const DocumentState& Before() const { return before_; }
    [[nodiscard]] const std::optional<DocumentState>& After() const { return after_; }

private:
    Shell& shell_;
    DocumentState before_;
    std::optional<DocumentState> after_;
    bool pushed_ = true;
};

namespace {

const SnapshotStep& StepAt(const History& history, int index) {
    return *static_cast<const SnapshotStep*>(history.Stack.command(index));
}

// A state that starts a new step takes the snapshot the current step ended with when the content
// is the same, so the two steps share it. (The steps undone above it go with the push.)
DocumentState ShareWithNewest(const History& history, DocumentState state) {
    const int current = history.Stack.index();
    if (current > 0) {
        const std::optional<DocumentState>& newest = StepAt(history, current - 1).After();
        if (newest && document::SameContent(*newest->Content, *state.Content)) {
            state.Content = newest->Content;
        }
    }
    return state;
}

// The bytes of the steps from first on, each state and picture counted once.
std::size_t BytesFrom(const History& history, int first) {
    std::set<const void*> counted;
    std::size_t bytes = 0;
    const auto add = [&](const DocumentState& state) {
        const document::TypefaceSnapshot& content = *state.Content;
        if (counted.insert(&content).second) {
            bytes += document::RecordBytes(content);
        }
        for (const document::Image* picture : {content.Image.get(), content.Sprite.get()}) {
            if (picture != nullptr && counted.insert(picture).second) {
                bytes += document::PictureBytes(picture);
            }
        }
    };
    for (int i = first; i < history.Stack.count(); ++i) {
        const SnapshotStep& step = StepAt(history, i);
        add(step.Before());
        if (step.After()) {
            add(*step.After());
        }
    }
    return bytes;
}

struct KeptStep {
    QString Name;
    DocumentState Before;
    std::optional<DocumentState> After;
};

// Drops the oldest steps while the history holds more than its budget. QUndoStack cannot let go
// of its oldest commands, so the kept steps are pushed again into the emptied stack, the clean
// state where it was (or none when it was dropped). Called with the newest step current.
void KeepWithinBudget(Shell& shell) {
    History& history = *shell.History;
    const int count = history.Stack.count();
    int first = 0;
    while (first < count - 1 && BytesFrom(history, first) > history.MemoryBudget) {
        ++first;
    }
    if (first == 0) {
        return;
    }
    std::vector<KeptStep> kept;
    for (int i = first; i < count; ++i) {
        const SnapshotStep& step = StepAt(history, i);
        kept.push_back({step.text(), step.Before(), step.After()});
    }
    const int clean = history.Stack.cleanIndex() - first; // in the kept steps
    history.Stack.clear();
    if (clean != 0) {
        history.Stack.resetClean();
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        KeptStep& step = kept[i];
        history.Stack.push(
            new SnapshotStep(shell, step.Name, std::move(step.Before), std::move(step.After)));
        if (clean == static_cast<int>(i) + 1) {
            history.Stack.setClean();
        }
    }
}

} // namespace

std::size_t HistoryBytes(const History& history) {
    return BytesFrom(history, 0);
}

void FollowModifiedMark(Shell& shell) {
    if (document::Typeface* typeface = CurrentTypeface(shell.State)) {
        typeface->Modified = !shell.History->Stack.isClean();
    }
}

std::unique_ptr<History> MakeHistory(Shell& shell) {
    auto history = std::make_unique<History>();
    QUndoStack* stack = &history->Stack;
    const auto followModifiedMark = [&shell] { FollowModifiedMark(shell); };
    QObject::connect(stack, &QUndoStack::indexChanged, stack, followModifiedMark);
    QObject::connect(stack, &QUndoStack::cleanChanged, stack, followModifiedMark);
    MainWindow& main = *shell.Main;
    const auto name = [](const QString& command, const QString& step) {
        return step.isEmpty() ? command : command + u' ' + step;
    };
    QObject::connect(stack, &QUndoStack::undoTextChanged, main.EditUndo,
                     [&main, name](const QString& step) {
                         main.EditUndo->setText(name(QStringLiteral("Undo"), step));
                     });
    QObject::connect(stack, &QUndoStack::redoTextChanged, main.EditRedo,
                     [&main, name](const QString& step) {
                         main.EditRedo->setText(name(QStringLiteral("Redo"), step));
                     });
    QObject::connect(stack, &QUndoStack::canUndoChanged, main.EditUndo, &QAction::setEnabled);
    QObject::connect(stack, &QUndoStack::canRedoChanged, main.EditRedo, &QAction::setEnabled);
    main.EditUndo->setEnabled(false);
    main.EditRedo->setEnabled(false);
    return history;
}

void RecordStep(Shell& shell, const QString& name, const std::function<void()>& change) {
    CommitFieldEdit(shell);
    std::optional<DocumentState> before = Capture(shell);
    change();
    std::optional<DocumentState> after = Capture(shell);
    if (!before || !after || document::SameContent(*before->Content, *after->Content)) {
        return;
    }
    shell.History->Stack.push(new SnapshotStep(
        shell, name, ShareWithNewest(*shell.History, std::move(*before)), std::move(after)));
    KeepWithinBudget(shell);
}

void RecordFieldEdit(Shell& shell, const QObject* field, const QString& name,
                     const std::function<void()>& change) {
    History& history = *shell.History;
    if (history.OpenStep != nullptr && history.OpenField == field) {
        change();
        return;
    }
    CommitFieldEdit(shell);
    std::optional<DocumentState> before = Capture(shell);
    change();
    if (!before) {
        return;
    }
    auto* step =
        new SnapshotStep(shell, name, ShareWithNewest(history, std::move(*before)), std::nullopt);
    history.Stack.push(step);
    history.OpenStep = step;
    history.OpenField = field;
}

void CommitFieldEdit(Shell& shell) {
    History& history = *shell.History;
    const bool closing = history.OpenStep != nullptr;
    if (closing) {
        history.OpenStep->Close();
    }
    history.OpenStep = nullptr;
    history.OpenField = nullptr;
    if (closing) {
        KeepWithinBudget(shell);
    }
}

bool FieldBeingEdited(const Shell& shell, const QObject* field) {
    return shell.History->OpenStep != nullptr && shell.History->OpenField == field;
}

void StartFreshHistory(Shell& shell, Saving saving) {
    History& history = *shell.History;
    history.OpenStep = nullptr;
    history.OpenField = nullptr;
    history.Stack.clear();
    // An unsaved document has no state to come back to that needs no saving.
    if (saving == Saving::Needed) {
        history.Stack.resetClean();
    }
    FollowModifiedMark(shell);
}

void MarkSaved(Shell& shell) {
    CommitFieldEdit(shell);
    shell.History->Stack.setClean();
}

void UndoStep(Shell& shell) {
    CommitFieldEdit(shell);
    shell.History->Stack.undo();
}

void RedoStep(Shell& shell) {
    CommitFieldEdit(shell);
    shell.History->Stack.redo();
}

} // namespace glyfora::app
