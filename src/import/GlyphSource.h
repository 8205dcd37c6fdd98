#pragma once

#include "document/Image.h"
#include "import/ImportOptions.h"
#include "import/TextDrawingContext.h"

#include <cstdint>
#include <string>

namespace glyfora::import {

// An imported picture is transparent white with the glyphs in opaque white, so a glyph's shape
// lives in the alpha channel.
constexpr ColourRGBA TransparentWhite = 0x00FFFFFF;
constexpr ColourRGBA OpaqueWhite = 0xFFFFFFFF;

// A glyph rasterised but not yet drawn: what was asked for and, where the source can rasterise
// ahead of drawing, the coverage it gives.
struct GlyphInk {
    double X = 0.0, Y = 0.0;
    std::uint16_t Code = 0;
    Coverage Mask;
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
        return {x, y, code, {}};
    }
    virtual void Composite(const GlyphInk& ink, ColourRGBA colour) {
        Draw(ink.X, ink.Y, ink.Code, colour);
    }
};

// The glyph source over FreeType.
class ContextGlyphSource final : public GlyphSource {
public:
    explicit ContextGlyphSource(const platform::GraphicsLibrary& graphics) : context_(graphics) {}

    [[nodiscard]] bool Begin(document::Image& image, const ImportOptions& options) override {
        if (!BeginTextDrawing(context_, image)) {
            return false;
        }
        ApplyImportOptions(context_, options);
        // A font that cannot be made leaves the context's default in force; drawing an import
        // with it would silently give glyphs of another size.
        if (DrawingFontSize(context_) != static_cast<float>(options.Size)) {
            EndTextDrawing(context_);
            return false;
        }
        return true;
    }
    void End() override { EndTextDrawing(context_); }
    [[nodiscard]] double MeasureWidth(std::uint16_t code) override {
        const char16_t text[1] = {static_cast<char16_t>(code)};
        return MeasureTextWidth(context_, {text, 1});
    }
    [[nodiscard]] double MeasureHeight(std::uint16_t code) override {
        const char16_t text[1] = {static_cast<char16_t>(code)};
        return MeasureTextHeight(context_, {text, 1});
    }
    [[nodiscard]] double MeasureAscent() override { return MeasureTextAscent(context_); }
    [[nodiscard]] std::string FamilyName() override { return DrawingFontFamily(context_); }
    void Clear(ColourRGBA colour) override { ClearDrawing(context_, colour); }
    void Draw(double x, double y, std::uint16_t code, ColourRGBA colour) override {
        const char16_t text[1] = {static_cast<char16_t>(code)};
        DrawTextAt(context_, static_cast<float>(x), static_cast<float>(y), {text, 1}, colour);
    }
    [[nodiscard]] GlyphInk Rasterise(double x, double y, std::uint16_t code) override {
        const char16_t text[1] = {static_cast<char16_t>(code)};
        return {x, y, code,
                RenderTextMask(context_, static_cast<float>(x), static_cast<float>(y), {text, 1})};
    }
    void Composite(const GlyphInk& ink, ColourRGBA colour) override {
        CompositeTextMask(context_, ink.Mask, colour);
    }

private:
    TextDrawingContext context_;
};

} // namespace glyfora::import
