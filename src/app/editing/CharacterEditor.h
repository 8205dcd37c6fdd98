#pragma once

#include "app/shell/EditingLists.h"
#include "document/CharacterEditing.h"
#include "document/Typeface.h"

namespace glyfora::app {

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
