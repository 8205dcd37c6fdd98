#include "app/shell/Shell.h"

#include "app/shell/EditingLists.h"
#include "app/shell/History.h"
#include "app/shell/ShellViews.h"
#include "app/windows/MainWindow.h"
#include "document/TypefaceSnapshot.h"
#include "formats/TypefaceIo.h"

#include <QTextEdit>

namespace glyfora::app {

Shell::Shell(AppState& state, ShellServices& services) : State(state), Services(services) {}

Shell::~Shell() = default;

document::Typeface& NewDocument(AppState& state) {
    document::Typeface& typeface = *document::CreateTypeface(state.Registry, TypefaceId);
    // The records the views pointed at went with the old document.
    state.View.CurrentCharacter = nullptr;
    state.View.CurrentPair = nullptr;
    return typeface;
}

void ForgetDocumentFile(AppState& state) {
    state.CurrentFilePath = formats::DirectoryOf(state.CurrentFilePath);
    state.CurrentFilePartlyRead = false;
}

void ShowDocumentChange(Shell& shell, const ListRows& rows, EmptyViews emptyViews) {
    AppState& state = shell.State;
    EditingContext& editing = *shell.Editing;
    state.View.CurrentCharacter = nullptr;
    state.View.CurrentPair = nullptr;
    document::Typeface* typeface = CurrentTypeface(state);
    RefillCharacterList(
        editing, typeface != nullptr
                     ? document::RecordAtPosition(typeface->Content.Characters, rows.Character)
                     : nullptr);
    RefillKerningPairList(
        editing, typeface != nullptr
                     ? document::RecordAtPosition(typeface->Content.KerningPairs, rows.Pair)
                     : nullptr);
    const bool character = ShowCharacterSelection(editing) != nullptr;
    const bool pair = ShowKerningPairSelection(editing) != nullptr;
    // A mark left from the document as it was would stand for no character of it.
    if (!character) {
        state.View.Selection = {};
        state.View.SelectionShown = false;
    }
    if (emptyViews == EmptyViews::Blank) {
        BlankCharacterViews(shell);
    }
    if (character || emptyViews == EmptyViews::Hide) {
        DrawCharacterView(shell);
    }
    if (pair || emptyViews == EmptyViews::Hide) {
        DrawKerningPairView(shell);
    }
    DrawCharacterSetView(shell);
    if (typeface != nullptr) {
        const QString comment =
            QString::fromStdString(document::PropertyValue(*typeface, std::string("Comment")));
        if (shell.Main->CommentField->toPlainText() != comment) {
            shell.Main->CommentField->setPlainText(comment);
        }
    }
    RequestExampleFrame(shell);
}

void ShowDocument(Shell& shell, EmptyViews emptyViews, Saving saving) {
    shell.State.ImportedMaxWidth = 0; // an import sets it again once it is shown
    ShowDocumentChange(shell, {}, emptyViews);
    StartFreshHistory(shell, saving);
}

} // namespace glyfora::app
