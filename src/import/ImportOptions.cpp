#include "import/ImportOptions.h"

#include "import/FontMatching.h"
#include "import/TextDrawingContext.h"

namespace glyfora::import {

namespace {

// A list index as the setting value; a value no int can hold becomes one the context refuses.
int Setting(std::int64_t value) {
    return value >= -1000 && value <= 1000 ? static_cast<int>(value) : -1000;
}

} // namespace

ImportOptions ImportOptionsFromConfiguration(const platform::ImportOptions& saved) {
    ImportOptions options;
    options.Family = saved.Family;
    options.Size = saved.Size;
    options.TextAntialiasMode = saved.TextAntialiasMode;
    options.CompositingQuality = saved.CompositingQuality;
    options.Style = saved.Style;
    options.HalfPixel = saved.HalfPixel != 0;
    options.Center = saved.Center != 0;
    options.Unicode = saved.Unicode != 0;
    options.LetterSpace = saved.LetterSpace;
    options.PaddingTop = saved.PaddingTop;
    options.PaddingBottom = saved.PaddingBottom;
    options.PaddingLeft = saved.PaddingLeft;
    options.PaddingRight = saved.PaddingRight;
    options.MaxWidth = saved.MaxWidth;
    return options;
}

platform::ImportOptions ConfigurationFromImportOptions(const ImportOptions& options) {
    platform::ImportOptions saved;
    saved.Family = options.Family;
    saved.Size = options.Size;
    saved.TextAntialiasMode = options.TextAntialiasMode;
    saved.CompositingQuality = options.CompositingQuality;
    saved.Style = options.Style;
    saved.HalfPixel = options.HalfPixel ? 1 : 0;
    saved.Center = options.Center ? 1 : 0;
    saved.Unicode = options.Unicode ? 1 : 0;
    saved.LetterSpace = options.LetterSpace;
    saved.PaddingTop = options.PaddingTop;
    saved.PaddingBottom = options.PaddingBottom;
    saved.PaddingLeft = options.PaddingLeft;
    saved.PaddingRight = options.PaddingRight;
    saved.MaxWidth = options.MaxWidth;
    return saved;
}

void ApplyImportOptions(TextDrawingContext& context, const ImportOptions& options) {
    // Only the three check boxes of the window count; strike-out is not an import option.
    const std::int64_t style = options.Style & (StyleBold | StyleItalic | StyleUnderline);
    SetDrawingFont(context, options.Family, static_cast<float>(options.Size), style);
    SetPixelOffset(context, options.HalfPixel ? PixelOffsetHalf : PixelOffsetNone);
    SetTextHint(context, Setting(options.TextAntialiasMode));
    SetDrawingQuality(context, Setting(options.CompositingQuality) - 1);
}

} // namespace glyfora::import
