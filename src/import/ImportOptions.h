#pragma once

#include "document/ImportOptions.h"

namespace glyfora::fontimport {

struct TextDrawingContext;

// The import speaks of the options record as its own.
using document::CellLayout;
using document::DrawingQuality;
using document::ImportOptions;
using document::OptionRange;
using document::TextHint;

// The name the import's main font is opened by: the font file when one is chosen, else the family.
[[nodiscard]] const std::string& MainFontName(const ImportOptions& options);

// Hands font, style, pixel offset, hint and quality to an open text drawing context.
void ApplyImportOptions(TextDrawingContext& context, const ImportOptions& options);

// The options with every number inside its range, as the window's fields would hold them.
[[nodiscard]] ImportOptions ClampedImportOptions(const ImportOptions& options);

} // namespace glyfora::fontimport
