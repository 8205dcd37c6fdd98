#pragma once

#include "document/Typeface.h"

#include <cstdint>

namespace glyfora::document {

// The eight numbers of a character that the editing fields change one at a time.
enum class CharacterMetric {
    SourceX,
    SourceY,
    SourceWidth,
    SourceHeight,
    OutlayX,
    OutlayY,
    OutlayWidth,
    OutlayHeight,
};

// Inserts a duplicate of original (all of Index, Outlay and Source) after the list's current
// element and returns it; it becomes current. CharacterIndex keeps pointing at the record it had,
// so the copy only takes the code's slot once it gets a code of its own. None when original is
// none or not in the typeface's list.
Character* CopyCharacter(Typeface& typeface, const Character* original);

// Removes character from the list and the lookup tables; the record is freed. False when it is
// none or not in the list.
bool DeleteCharacter(Typeface& typeface, Character* character);

// Gives character the code. Returns true when another record already holds the code, which the
// list flags until its next refill; the later of the two in list order then answers lookups of it.
// The lookup tables are rebuilt either way. A code outside 0..65535 changes nothing.
bool RecodeCharacter(Typeface& typeface, Character& character, std::int64_t code);

// Sets one of the character's eight numbers.
void SetCharacterMetric(Typeface& typeface, Character& character, CharacterMetric metric,
                        std::int64_t value);

// The value of one of the character's eight numbers.
[[nodiscard]] std::int64_t CharacterMetricValue(const Character& character, CharacterMetric metric);

// True for the metrics of the cell in the image (Source), whose change moves the marked rectangle.
[[nodiscard]] constexpr bool IsSourceMetric(CharacterMetric metric) {
    return metric == CharacterMetric::SourceX || metric == CharacterMetric::SourceY ||
           metric == CharacterMetric::SourceWidth || metric == CharacterMetric::SourceHeight;
}

// A new character with the code for the rectangle marked in the character-set view, inserted after
// the list's current element: its cell is the rectangle, its advance and line advance are the
// rectangle's width and height, its drawing offset is 0, 0. A rectangle marked up or to the left of
// its anchor (negative width or height) is taken as the same area with positive sizes. It takes
// the code's lookup slot; an older record with that code stays in the list. None for a code
// outside 0..65535.
Character* AddCharacterForCell(Typeface& typeface, std::int64_t code, const Rect64& cell);

// The rectangle with negative sizes turned into the same area with positive ones.
[[nodiscard]] Rect64 NormalisedRect(const Rect64& rect);

} // namespace glyfora::document
