#pragma once

#include "app/shell/Shell.h"

#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <functional>
#include <memory>

class QObject;

namespace glyfora::app {

class SnapshotStep;

// The edit history of the document: one undo stack per document, started afresh whenever a
// document is shown (New, Open, "Create Typeface"). Each step holds the content before and after
// it; undo and redo swap it in and refresh the lists, the views and the example.
struct History {
    QUndoStack Stack;
    // The most the steps may hold; beyond it the oldest steps are dropped, the newest always kept.
    std::size_t MemoryBudget = std::size_t{256} << 20;
    // A field's edits extend one step until the field commits its value (Return or leaving it);
    // this is that step and that field, or none.
    SnapshotStep* OpenStep = nullptr;
    const QObject* OpenField = nullptr;
};

// What the history holds: every state its steps keep, each once (a step's state after is the next
// step's state before), with each picture counted once.
[[nodiscard]] std::size_t HistoryBytes(const History& history);

// The history of the shell's document. The document's modified mark follows it alone: a step makes
// the document modified, and coming back to the saved state clears the mark. The main window's
// "Undo" and "Redo" entries are named after the steps they would take and enabled only when there
// is one.
[[nodiscard]] std::unique_ptr<History> MakeHistory(Shell& shell);

// Runs change and records what it did to the document as one step called name. A change that
// leaves the content as it was (a cancelled dialog, a refusal) records nothing. Every change to
// the document that is not a field edit goes through here. The oldest steps are dropped while the
// history holds more than its MemoryBudget.
void RecordStep(Shell& shell, const QString& name, const std::function<void()>& change);

// Runs a change made by typing into field. The first change opens a step called name; later
// changes of the same field join it until CommitFieldEdit.
void RecordFieldEdit(Shell& shell, const QObject* field, const QString& name,
                     const std::function<void()>& change);

// The open field step, if any, takes the document's content now as its result.
void CommitFieldEdit(Shell& shell);

// True while field has an open step: its text is being edited, so its own text undo applies.
[[nodiscard]] bool FieldBeingEdited(const Shell& shell, const QObject* field);

// Forgets every step; the shown document is the clean state unless saving says it needs saving
// (an import, which is on no disk yet).
void StartFreshHistory(Shell& shell, Saving saving);

// Sets the document's modified mark from the history, the one place it comes from: modified
// unless the history stands at its clean state.
void FollowModifiedMark(Shell& shell);

// The document was saved: the state now is the clean one.
void MarkSaved(Shell& shell);

// "Undo"/"Redo": commit an open field step first, then take one step back or forward.
void UndoStep(Shell& shell);
void RedoStep(Shell& shell);

} // namespace glyfora::app
