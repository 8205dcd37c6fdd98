#pragma once

#include "document/Typeface.h"
#include "import/CharacterChoice.h"
#include "import/DrawnGlyphs.h"
#include "import/GlyphMeasuring.h"

#include <cstdint>
#include <memory>

namespace glyfora::fontimport {

// The last stage: the new typeface (not yet installed under id), made once from the stages'
// results. A character for every measured glyph, in order, with the advance plus letter space, the
// line height and the paddings as its Outlay (moved by the glyph's shift) and its drawn cell as
// Source; the input's kerning pairs; the picture as Image and sprites; the properties "Face" (the
// family actually drawn with), "Size", "Base" (the ascent rounded up), "Bold" and "Italic" (1 or
// 0), "Padding" (up,right,down,left), "Spacing" (the compact gutter, horizontal,vertical),
// "PageSize" (the pages a compact import filled) and, when fallbacks draw any character,
// "Fallbacks" (their families joined by document::FamilySeparator). It is marked modified, since
// nothing of it is on disk yet.
[[nodiscard]] std::unique_ptr<document::Typeface>
BuildTypeface(const document::TypefaceRegistry& registry, std::int64_t id,
              const ImportOptions& options, const FontImportInput& input,
              const MeasuredGlyphs& measured, DrawnGlyphs drawn);

} // namespace glyfora::fontimport
