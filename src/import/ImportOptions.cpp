#include "import/ImportOptions.h"

#include "import/FontMatching.h"
#include "import/TextDrawingContext.h"

namespace glyfora::fontimport {

namespace {

// A list index as the setting value; a value no int can hold becomes one the context refuses.
int Setting(std::int64_t value) {
    return value >= -1000 && value <= 1000 ? static_cast<int>(value) : -1000;
}

} // namespace

void ApplyImportOptions(TextDrawingContext& context, const ImportOptions& options) {
    // Only the three check boxes of the window count; strike-out is not an import option.
    const std::int64_t style = options.Style & (StyleBold | StyleItalic | StyleUnderline);
    SetDrawingFont(context, options.Family, static_cast<float>(options.Size), style);
    SetPixelOffset(context, options.HalfPixel ? PixelOffsetHalf : PixelOffsetNone);
    SetTextHint(context, Setting(options.TextAntialiasMode));
    SetDrawingQuality(context, Setting(options.CompositingQuality) - 1);
}

} // namespace glyfora::fontimport
