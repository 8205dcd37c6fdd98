#pragma once

#include "document/Image.h"
#include "document/Pixel.h"
#include "import/ImportOptions.h"
#include "import/TextDrawingContext.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::fontimport {

// An imported picture is transparent white with the glyphs in opaque white, so a glyph's shape
// lives in the alpha channel.
constexpr ColourRGBA TransparentWhite = document::WhiteWithAlpha(0);
constexpr ColourRGBA OpaqueWhite = document::WhiteWithAlpha(255);

// A glyph rasterised but not yet drawn: what was asked for and, where the source can rasterise
// ahead of drawing, the coverage it gives.
struct GlyphInk {
    double X = 0.0, Y = 0.0;
    std::uint16_t Code = 0;
    Coverage Mask;
    // The glyph with a sharp outline of the options' width around it, when they ask for one.
    Coverage Stroke;
};

// What measuring and drawing an import need of a font. The real source draws through a
// TextDrawingContext; tests use fakes with known metrics so that packing checks are exact.
// Sources share nothing, so an import may give each of its workers one and measure, rasterise and
// crop on all of them at once; opening, closing, clearing and compositing stay on one thread.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    // Opens drawing on image with the options' font and rendering; false when nothing can be drawn.
    // Each drawing goes to image as it is then, so its size may change while the source is open.
    [[nodiscard]] virtual bool Begin(document::Image& image, const ImportOptions& options) = 0;
    virtual void End() = 0;
    // Typographic advance and line height of the one-character string of code, in pixels.
    [[nodiscard]] virtual double MeasureWidth(std::uint16_t code) = 0;
    [[nodiscard]] virtual double MeasureHeight(std::uint16_t code) = 0;
    [[nodiscard]] virtual double MeasureAscent() = 0;
    // The family of the font that is drawn with, which may differ from the one asked for.
    [[nodiscard]] virtual std::string FamilyName() = 0;
    virtual void Clear(ColourRGBA colour) = 0;
    // Draws code with the top-left corner of its line box at (x, y).
    virtual void Draw(double x, double y, std::uint16_t code, ColourRGBA colour) = 0;
    // Draw in two steps: Rasterise may run on a worker while another thread composites earlier
    // glyphs of the same source. A source that cannot split its drawing only notes the request
    // and draws it when it is composited.
    [[nodiscard]] virtual GlyphInk Rasterise(double x, double y, std::uint16_t code) {
        return {x, y, code, {}, {}};
    }
    virtual void Composite(const GlyphInk& ink, ColourRGBA colour) {
        Draw(ink.X, ink.Y, ink.Code, colour);
    }
    // The alpha Composite gives each coverage of a mask, for drawing rasterised masks elsewhere.
    [[nodiscard]] virtual CoverageAlphaRule AlphaRule() {
        CoverageAlphaRule rule{};
        for (std::size_t c = 0; c < rule.size(); ++c) {
            rule[c] = static_cast<float>(c) / 255.0F;
        }
        return rule;
    }
};

// The glyph source over FreeType: one drawing context for the main font and one for each of
// options.Fallbacks. A code the main font lacks is measured and drawn with the first fallback that
// has it, at the same em size, with its own advance and on the main font's baseline; the line
// height is always the main font's, so every cell of an import is equally tall.
// Making the fonts (matching each family, reading each face) costs as much as drawing many glyphs,
// so End keeps them: a Begin with the same options only moves the contexts to the new picture.
class ContextGlyphSource final : public GlyphSource {
public:
    // With files, every font is matched and read through them (see FontFiles), which the sources
    // of one import share; they must outlive the source.
    explicit ContextGlyphSource(const platform::GraphicsLibrary& graphics,
                                FontFiles* files = nullptr);

    [[nodiscard]] bool Begin(document::Image& image, const ImportOptions& options) override;
    void End() override;
    [[nodiscard]] double MeasureWidth(std::uint16_t code) override;
    [[nodiscard]] double MeasureHeight(std::uint16_t code) override;
    [[nodiscard]] double MeasureAscent() override;
    [[nodiscard]] std::string FamilyName() override;
    void Clear(ColourRGBA colour) override;
    void Draw(double x, double y, std::uint16_t code, ColourRGBA colour) override;
    [[nodiscard]] GlyphInk Rasterise(double x, double y, std::uint16_t code) override;
    void Composite(const GlyphInk& ink, ColourRGBA colour) override;
    [[nodiscard]] CoverageAlphaRule AlphaRule() override;

private:
    // Opens every context on image with the options' fonts; false when the main font cannot be
    // made.
    [[nodiscard]] bool Open(document::Image& image, const ImportOptions& options);
    // Points every open context at image.
    void Retarget(document::Image& image);
    // The context whose font draws code.
    [[nodiscard]] TextDrawingContext& ContextFor(std::uint16_t code);

    const platform::GraphicsLibrary& graphics_;
    TextDrawingContext context_;
    std::vector<std::unique_ptr<TextDrawingContext>> fallbacks_;
    std::optional<ImportOptions> opened_; // what the contexts are open with
    // Between End and Begin the contexts point here, so that nothing can draw into a picture that
    // is gone.
    document::Image parked_;
};

} // namespace glyfora::fontimport
