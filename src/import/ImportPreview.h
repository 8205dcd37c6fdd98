#pragma once

#include "document/Image.h"
#include "import/ImportOptions.h"
#include "import/TextDrawingContext.h"

namespace glyfora::fontimport {

// The import window's preview: the canvas picture cleared to background (opaque) with "ABC" at
// (5, 5) and "abc" at (5, 55), drawn with the options' font, style, pixel offset, hint, quality and
// effects: in opaque black when the fill is plain white and there are no other effects, in the
// fill's colour when only that is chosen, else painted as the import paints its glyphs (a
// distance field shows its values). Letter space, paddings, centring, Unicode and the maximum
// width do not show.
// False, with the picture untouched, when the text rasteriser is not ready.
bool DrawImportPreview(const platform::GraphicsLibrary& graphics, document::Image& canvas,
                       const ImportOptions& options, ColourRGBA background);

} // namespace glyfora::fontimport
