#pragma once

#include "app/windows/EditingFrames.h"
#include "document/CharacterEditing.h"
#include "document/Typeface.h"

namespace glyfora::app {

// Rebuilds the character list from the current typeface after sorting its characters by code;
// each row carries its record. The row of select ends selected, without running the selection
// handler (callers that need it post it); View.CurrentCharacter follows the selected row.
void RefillCharacterList(EditingContext& context, const document::Character* select);

// The record of the selected row while it is still one of the document's characters, else none.
[[nodiscard]] document::Character* SelectedCharacter(const EditingContext& context);

// Selection changed in the list: the fields show the record, the marked rectangle becomes its
// cell and the character-set view is centred on it; the button reads "Copy". Without a record the
// button reads "New" and the character view hides its window.
void OnCharacterSelectionChanged(EditingContext& context);

// Runs the selection handler from the event queue, after the current event, as a click would.
void PostCharacterSelectionChanged(EditingContext& context);

// "New"/"Copy": a duplicate of the selected character, selected in the refilled list.
void OnCopyCharacter(EditingContext& context);

// "Delete": removes the selected character and its row; nothing is selected afterwards.
void OnDeleteCharacter(EditingContext& context);

// "Character:" code field: gives the selected character the code; a code that another character
// already uses is flagged "! " in its row until the next refill.
void OnCharacterCodeChanged(EditingContext& context);

// "Character:" glyph field: its code goes to the code field, whose handler then runs.
void OnCharacterGlyphChanged(EditingContext& context);

// "Position:", "Size:", "Offset:", "Outlay:" fields.
void OnCharacterMetricChanged(EditingContext& context, document::CharacterMetric metric);

// "Add Char": asks for a code and adds a character for the marked rectangle, then selects it.
void OnAddCharacter(EditingContext& context);

} // namespace glyfora::app
