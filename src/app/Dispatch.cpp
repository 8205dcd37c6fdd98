#include "app/Dispatch.h"

#include "app/CharacterSetPicture.h"
#include "app/CharacterSetWindow.h"
#include "app/CharacterWindow.h"
#include "app/EditingDispatch.h"
#include "app/ExampleWindow.h"
#include "app/ImportWindow.h"
#include "app/KerningPairWindow.h"
#include "app/LayoutCommands.h"
#include "app/MainWindow.h"
#include "app/Shell.h"
#include "app/ShellViews.h"
#include "views/CharacterSetMouse.h"
#include "views/CharacterView.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>

#include <map>
#include <utility>

namespace glyfora::app {
namespace {

void DoNothing(Shell& /*shell*/, const DispatchEvent& /*event*/) {}

void OnNew(Shell& shell, const DispatchEvent& /*event*/) {
    if (!ConfirmDiscard(shell)) {
        return;
    }
    NewDocument(shell.State);
    ForgetDocumentFile(shell.State);
    ShowDocument(shell);
}

void OnOpen(Shell& shell, const DispatchEvent& /*event*/) {
    if (!ConfirmDiscard(shell)) {
        return;
    }
    const FileDialogAnswer answer = shell.Services.Files.OpenFile(
        shell.Main.get(), QStringLiteral("Open Typeface"),
        QString::fromStdString(shell.State.CurrentFilePath), TypefaceFileFilters());
    if (!answer.Path.isEmpty()) {
        (void)OpenTypefaceFile(shell, answer.Path.toStdString());
    }
}

void OnSave(Shell& shell, const DispatchEvent& /*event*/) {
    (void)SaveDocument(shell);
}

void OnSaveAs(Shell& shell, const DispatchEvent& /*event*/) {
    (void)SaveDocumentAs(shell);
}

void OnImportTtf(Shell& shell, const DispatchEvent& /*event*/) {
    shell.Import->show();
    shell.Import->raise();
}

void OnImportWindowClosed(Shell& shell, const DispatchEvent& /*event*/) {
    shell.Import->hide();
}

void OnImportPreviewControl(Shell& shell, const DispatchEvent& /*event*/) {
    DrawImportPreview(*shell.Import, shell.State.Graphics);
}

void OnCreateTypeface(Shell& shell, const DispatchEvent& /*event*/) {
    (void)CreateTypefaceFromWindow(shell);
}

void OnMainWindowClosed(Shell& shell, const DispatchEvent& /*event*/) {
    if (!ConfirmDiscard(shell)) {
        return;
    }
    ShutDown(shell);
    // exit(), not quit(): quit() first asks every window to close, and tool windows refuse.
    QCoreApplication::exit(0);
}

void OnCommentEdited(Shell& shell, const DispatchEvent& /*event*/) {
    document::Typeface* typeface = document::TypefaceFromId(shell.State.Registry, TypefaceId);
    if (typeface == nullptr) {
        return;
    }
    const std::string text = shell.Main->CommentField->toPlainText().toStdString();
    std::string& comment = document::PropertyValue(*typeface, std::string("Comment"));
    // Showing a document's comment fills the field too; that is no edit.
    if (comment != text) {
        comment = text;
        typeface->Modified = true;
    }
}

void OnExampleTextEdited(Shell& shell, const DispatchEvent& /*event*/) {
    RequestExampleFrame(shell);
}

void OnCharacterSetResized(Shell& shell, const DispatchEvent& /*event*/) {
    DrawCharacterSetView(shell, false);
}

void OnCharacterSetCanvasMouse(Shell& shell, const DispatchEvent& event) {
    views::ViewState& view = shell.State.View;
    views::ViewUpdate update;
    switch (event.Action) {
    case MouseAction::Press:
        switch (event.Button) {
        case MouseButton::Left:
            update = views::OnCharacterSetLeftDown(view, event.X, event.Y);
            break;
        case MouseButton::Right:
            update = views::OnCharacterSetRightDown(view, event.X, event.Y);
            break;
        case MouseButton::Middle:
            update = views::OnCharacterSetMiddleDown(view, event.X, event.Y);
            break;
        case MouseButton::None:
            break;
        }
        break;
    case MouseAction::Move: {
        const CharacterSetCanvas& canvas = *shell.CharacterSet->Canvas;
        update = views::OnCharacterSetMove(
            view, document::TypefaceFromId(shell.State.Registry, TypefaceId), event.X, event.Y,
            canvas.width(), canvas.height());
        break;
    }
    case MouseAction::Release:
        if (event.Button == MouseButton::Left) {
            update = views::OnCharacterSetLeftUp(view);
        } else if (event.Button == MouseButton::Middle) {
            update = views::OnCharacterSetMiddleUp(view);
        }
        break;
    }
    ApplyViewUpdate(shell, update);
}

void OnCharacterSetCanvasWheel(Shell& shell, const DispatchEvent& event) {
    ApplyViewUpdate(shell, views::OnCharacterSetWheel(shell.State.View, event.Notches));
}

void OnExampleResized(Shell& shell, const DispatchEvent& /*event*/) {
    shell.Example->LayOut();
}

void ZoomCharacterViews(Shell& shell, int notches, QWidget& window) {
    ApplyViewUpdate(shell, views::OnCharacterZoomWheel(shell.State.View, notches));
    window.activateWindow();
}

void OnCharacterCanvasWheel(Shell& shell, const DispatchEvent& event) {
    ZoomCharacterViews(shell, event.Notches, *shell.Character);
}

void OnKerningPairCanvasWheel(Shell& shell, const DispatchEvent& event) {
    ZoomCharacterViews(shell, event.Notches, *shell.KerningPair);
}

using enum WindowName;
using enum Trigger;

constexpr DispatchEntry Table[] = {
    {Main, u"FileNew", Command, OnNew},
    {Main, u"FileOpen", Command, OnOpen},
    {Main, u"FileSave", Command, OnSave},
    {Main, u"FileSaveAs", Command, OnSaveAs},
    {Main, u"FileImportTtf", Command, OnImportTtf},
    {Main, u"EditCopyUpperToLower", Command, OnCopyUpperToLower},
    {Main, u"EditCopyUmlauts", Command, OnCopyUmlauts},
    {Main, u"EditScaleLayout", Command, OnScaleLayout},
    {Main, u"EditSpacingLayout", Command, OnSpacingLayout},
    {Main, u"", Closed, OnMainWindowClosed},
    {Main, u"CommentField", Edited, OnCommentEdited},
    {Main, u"CharacterList", Selected, OnCharacterListSelected},
    {Main, u"CharacterDeleteButton", Clicked, OnCharacterDeleteClicked},
    {Main, u"CharacterNewButton", Clicked, OnCharacterNewClicked},
    {Main, u"CharacterCodeField", Changed, OnCharacterCodeFieldChanged},
    {Main, u"CharacterGlyphField", Changed, OnCharacterGlyphFieldChanged},
    {Main, u"SourceXField", Changed, OnSourceXFieldChanged},
    {Main, u"SourceYField", Changed, OnSourceYFieldChanged},
    {Main, u"SourceWidthField", Changed, OnSourceWidthFieldChanged},
    {Main, u"SourceHeightField", Changed, OnSourceHeightFieldChanged},
    {Main, u"OutlayXField", Changed, OnOutlayXFieldChanged},
    {Main, u"OutlayYField", Changed, OnOutlayYFieldChanged},
    {Main, u"OutlayWidthField", Changed, OnOutlayWidthFieldChanged},
    {Main, u"OutlayHeightField", Changed, OnOutlayHeightFieldChanged},
    {Main, u"KerningPairList", Selected, OnKerningPairListSelected},
    {Main, u"KerningPairDeleteButton", Clicked, OnKerningPairDeleteClicked},
    {Main, u"KerningPairNewButton", Clicked, OnKerningPairNewClicked},
    {Main, u"LeftCodeField", Changed, OnLeftCodeFieldChanged},
    {Main, u"LeftGlyphField", Changed, OnLeftGlyphFieldChanged},
    {Main, u"RightCodeField", Changed, OnRightCodeFieldChanged},
    {Main, u"RightGlyphField", Changed, OnRightGlyphFieldChanged},
    {Main, u"AmountField", Changed, OnAmountFieldChanged},
    {CharacterSet, u"CharacterSetEdit", Command, OnCharacterSetEdit},
    {CharacterSet, u"CharacterSetImport", Command, OnCharacterSetImport},
    {CharacterSet, u"CharacterSetAddChar", Command, OnAddCharCommand},
    {CharacterSet, u"CharacterSetSetChar", Command, DoNothing},
    {CharacterSet, u"", Resized, OnCharacterSetResized},
    {CharacterSet, u"CharacterSetCanvas", Mouse, OnCharacterSetCanvasMouse},
    {CharacterSet, u"CharacterSetCanvas", Wheel, OnCharacterSetCanvasWheel},
    {Character, u"CharacterCanvas", Wheel, OnCharacterCanvasWheel},
    {KerningPair, u"KerningPairCanvas", Wheel, OnKerningPairCanvasWheel},
    {Example, u"ExampleTextField", Edited, OnExampleTextEdited},
    {Example, u"", Resized, OnExampleResized},
    {Import, u"", Closed, OnImportWindowClosed},
    // Only the controls that change how glyphs look redraw the preview.
    {Import, u"FamilyList", Edited, OnImportPreviewControl},
    {Import, u"SizeField", Changed, OnImportPreviewControl},
    {Import, u"HintList", Selected, OnImportPreviewControl},
    {Import, u"QualityList", Selected, OnImportPreviewControl},
    {Import, u"BoldBox", Clicked, OnImportPreviewControl},
    {Import, u"ItalicBox", Clicked, OnImportPreviewControl},
    {Import, u"UnderlineBox", Clicked, OnImportPreviewControl},
    {Import, u"HalfPixelBox", Clicked, OnImportPreviewControl},
    {Import, u"CenterBox", Clicked, OnImportPreviewControl},
    {Import, u"CreateTypefaceButton", Clicked, OnCreateTypeface},
};

QWidget* WindowOf(Shell& shell, WindowName window) {
    switch (window) {
    case Main:
        return shell.Main.get();
    case CharacterSet:
        return shell.CharacterSet;
    case Character:
        return shell.Character;
    case KerningPair:
        return shell.KerningPair;
    case Example:
        return shell.Example;
    case Import:
        return shell.Import;
    }
    return nullptr;
}

// Close and resize of the windows go through the table too. Windows without a close row ignore
// their close box: they stay open while the editor runs.
class WindowEventFilter final : public QObject {
public:
    WindowEventFilter(Shell& shell, QObject* parent) : QObject(parent), shell_(shell) {}

    void Add(QObject* window, QEvent::Type type, Handler handler) {
        handlers_[{window, type}] = handler;
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto found = handlers_.find({watched, event->type()});
        if (found != handlers_.end()) {
            found->second(shell_, DispatchEvent{});
        }
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return false;
    }

private:
    Shell& shell_;
    std::map<std::pair<QObject*, QEvent::Type>, Handler> handlers_;
};

template <typename Signal, typename Sender>
void ConnectSignal(Shell& shell, Sender* sender, Signal signal, Handler handler) {
    QObject::connect(sender, signal, shell.Main.get(),
                     [&shell, handler] { handler(shell, DispatchEvent{}); });
}

void ConnectEntry(Shell& shell, WindowEventFilter& filter, const DispatchEntry& entry) {
    QWidget* window = WindowOf(shell, entry.Window);
    const QString name = QString::fromUtf16(entry.ObjectName.data(),
                                            static_cast<qsizetype>(entry.ObjectName.size()));
    QObject* object = name.isEmpty() ? window : window->findChild<QObject*>(name);
    Q_ASSERT_X(object != nullptr, "ConnectDispatch", "dispatch row names a missing object");
    if (object == nullptr) {
        return;
    }
    const Handler handler = entry.Handler;
    switch (entry.Trigger) {
    case Command:
        ConnectSignal(shell, qobject_cast<QAction*>(object), &QAction::triggered, handler);
        break;
    case Edited:
        if (auto* line = qobject_cast<QLineEdit*>(object)) {
            ConnectSignal(shell, line, &QLineEdit::textChanged, handler);
        } else if (auto* text = qobject_cast<QTextEdit*>(object)) {
            ConnectSignal(shell, text, &QTextEdit::textChanged, handler);
        } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
            // An editable list: picking an entry and typing a name both change its text.
            ConnectSignal(shell, combo, &QComboBox::currentTextChanged, handler);
        }
        break;
    case Clicked:
        ConnectSignal(shell, qobject_cast<QAbstractButton*>(object), &QAbstractButton::clicked,
                      handler);
        break;
    case Changed:
        ConnectSignal(shell, qobject_cast<QSpinBox*>(object), &QSpinBox::valueChanged, handler);
        break;
    case Selected:
        if (auto* combo = qobject_cast<QComboBox*>(object)) {
            ConnectSignal(shell, combo, &QComboBox::currentIndexChanged, handler);
        } else {
            ConnectSignal(shell, qobject_cast<QTreeWidget*>(object),
                          &QTreeWidget::itemSelectionChanged, handler);
        }
        break;
    case Wheel:
        QObject::connect(qobject_cast<Canvas*>(object), &Canvas::wheeled, shell.Main.get(),
                         [&shell, handler](int notches) { handler(shell, DispatchEvent{notches}); });
        break;
    case Mouse:
        QObject::connect(qobject_cast<CharacterSetCanvas*>(object), &CharacterSetCanvas::mouse,
                         shell.Main.get(),
                         [&shell, handler](const DispatchEvent& event) { handler(shell, event); });
        break;
    case Resized:
        filter.Add(object, QEvent::Resize, handler);
        break;
    case Closed:
        filter.Add(object, QEvent::Close, handler);
        break;
    }
}

} // namespace

std::span<const DispatchEntry> DispatchTable() {
    return Table;
}

void ConnectDispatch(Shell& shell) {
    auto* filter = new WindowEventFilter(shell, shell.Main.get());
    shell.WindowEvents = filter;
    // Windows without a close row still get the filter, which keeps them open.
    for (QWidget* window : {WindowOf(shell, CharacterSet), WindowOf(shell, Character),
                            WindowOf(shell, KerningPair), WindowOf(shell, Example)}) {
        window->installEventFilter(filter);
    }
    for (const DispatchEntry& entry : Table) {
        ConnectEntry(shell, *filter, entry);
    }
}

} // namespace glyfora::app
