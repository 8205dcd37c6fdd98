#pragma once

#include "document/ImportOptions.h"

namespace glyfora::fontimport {

struct TextDrawingContext;

// The import speaks of the options record as its own.
using document::CellLayout;
using document::CompositingQualityRange;
using document::GutterRange;
using document::ImportOptions;
using document::MaxWidthRange;
using document::OptionRange;
using document::SizeRange;
using document::SpaceRange;
using document::TextAntialiasModeRange;

// Hands font, style, pixel offset, hint and quality to an open text drawing context.
void ApplyImportOptions(TextDrawingContext& context, const ImportOptions& options);

} // namespace glyfora::fontimport
