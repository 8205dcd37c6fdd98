#pragma once

#include "app/shell/EditingLists.h"
#include "document/Typeface.h"

namespace glyfora::app {

// "New"/"Copy" and "Delete" of the "Kerning Pairs" frame.
void OnCopyKerningPair(EditingContext& context);
void OnDeleteKerningPair(EditingContext& context);

// "Left:" and "Right:" code fields, their glyph fields, and the amount field.
void OnPairLeftChanged(EditingContext& context);
void OnPairRightChanged(EditingContext& context);
void OnPairLeftGlyphChanged(EditingContext& context);
void OnPairRightGlyphChanged(EditingContext& context);
void OnPairAmountChanged(EditingContext& context);

} // namespace glyfora::app
