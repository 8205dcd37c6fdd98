#include "import/ImportPreview.h"

#include "document/Pixel.h"

namespace glyfora::fontimport {

bool DrawImportPreview(const platform::GraphicsLibrary& graphics, document::Image& canvas,
                       const ImportOptions& options, ColourRGBA background) {
    TextDrawingContext context(graphics);
    if (!BeginTextDrawing(context, canvas)) {
        return false;
    }
    ApplyImportOptions(context, options);
    ClearDrawing(context, document::Opaque(background));
    DrawTextAt(context, 5.0F, 5.0F, u"ABC", 0xFF000000);
    DrawTextAt(context, 5.0F, 55.0F, u"abc", 0xFF000000);
    EndTextDrawing(context);
    return true;
}

} // namespace glyfora::fontimport
