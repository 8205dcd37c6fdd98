#include "import/GlyphMeasuring.h"

#include "import/OpenedSources.h"
#include "import/OrderedWork.h"

#include <algorithm>
#include <cmath>

namespace glyfora::fontimport {

namespace {

// Measurements beyond this many pixels are nonsense from a broken font; they are clamped so that
// the packing arithmetic cannot overflow.
constexpr double MaxMetric = 1.0e9;

} // namespace

std::int64_t RoundHalfAwayFromZero(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    value = std::clamp(value, -4.0e18, 4.0e18);
    return static_cast<std::int64_t>(value > 0.0 ? std::floor(value + 0.5)
                                                 : std::ceil(value - 0.5));
}

Staged<MeasuredGlyphs> MeasureGlyphs(std::span<const std::uint16_t> codes,
                                     const ImportOptions& options,
                                     std::span<GlyphSource* const> sources,
                                     const PassProgress& progress) {
    // Measuring draws nothing, so the sources only need a pixel to be opened on; the picture the
    // glyphs go into is made once the cells are laid out.
    std::vector<document::Image> scratches(sources.size(),
                                           document::Image{1, 1, std::vector<std::uint32_t>(1)});
    const OpenedSources opened(sources, scratches, options);
    if (opened.Empty()) {
        return ImportStop{ImportEnd::Failed,
                          "\"" + MainFontName(options) + "\" cannot be drawn at " +
                              std::to_string(options.Size) +
                              " pixels: the text rasteriser is not running or the font cannot be "
                              "made at that size."};
    }
    MeasuredGlyphs measured;
    measured.Ascent = std::clamp(opened[0].MeasureAscent(), -MaxMetric, MaxMetric);
    measured.Family = opened[0].FamilyName();
    measured.Glyphs.resize(codes.size());
    OrderedWork work;
    work.Count = std::ssize(codes);
    work.Workers = opened.Count();
    work.Window = ResultWindow;
    // Each glyph has its own place in the result, so nothing waits in a slot.
    work.Produce = [&](std::int64_t worker, std::int64_t index, std::int64_t) {
        GlyphSource& source = opened[worker];
        const std::uint16_t code = codes[static_cast<std::size_t>(index)];
        const double width = std::clamp(source.MeasureWidth(code), -MaxMetric, MaxMetric);
        const double height = std::clamp(source.MeasureHeight(code), -MaxMetric, MaxMetric);
        measured.Glyphs[static_cast<std::size_t>(index)] = {code, RoundHalfAwayFromZero(width),
                                                            RoundHalfAwayFromZero(height)};
    };
    work.Consume = [](std::int64_t, std::int64_t) {};
    work.Report = [&progress](std::int64_t done) { return progress.Report(done); };
    if (!RunInOrder(work)) {
        return CancelledImport();
    }
    return measured;
}

} // namespace glyfora::fontimport
