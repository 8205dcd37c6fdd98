#include "app/startup/Dispatch.h"

#include "app/editing/CharacterSetPicture.h"
#include "app/editing/EditingDispatch.h"
#include "app/editing/FontImport.h"
#include "app/editing/LayoutCommands.h"
#include "app/shell/History.h"
#include "app/shell/Shell.h"
#include "app/shell/ShellViews.h"
#include "app/startup/StartUp.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/EffectsFrame.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "app/windows/ScreenFit.h"
#include "document/Pixel.h"
#include "views/CharacterSetMouse.h"
#include "views/CharacterView.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
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
    // An unchanged document has nothing to write; Ctrl+S out of habit must not rewrite a file.
    const document::Typeface* typeface = CurrentTypeface(shell.State);
    if (typeface == nullptr || !typeface->Modified) {
        return;
    }
    (void)SaveDocument(shell);
}

void OnSaveAs(Shell& shell, const DispatchEvent& /*event*/) {
    (void)SaveDocumentAs(shell);
}

void OnImportTtf(Shell& shell, const DispatchEvent& /*event*/) {
    shell.Import->show();
    shell.Import->raise();
}

// Brings a window to the front, whole on the screen.
void ShowWindow(QWidget& window) {
    window.show();
    FitWindowToScreen(window);
    window.raise();
    window.activateWindow();
}

void OnShowImportWindow(Shell& shell, const DispatchEvent& /*event*/) {
    ShowWindow(*shell.Import);
}

void OnShowExampleWindow(Shell& shell, const DispatchEvent& /*event*/) {
    ShowWindow(*shell.Example);
}

void OnShowCharacterSetWindow(Shell& shell, const DispatchEvent& /*event*/) {
    ShowWindow(*shell.CharacterSet);
}

// The view shows what is selected; with nothing selected the window comes up empty.
void OnShowCharacterWindow(Shell& shell, const DispatchEvent& /*event*/) {
    DrawCharacterView(shell);
    ShowWindow(*shell.Character);
}

void OnShowKerningPairWindow(Shell& shell, const DispatchEvent& /*event*/) {
    DrawKerningPairView(shell);
    ShowWindow(*shell.KerningPair);
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

void OnAddTextFile(Shell& shell, const DispatchEvent& /*event*/) {
    (void)AddTextFileCharacters(shell);
}

void OnChooseFontFile(Shell& shell, const DispatchEvent& /*event*/) {
    (void)ChooseFontFile(shell);
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
    document::Typeface* typeface = CurrentTypeface(shell.State);
    if (typeface == nullptr) {
        return;
    }
    const std::string text = shell.Main->CommentField->toPlainText().toStdString();
    // Showing a document's comment fills the field too; that is no edit.
    if (document::PropertyValue(*typeface, std::string("Comment")) == text) {
        return;
    }
    RecordFieldEdit(
        shell, shell.Main->CommentField, QStringLiteral("Edit Comment"),
        [typeface, &text] { document::PropertyValue(*typeface, std::string("Comment")) = text; });
}

void OnUndo(Shell& shell, const DispatchEvent& /*event*/) {
    UndoStep(shell);
}

void OnRedo(Shell& shell, const DispatchEvent& /*event*/) {
    RedoStep(shell);
}

void OnExampleTextEdited(Shell& shell, const DispatchEvent& /*event*/) {
    RequestExampleFrame(shell);
}

// The example window's "Ansicht" menu: the scale the text is drawn at.
template <int Scale> void OnExampleScale(Shell& shell, const DispatchEvent& /*event*/) {
    shell.State.View.ExampleScale = static_cast<float>(Scale);
    shell.Example->ShowScale(shell.State.View.ExampleScale);
    RequestExampleFrame(shell);
}

void OnExampleBackground(Shell& shell, const DispatchEvent& /*event*/) {
    std::uint32_t& background = shell.State.View.ExampleBackground;
    const QColor chosen =
        QColorDialog::getColor(QColor(static_cast<int>(document::Red(background)),
                                      static_cast<int>(document::Green(background)),
                                      static_cast<int>(document::Blue(background))),
                               shell.Example, QStringLiteral("Hintergrundfarbe"));
    if (chosen.isValid()) {
        background = document::Opaque(document::Rgba(static_cast<std::uint32_t>(chosen.red()),
                                                     static_cast<std::uint32_t>(chosen.green()),
                                                     static_cast<std::uint32_t>(chosen.blue()), 0));
        RequestExampleFrame(shell);
    }
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
        update = views::OnCharacterSetMove(view, CurrentTypeface(shell.State), event.X, event.Y,
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

enum class WindowName { Main, CharacterSet, Character, KerningPair, Example, Import };

QWidget* WindowOf(Shell& shell, WindowName window) {
    switch (window) {
    case WindowName::Main:
        return shell.Main.get();
    case WindowName::CharacterSet:
        return shell.CharacterSet;
    case WindowName::Character:
        return shell.Character;
    case WindowName::KerningPair:
        return shell.KerningPair;
    case WindowName::Example:
        return shell.Example;
    case WindowName::Import:
        return shell.Import;
    }
    return nullptr;
}

// The control at the end of a path of members: Follow<&MainWindow::LeftCode, &CodeFields::Code>.
template <auto First, auto... Rest, typename Object> QObject* Follow(Object* object) {
    if constexpr (sizeof...(Rest) == 0) {
        return object->*First;
    } else {
        return Follow<Rest...>(&(object->*First));
    }
}

template <WindowName Window> QObject* TheWindow(Shell& shell) {
    return WindowOf(shell, Window);
}

template <auto... Path> QObject* InMain(Shell& shell) {
    return Follow<Path...>(shell.Main.get());
}

template <auto... Path> QObject* InCharacterSet(Shell& shell) {
    return Follow<Path...>(shell.CharacterSet);
}

template <auto... Path> QObject* InCharacter(Shell& shell) {
    return Follow<Path...>(shell.Character);
}

template <auto... Path> QObject* InKerningPair(Shell& shell) {
    return Follow<Path...>(shell.KerningPair);
}

template <auto... Path> QObject* InExample(Shell& shell) {
    return Follow<Path...>(shell.Example);
}

template <auto... Path> QObject* InImport(Shell& shell) {
    return Follow<Path...>(shell.Import);
}

using enum Trigger;
using M = MainWindow;
using C = CodeFields;
using I = ImportWindow;

constexpr DispatchEntry Table[] = {
    {InMain<&M::FileNew>, Command, OnNew},
    {InMain<&M::FileOpen>, Command, OnOpen},
    {InMain<&M::FileSave>, Command, OnSave},
    {InMain<&M::FileSaveAs>, Command, OnSaveAs},
    {InMain<&M::FileImportTtf>, Command, OnImportTtf},
    {InMain<&M::FileQuit>, Command, OnMainWindowClosed},
    {InMain<&M::EditUndo>, Command, OnUndo},
    {InMain<&M::EditRedo>, Command, OnRedo},
    {InMain<&M::EditCopyUpperToLower>, Command, OnCopyUpperToLower},
    {InMain<&M::EditCopyUmlauts>, Command, OnCopyUmlauts},
    {InMain<&M::EditScaleLayout>, Command, OnScaleLayout},
    {InMain<&M::EditSpacingLayout>, Command, OnSpacingLayout},
    {InMain<&M::EditPackCompactly>, Command, OnPackCompactly},
    {InMain<&M::WindowImport>, Command, OnShowImportWindow},
    {InMain<&M::WindowExample>, Command, OnShowExampleWindow},
    {InMain<&M::WindowCharacterSet>, Command, OnShowCharacterSetWindow},
    {InMain<&M::WindowCharacter>, Command, OnShowCharacterWindow},
    {InMain<&M::WindowKerningPair>, Command, OnShowKerningPairWindow},
    {TheWindow<WindowName::Main>, Closed, OnMainWindowClosed},
    {InMain<&M::CommentField>, Edited, OnCommentEdited},
    {InMain<&M::CharacterList>, Selected, OnCharacterListSelected},
    {InMain<&M::CharacterDeleteButton>, Clicked, OnCharacterDeleteClicked},
    {InMain<&M::CharacterListDelete>, Command, OnCharacterDeleteClicked},
    {InMain<&M::CharacterNewButton>, Clicked, OnCharacterNewClicked},
    {InMain<&M::CharacterCode, &C::Code>, Changed, OnCharacterCodeFieldChanged},
    {InMain<&M::CharacterCode, &C::Glyph>, Changed, OnCharacterGlyphFieldChanged},
    {InMain<&M::SourceX>, Changed, OnSourceXFieldChanged},
    {InMain<&M::SourceY>, Changed, OnSourceYFieldChanged},
    {InMain<&M::SourceWidth>, Changed, OnSourceWidthFieldChanged},
    {InMain<&M::SourceHeight>, Changed, OnSourceHeightFieldChanged},
    {InMain<&M::OutlayX>, Changed, OnOutlayXFieldChanged},
    {InMain<&M::OutlayY>, Changed, OnOutlayYFieldChanged},
    {InMain<&M::OutlayWidth>, Changed, OnOutlayWidthFieldChanged},
    {InMain<&M::OutlayHeight>, Changed, OnOutlayHeightFieldChanged},
    {InMain<&M::KerningPairList>, Selected, OnKerningPairListSelected},
    {InMain<&M::KerningPairDeleteButton>, Clicked, OnKerningPairDeleteClicked},
    {InMain<&M::KerningPairListDelete>, Command, OnKerningPairDeleteClicked},
    {InMain<&M::KerningPairNewButton>, Clicked, OnKerningPairNewClicked},
    {InMain<&M::LeftCode, &C::Code>, Changed, OnLeftCodeFieldChanged},
    {InMain<&M::LeftCode, &C::Glyph>, Changed, OnLeftGlyphFieldChanged},
    {InMain<&M::RightCode, &C::Code>, Changed, OnRightCodeFieldChanged},
    {InMain<&M::RightCode, &C::Glyph>, Changed, OnRightGlyphFieldChanged},
    {InMain<&M::AmountField>, Changed, OnAmountFieldChanged},
    {InCharacterSet<&CharacterSetWindow::CharacterSetEdit>, Command, OnCharacterSetEdit},
    {InCharacterSet<&CharacterSetWindow::CharacterSetImport>, Command, OnCharacterSetImport},
    {InCharacterSet<&CharacterSetWindow::CharacterSetAddChar>, Command, OnAddCharCommand},
    {InCharacterSet<&CharacterSetWindow::CharacterSetSetChar>, Command, DoNothing},
    {InCharacterSet<&CharacterSetWindow::CharacterSetAddImage>, Command, OnCharacterSetAddImage},
    {TheWindow<WindowName::CharacterSet>, Resized, OnCharacterSetResized},
    {InCharacterSet<&CharacterSetWindow::Canvas>, Mouse, OnCharacterSetCanvasMouse},
    {InCharacterSet<&CharacterSetWindow::Canvas>, Wheel, OnCharacterSetCanvasWheel},
    {InCharacter<&CharacterWindow::Canvas>, Wheel, OnCharacterCanvasWheel},
    {InKerningPair<&KerningPairWindow::Canvas>, Wheel, OnKerningPairCanvasWheel},
    {InExample<&ExampleWindow::ExampleTextField>, Edited, OnExampleTextEdited},
    {InExample<&ExampleWindow::ViewScale1>, Command, OnExampleScale<1>},
    {InExample<&ExampleWindow::ViewScale2>, Command, OnExampleScale<2>},
    {InExample<&ExampleWindow::ViewScale4>, Command, OnExampleScale<4>},
    {InExample<&ExampleWindow::ViewScale8>, Command, OnExampleScale<8>},
    {InExample<&ExampleWindow::ViewBackgroundColour>, Command, OnExampleBackground},
    {TheWindow<WindowName::Example>, Resized, OnExampleResized},
    {TheWindow<WindowName::Import>, Closed, OnImportWindowClosed},
    // Only the controls that change how glyphs look redraw the preview.
    {InImport<&I::FamilyList>, Edited, OnImportPreviewControl},
    {InImport<&I::SizeField>, Changed, OnImportPreviewControl},
    {InImport<&I::HintList>, Selected, OnImportPreviewControl},
    {InImport<&I::QualityList>, Selected, OnImportPreviewControl},
    {InImport<&I::BoldBox>, Clicked, OnImportPreviewControl},
    {InImport<&I::ItalicBox>, Clicked, OnImportPreviewControl},
    {InImport<&I::UnderlineBox>, Clicked, OnImportPreviewControl},
    {InImport<&I::HalfPixelBox>, Clicked, OnImportPreviewControl},
    {InImport<&I::CenterBox>, Clicked, OnImportPreviewControl},
    {InImport<&I::Effects>, Changed, OnImportPreviewControl},
    {InImport<&I::CreateButton>, Clicked, OnCreateTypeface},
    {InImport<&I::AddTextFileButton>, Clicked, OnAddTextFile},
    {InImport<&I::FontFileButton>, Clicked, OnChooseFontFile},
    {InImport<&I::FaceList>, Selected, OnImportPreviewControl},
};

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
    QObject* object = entry.Control(shell);
    Q_ASSERT_X(object != nullptr, "ConnectDispatch", "dispatch row reaches a missing control");
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
        if (auto* effects = qobject_cast<EffectsFrame*>(object)) {
            ConnectSignal(shell, effects, &EffectsFrame::EffectsChanged, handler);
        } else {
            ConnectSignal(shell, qobject_cast<QSpinBox*>(object), &QSpinBox::valueChanged, handler);
        }
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
        QObject::connect(
            qobject_cast<CanvasWidget*>(object), &CanvasWidget::wheeled, shell.Main.get(),
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
    for (QWidget* window :
         {WindowOf(shell, WindowName::CharacterSet), WindowOf(shell, WindowName::Character),
          WindowOf(shell, WindowName::KerningPair), WindowOf(shell, WindowName::Example)}) {
        window->installEventFilter(filter);
    }
    for (const DispatchEntry& entry : Table) {
        ConnectEntry(shell, *filter, entry);
    }
}

} // namespace glyfora::app
