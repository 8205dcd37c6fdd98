#include "import/GlyphSource.h"

namespace glyfora::fontimport {

namespace {

std::u16string_view OneCharacter(const char16_t& unit) {
    return {&unit, 1};
}

} // namespace

ContextGlyphSource::ContextGlyphSource(const platform::GraphicsLibrary& graphics, FontFiles* files)
    : graphics_(graphics), context_(graphics) {
    context_.Files = files;
}

bool ContextGlyphSource::Begin(document::Image& image, const ImportOptions& options) {
    if (opened_ != options) {
        opened_.reset();
        if (!Open(image, options)) {
            return false;
        }
        opened_ = options;
    }
    Retarget(image);
    return true;
}

void ContextGlyphSource::End() {
    Retarget(parked_);
}

bool ContextGlyphSource::Open(document::Image& image, const ImportOptions& options) {
    EndTextDrawing(context_);
    fallbacks_.clear();
    if (!BeginTextDrawing(context_, image)) {
        return false;
    }
    ApplyImportOptions(context_, options);
    // A font that cannot be made leaves the context's default in force; drawing an import
    // with it would silently give glyphs of another size.
    const auto size = static_cast<float>(options.Size);
    if (DrawingFontSize(context_) != size) {
        EndTextDrawing(context_);
        return false;
    }
    for (const std::string& family : options.Fallbacks) {
        auto fallback = std::make_unique<TextDrawingContext>(graphics_);
        fallback->Files = context_.Files;
        ImportOptions fallbackOptions = options;
        fallbackOptions.Family = family;
        if (BeginTextDrawing(*fallback, image)) {
            ApplyImportOptions(*fallback, fallbackOptions);
            if (DrawingFontSize(*fallback) == size) {
                fallbacks_.push_back(std::move(fallback));
            }
        }
    }
    return true;
}

void ContextGlyphSource::Retarget(document::Image& image) {
    RetargetTextDrawing(context_, image);
    for (const auto& fallback : fallbacks_) {
        RetargetTextDrawing(*fallback, image);
    }
}

TextDrawingContext& ContextGlyphSource::ContextFor(std::uint16_t code) {
    if (fallbacks_.empty() || DrawingFontCovers(context_, code)) {
        return context_;
    }
    for (const auto& fallback : fallbacks_) {
        if (DrawingFontCovers(*fallback, code)) {
            return *fallback;
        }
    }
    return context_;
}

double ContextGlyphSource::MeasureWidth(std::uint16_t code) {
    const auto unit = static_cast<char16_t>(code);
    return MeasureTextWidth(ContextFor(code), OneCharacter(unit));
}

double ContextGlyphSource::MeasureHeight(std::uint16_t code) {
    const auto unit = static_cast<char16_t>(code);
    return MeasureTextHeight(context_, OneCharacter(unit));
}

double ContextGlyphSource::MeasureAscent() {
    return MeasureTextAscent(context_);
}

std::string ContextGlyphSource::FamilyName() {
    return DrawingFontFamily(context_);
}

void ContextGlyphSource::Clear(ColourRGBA colour) {
    ClearDrawing(context_, colour);
}

void ContextGlyphSource::Draw(double x, double y, std::uint16_t code, ColourRGBA colour) {
    Composite(Rasterise(x, y, code), colour);
}

GlyphInk ContextGlyphSource::Rasterise(double x, double y, std::uint16_t code) {
    const auto unit = static_cast<char16_t>(code);
    const auto left = static_cast<float>(x);
    const auto top = static_cast<float>(y);
    // A fallback's glyphs stand on the main font's baseline.
    TextDrawingContext& context = ContextFor(code);
    const double ascent = MeasureTextAscent(context_);
    GlyphInk ink{x, y, code, {}, {}};
    ink.Mask = &context == &context_
                   ? RenderTextMask(context_, left, top, OneCharacter(unit))
                   : RenderTextMaskOnBaseline(context, left, top, ascent, OneCharacter(unit));
    const document::GlyphEffects& effects = opened_->Effects;
    if (effects.OutlineWidth > 0.0 && effects.Join == document::OutlineJoin::Sharp) {
        ink.Stroke = RenderOutlinedMaskOnBaseline(context, left, top, ascent, effects.OutlineWidth,
                                                  OneCharacter(unit));
    }
    return ink;
}

void ContextGlyphSource::Composite(const GlyphInk& ink, ColourRGBA colour) {
    // Every context of this source draws into the same picture with the same quality.
    CompositeTextMask(context_, ink.Mask, colour);
}

CoverageAlphaRule ContextGlyphSource::AlphaRule() {
    return CompositingAlphaRule(context_);
}

} // namespace glyfora::fontimport
