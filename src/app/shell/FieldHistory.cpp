#include "app/shell/FieldHistory.h"

#include "app/shell/History.h"
#include "app/shell/Shell.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>

namespace glyfora::app {
namespace {

enum class HistoryKey { None, Undo, Redo };

HistoryKey KeyOf(const QKeyEvent& key) {
    const QKeyCombination combination = key.keyCombination();
    if (combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Z)) {
        return HistoryKey::Undo;
    }
    if (combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z) ||
        combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
        return HistoryKey::Redo;
    }
    return HistoryKey::None;
}

// Whether a text field outside the document has typing of its own to take back or redo.
bool HasOwnTextHistory(const QObject* field, HistoryKey key) {
    const QLineEdit* line = qobject_cast<const QLineEdit*>(field);
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(field)) {
        line = spin->findChild<const QLineEdit*>();
    }
    if (line != nullptr) {
        return key == HistoryKey::Undo ? line->isUndoAvailable() : line->isRedoAvailable();
    }
    if (const auto* text = qobject_cast<const QTextEdit*>(field)) {
        return key == HistoryKey::Undo ? text->document()->isUndoAvailable()
                                       : text->document()->isRedoAvailable();
    }
    return false;
}

class FieldHistoryFilter final : public QObject {
public:
    FieldHistoryFilter(Shell& shell, QObject* parent) : QObject(parent), shell_(shell) {}

    void Watch(QWidget* field, bool inDocument) {
        field->installEventFilter(this);
        if (inDocument) {
            documentFields_.insert(field);
        }
    }

protected:
    bool eventFilter(QObject* field, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && FieldBeingEdited(shell_, field)) {
            CommitFieldEdit(shell_);
            return false;
        }
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
            return false;
        }
        const HistoryKey key = KeyOf(*static_cast<QKeyEvent*>(event));
        if (key == HistoryKey::None || FieldBeingEdited(shell_, field) ||
            (!documentFields_.contains(field) && HasOwnTextHistory(field, key))) {
            return false;
        }
        // Not taken as an override, the key goes on to the application's Undo and Redo. A key
        // press that still arrives found nothing to undo; the field must not undo text instead.
        event->ignore();
        return true;
    }

private:
    Shell& shell_;
    QSet<const QObject*> documentFields_;
};

void WatchFieldsOf(FieldHistoryFilter& filter, QWidget* window, bool inDocument) {
    for (QAbstractSpinBox* field : window->findChildren<QAbstractSpinBox*>()) {
        filter.Watch(field, inDocument);
    }
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        if (qobject_cast<QAbstractSpinBox*>(field->parent()) == nullptr) {
            filter.Watch(field, inDocument);
        }
    }
    for (QTextEdit* field : window->findChildren<QTextEdit*>()) {
        filter.Watch(field, inDocument);
    }
}

} // namespace

void ConnectFieldHistory(Shell& shell) {
    auto* filter = new FieldHistoryFilter(shell, shell.Main.get());
    WatchFieldsOf(*filter, shell.Main.get(), true);
    for (QWidget* window : std::initializer_list<QWidget*>{
             shell.Import, shell.Example, shell.CharacterSet, shell.Character, shell.KerningPair}) {
        WatchFieldsOf(*filter, window, false);
    }
    for (QAbstractSpinBox* field : shell.Main->findChildren<QAbstractSpinBox*>()) {
        QObject::connect(field, &QAbstractSpinBox::editingFinished, filter, [&shell, field] {
            if (FieldBeingEdited(shell, field)) {
                CommitFieldEdit(shell);
            }
        });
    }
}

} // namespace glyfora::app
