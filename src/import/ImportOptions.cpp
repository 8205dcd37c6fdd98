#include "import/ImportOptions.h"

#include "import/FontMatching.h"
#include "import/TextDrawingContext.h"

#include <algorithm>
#include <cmath>

namespace glyfora::fontimport {

namespace {

// Brings the numbers of the table into their ranges (one that is no number to its default) and
// leaves every other kind alone.
struct Clamp {
    void operator()(const document::NumberOption& option, std::int64_t& value) const {
        value = std::clamp(value, option.Range.Min, option.Range.Max);
    }
    void operator()(const document::RealOption& option, double& value) const {
        value = std::isnan(value) ? option.Default : std::clamp(value, 0.0, option.Max);
    }
    template <class Option, class Value> void operator()(const Option&, Value&) const {}
};

} // namespace

const std::string& MainFontName(const ImportOptions& options) {
    return options.FontFile.empty() ? options.Family : options.FontFile;
}

void ApplyImportOptions(TextDrawingContext& context, const ImportOptions& options) {
    // Only the three check boxes of the window count; strike-out is not an import option.
    const std::int64_t style = options.Style & (StyleBold | StyleItalic | StyleUnderline);
    SetDrawingFont(context, MainFontName(options), static_cast<float>(options.Size), style);
    SetPixelOffset(context, options.HalfPixel ? PixelOffsetHalf : PixelOffsetNone);
    SetTextHint(context, static_cast<int>(options.TextAntialiasMode));
    SetDrawingQuality(context, static_cast<int>(options.CompositingQuality));
}

ImportOptions ClampedImportOptions(const ImportOptions& options) {
    ImportOptions clamped = options;
    document::VisitImportOptions(clamped, Clamp{});
    return clamped;
}

} // namespace glyfora::fontimport
