#pragma once

#include "document/Image.h"
#include "platform/GraphicsLibrary.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::fontimport {

// The program's colour: red in bits 0-7, green 8-15, blue 16-23, alpha 24-31. It is also the
// byte order of document::Image pixels, so colours go into images without conversion.
using ColourRGBA = std::uint32_t;

// Stands for the context's own colour (the last SetDrawingColour) where a colour is asked for.
constexpr std::uint64_t NoBrushColour = 0x1FFFFFFFF;

// Text rendering hints (the import window's list order).
constexpr int HintSystemDefault = 0;
constexpr int HintSingleBitPerPixelGridFit = 1;
constexpr int HintSingleBitPerPixel = 2;
constexpr int HintAntiAliasGridFit = 3;
constexpr int HintAntiAlias = 4;
constexpr int HintClearTypeGridFit = 5;

// Compositing qualities: how glyph coverage becomes alpha.
constexpr int QualityInvalid = -1;
constexpr int QualityDefault = 0;
constexpr int QualityHighSpeed = 1;
constexpr int QualityHighQuality = 2;
constexpr int QualityGammaCorrected = 3;
constexpr int QualityAssumeLinear = 4;

// Pixel offset modes. With None a pixel's centre lies on whole coordinates; with Half it lies on
// half coordinates, so the same drawing lands half a pixel further up and left.
constexpr int PixelOffsetNone = 3;
constexpr int PixelOffsetHalf = 4;

// Largest em size a drawing font is made with; larger requests are refused like a size of 0.
constexpr float MaxDrawingEmSize = 4096.0F;

// A coverage bitmap (0..255 per pixel) placed in an output's pixel grid.
struct Coverage {
    std::int64_t Left = 0;
    std::int64_t Top = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    std::vector<std::uint8_t> Values;
};

// The alpha a pixel of each coverage 0..255 gets when text is composited at full colour alpha.
using CoverageAlphaRule = std::array<float, 256>;

class FontFiles;
struct DrawingFont;
struct DrawingFontDeleter {
    void operator()(DrawingFont* font) const;
};

// Measures and draws text onto an Image with a font, a rendering hint and a compositing quality.
// Open between BeginTextDrawing and EndTextDrawing; every opening starts from the same defaults.
struct TextDrawingContext {
    const platform::GraphicsLibrary* Graphics = nullptr;
    document::Image* Output = nullptr; // none while closed
    std::unique_ptr<DrawingFont, DrawingFontDeleter> Font;
    // Where fonts are matched and read, when they are shared with other contexts; none: fontconfig
    // and the font file are asked for every font. It must outlive the context's fonts.
    FontFiles* Files = nullptr;
    int TextHint = HintAntiAlias;
    int CompositingQuality = QualityGammaCorrected;
    int PixelOffsetMode = PixelOffsetNone;
    ColourRGBA Colour = 0xFFFFFFFF;

    explicit TextDrawingContext(const platform::GraphicsLibrary& graphics) : Graphics(&graphics) {}
    TextDrawingContext(const TextDrawingContext&) = delete;
    TextDrawingContext& operator=(const TextDrawingContext&) = delete;
    ~TextDrawingContext();
};

// Opens the context on output: opaque white, 12-pixel "Arial", hint AntiAlias, quality
// GammaCorrected, pixel offset None. False (context stays closed) when the rasteriser is not ready.
[[nodiscard]] bool BeginTextDrawing(TextDrawingContext& context, document::Image& output);

// Closes the context and drops its font.
void EndTextDrawing(TextDrawingContext& context);

// Points an open context at another output, keeping its font and every setting, so that drawing
// on several pictures in turn makes the font only once. A closed context stays closed.
void RetargetTextDrawing(TextDrawingContext& context, document::Image& output);

// Makes the font used by every measurement and drawing: family by name (the generic sans-serif
// family when it is not installed), em size in pixels, style bits 0x100 bold, 0x200 italic,
// 4 underline, 8 strike-out (-1 counts as 0). Bold and italic come from the family's own faces
// when it has them and are made synthetically otherwise. A font that cannot be made (size 0 or
// beyond MaxDrawingEmSize, an unreadable file) leaves the previous font in force.
void SetDrawingFont(TextDrawingContext& context, const std::string& family, float emSize,
                    std::int64_t style);

// The family of the font in force (after fallback), empty when there is none.
[[nodiscard]] std::string DrawingFontFamily(const TextDrawingContext& context);

// The em size in pixels of the font in force, 0 when there is none.
[[nodiscard]] float DrawingFontSize(const TextDrawingContext& context);

// Sets the colour text is drawn in where no colour is given (NoBrushColour).
void SetDrawingColour(TextDrawingContext& context, ColourRGBA colour);

// Hints 0..5, qualities -1..4 and pixel offsets 0..4 as the constants above; a value the
// rasteriser does not accept (Invalid included) leaves the setting in force.
void SetTextHint(TextDrawingContext& context, int hint);
void SetDrawingQuality(TextDrawingContext& context, int quality);
void SetPixelOffset(TextDrawingContext& context, int mode);

// Fills the whole output with colour, alpha included.
void ClearDrawing(TextDrawingContext& context, ColourRGBA colour);

// Typographic advance of the string in pixels (sum of the glyph advances, trailing spaces
// included, no kerning); hinted advances under the grid-fitting hints. 0 while closed or fontless.
[[nodiscard]] float MeasureTextWidth(const TextDrawingContext& context, std::u16string_view text);

// The font's line spacing in pixels, whatever the text. 0 while closed or fontless.
[[nodiscard]] float MeasureTextHeight(const TextDrawingContext& context, std::u16string_view text);

// The font's ascent (top of the line box to the baseline) in pixels. 0 while closed or fontless.
[[nodiscard]] float MeasureTextAscent(const TextDrawingContext& context);

// Draws text with the top-left corner of its line box at (x, y), never clipped or wrapped except
// by the output's edges. colour is a ColourRGBA or NoBrushColour.
void DrawTextAt(TextDrawingContext& context, float x, float y, std::u16string_view text,
                std::uint64_t colour);

// Whether the font in force has a glyph for code (false while fontless).
[[nodiscard]] bool DrawingFontCovers(const TextDrawingContext& context, std::uint16_t code);

// DrawTextAt in its two steps, so that contexts of their own can rasterise side by side while
// one thread composites in order. RenderTextMask gives the coverage DrawTextAt would composite,
// limited to the output; it reads only the font, the settings and the output's size.
[[nodiscard]] Coverage RenderTextMask(const TextDrawingContext& context, float x, float y,
                                      std::u16string_view text);

// RenderTextMask with the baseline ascent pixels below y whatever the font's own ascent: a
// fallback font's glyphs then stand on the main font's baseline.
[[nodiscard]] Coverage RenderTextMaskOnBaseline(const TextDrawingContext& context, float x, float y,
                                                double ascent, std::u16string_view text);

// How far a sharp outline's corner may reach, in outline widths; sharper corners are cut there.
constexpr double SharpOutlineMiterLimit = 2.0;

// RenderTextMaskOnBaseline of the text grown by a sharp (mitred) outline width pixels wide: the
// glyphs and their outline as one shape (FreeType's stroker, outside border). Empty for a width
// that is not positive; glyphs without outlines (bitmap fonts) are left out.
[[nodiscard]] Coverage RenderOutlinedMaskOnBaseline(const TextDrawingContext& context, float x,
                                                    float y, double ascent, double width,
                                                    std::u16string_view text);

// Composites colour (a ColourRGBA or NoBrushColour) through a mask of RenderTextMask onto the
// output, which must still be as large as it was; it reads only the colour and the quality.
void CompositeTextMask(TextDrawingContext& context, const Coverage& mask, std::uint64_t colour);

// How CompositeTextMask turns coverage into alpha under the context's compositing quality.
[[nodiscard]] CoverageAlphaRule CompositingAlphaRule(const TextDrawingContext& context);

} // namespace glyfora::fontimport
