#pragma once

#include "document/Image.h"
#include "import/ImportOptions.h"
#include "import/TextDrawingContext.h"

namespace glyfora::fontimport {

// The import window's preview: the canvas picture cleared to background (opaque) with "ABC" at
// (5, 5) and "abc" at (5, 55) in opaque black, drawn with the options' font, style, pixel offset,
// hint and quality. Letter space, paddings, centring, Unicode and the maximum width do not show.
// False, with the picture untouched, when the text rasteriser is not ready.
bool DrawImportPreview(const platform::GraphicsLibrary& graphics, document::Image& canvas,
                       const ImportOptions& options, ColourRGBA background);

} // namespace glyfora::fontimport
