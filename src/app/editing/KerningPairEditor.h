#pragma once

#include "app/windows/EditingFrames.h"
#include "document/Typeface.h"

namespace glyfora::app {

// Rebuilds the kerning-pair list from the current typeface after sorting its pairs by PairKey; the
// row of select ends selected without running the selection handler; View.CurrentPair follows.
void RefillKerningPairList(EditingContext& context, const document::KerningPair* select);

// The record of the selected row while it is still one of the document's pairs, else none.
[[nodiscard]] document::KerningPair* SelectedKerningPair(const EditingContext& context);

// Selection changed: the fields show the pair and the button reads "Copy"; without a record the
// button reads "New" and the kerning-pair view hides its window.
void OnKerningPairSelectionChanged(EditingContext& context);

// Runs the selection handler from the event queue, after the current event.
void PostKerningPairSelectionChanged(EditingContext& context);

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
