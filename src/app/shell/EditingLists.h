#pragma once

#include "app/shell/AppState.h"
#include "app/windows/EditingFrames.h"
#include "document/Typeface.h"

#include <QSize>
#include <functional>
#include <memory>

namespace glyfora::app {

struct Shell;

// What the editing handlers reach: the editor's state (document, view state, last dialog code),
// the two frames, and the views they redraw. The shell owns it, next to the windows it points
// into; the handlers take it by reference.
struct EditingContext {
    AppState& State;
    CharacterFrame Characters;
    KerningPairFrame Pairs;
    // Each view shows, sizes or hides its own window from the view state.
    std::function<void()> DrawCharacterView;
    std::function<void()> DrawKerningPairView;
    std::function<void()> DrawCharacterSetView; // without scroll markers
    std::function<QSize()> CharacterSetCanvasSize;
};

// The editing context over the main window's two frames and the shell's views; the shell keeps it
// once its windows exist.
[[nodiscard]] std::unique_ptr<EditingContext> MakeEditingContext(Shell& shell);

// Calls a view redraw when one is set.
inline void Redraw(const std::function<void()>& draw) {
    if (draw) {
        draw();
    }
}

// Rebuilds the character list from the current typeface after sorting its characters by code;
// each row carries its record. The row of select ends selected, without running the selection
// handler (callers that need it post it); View.CurrentCharacter follows the selected row.
void RefillCharacterList(EditingContext& context, const document::Character* select);

// The record of the selected row while it is still one of the document's characters, else none.
[[nodiscard]] document::Character* SelectedCharacter(const EditingContext& context);

// Shows the selected row's record in the frame: the fields show it, the marked rectangle becomes
// its cell and the character-set view is centred on it; the button reads "Copy", or "New" without
// a record, when the fields are cleared and disabled (ShowFrameRecord). Returns the record. Draws
// no view.
document::Character* ShowCharacterSelection(EditingContext& context);

// Selection changed in the list: ShowCharacterSelection, then the character view and the
// character-set view are drawn; without a record the character view hides its window.
void OnCharacterSelectionChanged(EditingContext& context);

// Runs the selection handler from the event queue, after the current event, as a click would.
void PostCharacterSelectionChanged(EditingContext& context);

// Rebuilds the kerning-pair list from the current typeface after sorting its pairs by PairKey; the
// row of select ends selected without running the selection handler; View.CurrentPair follows.
void RefillKerningPairList(EditingContext& context, const document::KerningPair* select);

// The record of the selected row while it is still one of the document's pairs, else none.
[[nodiscard]] document::KerningPair* SelectedKerningPair(const EditingContext& context);

// Shows the selected row's pair in the frame's fields; the button reads "Copy", or "New" without
// a pair, when the fields are cleared and disabled. Returns the pair. Draws no view.
document::KerningPair* ShowKerningPairSelection(EditingContext& context);

// Selection changed: ShowKerningPairSelection, then the kerning-pair view is drawn; without a
// pair it hides its window.
void OnKerningPairSelectionChanged(EditingContext& context);

// Runs the selection handler from the event queue, after the current event.
void PostKerningPairSelectionChanged(EditingContext& context);

} // namespace glyfora::app
