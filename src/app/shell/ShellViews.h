#pragma once

#include "views/ViewUpdate.h"

namespace glyfora::app {

struct Shell;

// The views as the shell's windows show them. Each reads the view state and the document under
// TypefaceId itself; handlers call them after changing either.

// Redraws the character-set canvas at its current size; with showScrollMarks (only while panning)
// the scroll markers of a picture larger than the canvas.
void DrawCharacterSetView(Shell& shell, bool showScrollMarks = false);

// The character and kerning-pair views take the record of the selected list row, then show their
// window at the view's size without activating it, or hide it.
void DrawCharacterView(Shell& shell);
void DrawKerningPairView(Shell& shell);

// Leaves the character and kerning-pair canvases blank (the background) after the document was
// replaced; their windows stay shown or hidden as they are.
void BlankCharacterViews(Shell& shell);

// Does what a view's input handler asks: redraws the character view, the kerning-pair view, then
// the character-set view, and sets the character-set canvas's pointer shape.
void ApplyViewUpdate(Shell& shell, const views::ViewUpdate& update);

// Asks the example screen for one more frame; call it whenever the example text, the document or
// its picture changed. Requests made before the frame is drawn coalesce.
void RequestExampleFrame(Shell& shell);

} // namespace glyfora::app
