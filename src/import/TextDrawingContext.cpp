#include "import/TextDrawingContext.h"

#include "document/Pixel.h"
#include "import/FontFiles.h"
#include "import/FontMatching.h"
#include "import/FontMetrics.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_LCD_FILTER_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_STROKER_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

namespace glyfora::fontimport {

struct DrawingFont {
    FT_Face Face = nullptr;
    std::string Family;
    float EmSize = 0.0F;
    bool SynthesizeBold = false;
    bool SynthesizeItalic = false;
    bool Underline = false;
    bool StrikeOut = false;
    FT_Pos BoldStrength = 0; // 26.6, added to every advance
    double UnitsPerEm = 0.0; // 0 for fonts without an outline em
    // Pixels; line positions are the centre of the stroke above the baseline.
    double Ascent = 0.0;
    double LineSpacing = 0.0;
    double UnderlinePosition = 0.0;
    double UnderlineThickness = 0.0;
    double StrikeOutPosition = 0.0;
    double StrikeOutThickness = 0.0;
};

void DrawingFontDeleter::operator()(DrawingFont* font) const {
    if (font != nullptr && font->Face != nullptr) {
        FT_Done_Face(font->Face);
    }
    delete font;
}

TextDrawingContext::~TextDrawingContext() = default;

namespace {

using FontPointer = std::unique_ptr<DrawingFont, DrawingFontDeleter>;

constexpr FT_Fixed ItalicShear = 0x0366A; // about 12 degrees, as FreeType's own oblique
constexpr std::int64_t ValidStyleBits = StyleBold | StyleItalic | StyleUnderline | StyleStrikeOut;
// Positions further out than this cannot land on any image we allow; they are ignored.
constexpr double MaxCoordinate = 1.0e8;

bool IsMonochrome(int hint) {
    return hint == HintSingleBitPerPixelGridFit || hint == HintSingleBitPerPixel;
}

bool IsGridFit(int hint) {
    return hint != HintSingleBitPerPixel && hint != HintAntiAlias;
}

FT_Int32 LoadFlags(int hint) {
    switch (hint) {
    case HintSingleBitPerPixelGridFit:
        return FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO;
    case HintSingleBitPerPixel:
    case HintAntiAlias:
        return FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING;
    case HintClearTypeGridFit:
        return FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LCD;
    default: // SystemDefault is treated as AntiAliasGridFit
        return FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL;
    }
}

FT_Render_Mode RenderMode(int hint) {
    if (IsMonochrome(hint)) {
        return FT_RENDER_MODE_MONO;
    }
    return hint == HintClearTypeGridFit ? FT_RENDER_MODE_LCD : FT_RENDER_MODE_NORMAL;
}

// Where user coordinate 0 lies in the rasteriser's grid, whose pixel i spans [i, i + 1).
double PixelOffsetShift(int mode) {
    const bool half = mode == PixelOffsetHalf || mode == 2; // 2 = HighQuality, an alias of Half
    return half ? 0.0 : 0.5;
}

// Design units in pixels, multiplied before dividing so that results that are exact (whole
// numbers, halves) stay exact.
double FromDesignUnits(const DrawingFont& font, double units) {
    return units * static_cast<double>(font.EmSize) / font.UnitsPerEm;
}

// The face of file, made through the context's font files when it has them, else read by
// FreeType itself.
FT_Face NewFace(const TextDrawingContext& context, const FontFile& file) {
    if (context.Files != nullptr) {
        return context.Files->Face(*context.Graphics, file).release();
    }
    FT_Face face = nullptr;
    return FT_New_Face(context.Graphics->Library, file.Path.c_str(), file.FaceIndex, &face) == 0
               ? face
               : nullptr;
}

FontPointer OpenFontFile(const TextDrawingContext& context, const FontFile& file, float emSize,
                         std::int64_t style) {
    FontPointer font(new DrawingFont);
    font->Face = NewFace(context, file);
    if (font->Face == nullptr) {
        return nullptr;
    }
    FT_Face face = font->Face;
    if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(emSize * 64.0F)), 72, 72) !=
        0) {
        return nullptr;
    }
    font->Family = file.Family;
    font->EmSize = emSize;
    // The face itself says whether it is bold or italic; fontconfig's match reports the requested
    // weight and slant for a face that lacks them.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool boldFace = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ||
                          (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= 600);
    const bool italicFace = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    font->SynthesizeBold = (file.SynthesizeBold || (style & StyleBold) != 0) && !boldFace;
    font->SynthesizeItalic = (file.SynthesizeItalic || (style & StyleItalic) != 0) && !italicFace;
    font->Underline = (style & StyleUnderline) != 0;
    font->StrikeOut = (style & StyleStrikeOut) != 0;
    if (FT_IS_SCALABLE(face) && face->units_per_EM > 0) {
        // Unhinted design metrics scaled linearly, so they do not depend on the hint. The line
        // box is the one Windows gives the font, which is taller than hhea's in many fonts.
        const double scale = static_cast<double>(emSize) / face->units_per_EM;
        font->UnitsPerEm = face->units_per_EM;
        const LineMetrics line = FaceLineMetrics(face);
        font->Ascent = FromDesignUnits(*font, line.Ascent);
        font->LineSpacing = FromDesignUnits(*font, line.LineSpacing);
        font->UnderlinePosition = face->underline_position * scale;
        font->UnderlineThickness = face->underline_thickness * scale;
        if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
            font->StrikeOutThickness = os2->yStrikeoutSize * scale;
            font->StrikeOutPosition =
                os2->yStrikeoutPosition * scale - font->StrikeOutThickness / 2.0;
        }
    } else {
        font->Ascent = static_cast<double>(face->size->metrics.ascender) / 64.0;
        font->LineSpacing = static_cast<double>(face->size->metrics.height) / 64.0;
    }
    if (font->UnderlineThickness <= 0.0) {
        font->UnderlineThickness = emSize / 14.0;
        font->UnderlinePosition = -emSize / 10.0;
    }
    if (font->StrikeOutThickness <= 0.0) {
        font->StrikeOutThickness = font->UnderlineThickness;
        font->StrikeOutPosition = font->Ascent * 0.3;
    }
    if (font->SynthesizeBold) {
        font->BoldStrength = static_cast<FT_Pos>(std::lround(emSize * 64.0F / 24.0F));
    }
    return font;
}

FontPointer OpenFont(const TextDrawingContext& context, const std::string& family, float emSize,
                     std::int64_t style) {
    if (!context.Graphics->GraphicsLibraryReady || !std::isfinite(emSize) ||
        emSize * 64.0F < 1.0F || emSize > MaxDrawingEmSize) {
        return nullptr;
    }
    const auto match = [&](const std::string& name) {
        return context.Files != nullptr ? context.Files->Match(name, style)
                                        : MatchFontFile(name, style);
    };
    if (auto file = match(family)) {
        if (auto font = OpenFontFile(context, *file, emSize, style)) {
            return font;
        }
    }
    // The matched file could not be read: the generic family is the last resort.
    if (auto file = match("sans-serif")) {
        return OpenFontFile(context, *file, emSize, style);
    }
    return nullptr;
}

bool IsOpenWithFont(const TextDrawingContext& context) {
    return context.Output != nullptr && context.Font != nullptr;
}

// How much synthetic emboldening widens a glyph, in 26.6; whole pixels when grid fitting, as
// FreeType's own emboldening does, so that hinted advances stay whole.
FT_Pos BoldStrength(const DrawingFont& font, int hint) {
    return IsGridFit(hint) ? (font.BoldStrength + 32) & ~FT_Pos{63} : font.BoldStrength;
}

// Advance of one code unit in pixels under the context's hint. Unhinted advances are scaled
// from design units in double precision: FreeType's 16.16 scaling truncates, so an advance of
// exactly half a pixel would come out just below it and round down.
double Advance(const DrawingFont& font, std::uint16_t code, int hint) {
    const FT_UInt glyph = FT_Get_Char_Index(font.Face, code);
    const bool fromDesign = !IsGridFit(hint) && font.UnitsPerEm > 0.0;
    FT_Fixed advance = 0;
    if (FT_Get_Advance(font.Face, glyph, LoadFlags(hint) | (fromDesign ? FT_LOAD_NO_SCALE : 0),
                       &advance) != 0) {
        return 0.0;
    }
    const double pixels = fromDesign ? FromDesignUnits(font, static_cast<double>(advance))
                                     : static_cast<double>(advance) / 65536.0;
    return pixels + static_cast<double>(BoldStrength(font, hint)) / 64.0;
}

// Copies a rendered bitmap whose top-left pixel lies at (left, top) into coverage.
void CopyBitmap(const FT_Bitmap& bitmap, std::int64_t left, std::int64_t top, Coverage& coverage) {
    const bool lcd = bitmap.pixel_mode == FT_PIXEL_MODE_LCD;
    coverage.Left = left;
    coverage.Top = top;
    coverage.Width = lcd ? bitmap.width / 3 : bitmap.width;
    coverage.Height = bitmap.rows;
    coverage.Values.assign(static_cast<std::size_t>(coverage.Width * coverage.Height), 0);
    for (std::int64_t row = 0; row < coverage.Height; ++row) {
        const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
        std::uint8_t* out = coverage.Values.data() + row * coverage.Width;
        for (std::int64_t column = 0; column < coverage.Width; ++column) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                out[column] = (line[column >> 3] & (0x80 >> (column & 7))) != 0 ? 255 : 0;
            } else if (lcd) {
                // The three filtered subpixel samples reduced to one coverage value.
                const unsigned sum = line[column * 3] + line[column * 3 + 1] + line[column * 3 + 2];
                out[column] = static_cast<std::uint8_t>((sum + 1) / 3);
            } else {
                out[column] = line[column];
            }
        }
    }
}

bool IsCoverageBitmap(const FT_Bitmap& bitmap) {
    return bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || bitmap.pixel_mode == FT_PIXEL_MODE_MONO ||
           bitmap.pixel_mode == FT_PIXEL_MODE_LCD;
}

// The loaded outline grown by the stroker's outside border (the glyph and its outline as one
// shape), rendered with its origin at the grid pixel (wholeX, wholeY).
bool RenderStrokedSlot(FT_GlyphSlot slot, FT_Stroker stroker, int hint, std::int64_t wholeX,
                       std::int64_t wholeY, Coverage& coverage) {
    FT_Glyph glyph = nullptr;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE || FT_Get_Glyph(slot, &glyph) != 0) {
        return false;
    }
    // Both replace the glyph only when they succeed.
    if (FT_Glyph_StrokeBorder(&glyph, stroker, 0, 1) != 0 ||
        FT_Glyph_To_Bitmap(&glyph, RenderMode(hint), nullptr, 1) != 0) {
        FT_Done_Glyph(glyph);
        return false;
    }
    const auto* rendered = reinterpret_cast<FT_BitmapGlyph>(glyph);
    const bool ok = IsCoverageBitmap(rendered->bitmap);
    if (ok) {
        CopyBitmap(rendered->bitmap, wholeX + rendered->left, wholeY - rendered->top, coverage);
    }
    FT_Done_Glyph(glyph);
    return ok;
}

// Renders one glyph with its origin at (originX, baselineY) in the rasteriser's grid; with a
// stroker, the glyph grown by the stroker's outside border.
bool RenderGlyph(const DrawingFont& font, std::uint16_t code, int hint, double originX,
                 double baselineY, FT_Stroker stroker, Coverage& coverage) {
    FT_Face face = font.Face;
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, code), LoadFlags(hint)) != 0) {
        return false;
    }
    FT_GlyphSlot slot = face->glyph;
    const double wholeX = std::floor(originX);
    const double wholeY = std::floor(baselineY);
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (font.SynthesizeItalic) {
            FT_Matrix shear{0x10000, ItalicShear, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
        if (font.SynthesizeBold) {
            FT_Outline_Embolden(&slot->outline, BoldStrength(font, hint));
        }
        // Fractional origin in 26.6; the outline's y axis points up.
        const auto shiftX = static_cast<FT_Pos>(std::lround((originX - wholeX) * 64.0));
        const auto shiftY = static_cast<FT_Pos>(std::lround((baselineY - wholeY) * 64.0));
        FT_Outline_Translate(&slot->outline, shiftX, -shiftY);
    }
    if (stroker != nullptr) {
        return RenderStrokedSlot(slot, stroker, hint, static_cast<std::int64_t>(wholeX),
                                 static_cast<std::int64_t>(wholeY), coverage);
    }
    if (FT_Render_Glyph(slot, RenderMode(hint)) != 0 || !IsCoverageBitmap(slot->bitmap)) {
        return false;
    }
    CopyBitmap(slot->bitmap, static_cast<std::int64_t>(wholeX) + slot->bitmap_left,
               static_cast<std::int64_t>(wholeY) - slot->bitmap_top, coverage);
    return true;
}

// A horizontal stroke from x0 to x1 with its vertical extent [top, bottom), in the grid.
struct Stroke {
    double X0 = 0.0, X1 = 0.0, Top = 0.0, Bottom = 0.0;
};

double Overlap(double low, double high, std::int64_t pixel) {
    const double p = static_cast<double>(pixel);
    return std::max(0.0, std::min(high, p + 1.0) - std::max(low, p));
}

// The coverage-to-alpha rule of a compositing quality, as a table over coverage 0..255.
std::array<double, 256> AlphaRule(int quality) {
    std::array<double, 256> rule{};
    for (std::size_t c = 0; c < rule.size(); ++c) {
        const double coverage = static_cast<double>(c) / 255.0;
        switch (quality) {
        case QualityHighSpeed: // 4-bit alpha, as fast blitters keep it
            rule[c] = std::round(coverage * 16.0) / 16.0;
            break;
        case QualityHighQuality:
        case QualityGammaCorrected: // coverage is linear light; stored alpha is gamma 2.2 encoded
            rule[c] = std::pow(coverage, 1.0 / 2.2);
            break;
        default: // Default and AssumeLinear: coverage is alpha
            rule[c] = coverage;
            break;
        }
        rule[c] = std::min(rule[c], 1.0);
    }
    return rule;
}

// Renders every code unit of text from the pen on, moving the pen by each advance. Glyphs without
// pixels are left out.
std::vector<Coverage> RenderText(const DrawingFont& font, int hint, std::u16string_view text,
                                 double& penX, double baseline, FT_Stroker stroker) {
    std::vector<Coverage> glyphs;
    glyphs.reserve(text.size());
    for (const char16_t unit : text) {
        const auto code = static_cast<std::uint16_t>(unit);
        Coverage coverage;
        if (RenderGlyph(font, code, hint, penX, baseline, stroker, coverage) &&
            coverage.Width > 0 && coverage.Height > 0) {
            glyphs.push_back(std::move(coverage));
        }
        penX += Advance(font, code, hint);
    }
    return glyphs;
}

// The underline and strike-out strokes of a text from startX to endX, snapped to whole pixels
// where the glyphs are.
std::vector<Stroke> TextLines(const DrawingFont& font, int hint, double startX, double endX,
                              double baseline) {
    std::vector<Stroke> strokes;
    auto addStroke = [&](double position, double thickness) {
        Stroke stroke{startX, endX, baseline - position - thickness / 2.0, 0.0};
        stroke.Bottom = stroke.Top + thickness;
        if (IsGridFit(hint) || IsMonochrome(hint)) {
            stroke.X0 = std::round(stroke.X0);
            stroke.X1 = std::round(stroke.X1);
            stroke.Top = std::round(stroke.Top);
            stroke.Bottom = std::max(stroke.Top + 1.0, std::round(stroke.Bottom));
        }
        strokes.push_back(stroke);
    };
    if (font.Underline) {
        addStroke(font.UnderlinePosition, font.UnderlineThickness);
    }
    if (font.StrikeOut) {
        addStroke(font.StrikeOutPosition, font.StrikeOutThickness);
    }
    return strokes;
}

// One coverage mask for the whole string, so that overlapping glyphs and strokes are composited
// once. It spans everything drawn, limited to the output; empty when nothing lands on it.
Coverage EmptyMask(const std::vector<Coverage>& glyphs, const std::vector<Stroke>& strokes,
                   const document::Image& output) {
    std::int64_t left = output.Width;
    std::int64_t top = output.Height;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    for (const Coverage& glyph : glyphs) {
        left = std::min(left, glyph.Left);
        top = std::min(top, glyph.Top);
        right = std::max(right, glyph.Left + glyph.Width);
        bottom = std::max(bottom, glyph.Top + glyph.Height);
    }
    for (const Stroke& stroke : strokes) {
        left = std::min(left, static_cast<std::int64_t>(std::floor(stroke.X0)));
        top = std::min(top, static_cast<std::int64_t>(std::floor(stroke.Top)));
        right = std::max(right, static_cast<std::int64_t>(std::ceil(stroke.X1)));
        bottom = std::max(bottom, static_cast<std::int64_t>(std::ceil(stroke.Bottom)));
    }
    Coverage mask;
    mask.Left = std::max<std::int64_t>(left, 0);
    mask.Top = std::max<std::int64_t>(top, 0);
    mask.Width = std::min(right, output.Width) - mask.Left;
    mask.Height = std::min(bottom, output.Height) - mask.Top;
    if (mask.Width > 0 && mask.Height > 0) {
        mask.Values.assign(static_cast<std::size_t>(mask.Width * mask.Height), 0);
    }
    return mask;
}

// The mask's value at the grid pixel (px, py), which must lie inside it.
std::uint8_t& MaskAt(Coverage& mask, std::int64_t px, std::int64_t py) {
    return mask.Values[static_cast<std::size_t>((py - mask.Top) * mask.Width + (px - mask.Left))];
}

void AddGlyphs(Coverage& mask, const std::vector<Coverage>& glyphs) {
    for (const Coverage& glyph : glyphs) {
        const std::int64_t y0 = std::max(glyph.Top, mask.Top);
        const std::int64_t y1 = std::min(glyph.Top + glyph.Height, mask.Top + mask.Height);
        const std::int64_t x0 = std::max(glyph.Left, mask.Left);
        const std::int64_t x1 = std::min(glyph.Left + glyph.Width, mask.Left + mask.Width);
        for (std::int64_t py = y0; py < y1; ++py) {
            const std::uint8_t* row = glyph.Values.data() + (py - glyph.Top) * glyph.Width;
            for (std::int64_t px = x0; px < x1; ++px) {
                std::uint8_t& value = MaskAt(mask, px, py);
                value = std::max(value, row[px - glyph.Left]);
            }
        }
    }
}

void AddStrokes(Coverage& mask, const std::vector<Stroke>& strokes) {
    for (const Stroke& stroke : strokes) {
        const auto y0 = std::max(mask.Top, static_cast<std::int64_t>(std::floor(stroke.Top)));
        const auto y1 =
            std::min(mask.Top + mask.Height, static_cast<std::int64_t>(std::ceil(stroke.Bottom)));
        const auto x0 = std::max(mask.Left, static_cast<std::int64_t>(std::floor(stroke.X0)));
        const auto x1 =
            std::min(mask.Left + mask.Width, static_cast<std::int64_t>(std::ceil(stroke.X1)));
        for (std::int64_t py = y0; py < y1; ++py) {
            const double rowCover = Overlap(stroke.Top, stroke.Bottom, py);
            for (std::int64_t px = x0; px < x1; ++px) {
                const double cover = rowCover * Overlap(stroke.X0, stroke.X1, px);
                const auto value = static_cast<std::uint8_t>(std::lround(cover * 255.0));
                std::uint8_t& current = MaskAt(mask, px, py);
                current = std::max(current, value);
            }
        }
    }
}

// The rule of a quality, built once for all; the rules are constants.
const std::array<double, 256>& RuleOf(int quality) {
    static const std::array<std::array<double, 256>, QualityAssumeLinear + 1> rules = [] {
        std::array<std::array<double, 256>, QualityAssumeLinear + 1> all{};
        for (int q = QualityDefault; q <= QualityAssumeLinear; ++q) {
            all[static_cast<std::size_t>(q)] = AlphaRule(q);
        }
        return all;
    }();
    return rules[static_cast<std::size_t>(std::clamp(quality, 0, QualityAssumeLinear))];
}

// Draws colour through the mask onto output, coverage turned into alpha by the quality's rule.
void CompositeMask(document::Image& output, const Coverage& mask, ColourRGBA colour, int quality) {
    const std::array<double, 256>& rule = RuleOf(quality);
    const double colourAlpha = static_cast<double>(document::Alpha(colour)) / 255.0;
    const std::uint8_t* value = mask.Values.data();
    for (std::int64_t py = mask.Top; py < mask.Top + mask.Height; ++py) {
        for (std::int64_t px = mask.Left; px < mask.Left + mask.Width; ++px, ++value) {
            const std::uint8_t coverage = *value;
            if (coverage == 0) {
                continue;
            }
            std::uint32_t& pixel = output.At(px, py);
            pixel = document::BlendCoverage(colour, colourAlpha * rule[coverage], pixel);
        }
    }
}

} // namespace

bool BeginTextDrawing(TextDrawingContext& context, document::Image& output) {
    if (context.Graphics == nullptr || !context.Graphics->GraphicsLibraryReady) {
        return false;
    }
    context.Output = &output;
    context.Font.reset();
    context.TextHint = HintAntiAlias;
    SetDrawingColour(context, 0xFFFFFFFF);
    SetDrawingFont(context, "Arial", 12.0F, 0);
    context.CompositingQuality = QualityGammaCorrected;
    context.PixelOffsetMode = PixelOffsetNone;
    FT_Library_SetLcdFilter(context.Graphics->Library, FT_LCD_FILTER_DEFAULT);
    return true;
}

void EndTextDrawing(TextDrawingContext& context) {
    context.Font.reset();
    context.Output = nullptr;
}

void RetargetTextDrawing(TextDrawingContext& context, document::Image& output) {
    if (context.Output != nullptr) {
        context.Output = &output;
    }
}

void SetDrawingFont(TextDrawingContext& context, const std::string& family, float emSize,
                    std::int64_t style) {
    if (context.Graphics == nullptr) {
        return;
    }
    const std::int64_t bits = style == -1 ? 0 : (style & ValidStyleBits);
    if (auto font = OpenFont(context, family, emSize, bits)) {
        context.Font = std::move(font);
    }
}

std::string DrawingFontFamily(const TextDrawingContext& context) {
    return context.Font ? context.Font->Family : std::string();
}

float DrawingFontSize(const TextDrawingContext& context) {
    return context.Font ? context.Font->EmSize : 0.0F;
}

void SetDrawingColour(TextDrawingContext& context, ColourRGBA colour) {
    context.Colour = colour;
}

void SetTextHint(TextDrawingContext& context, int hint) {
    if (context.Output != nullptr && hint >= HintSystemDefault && hint <= HintClearTypeGridFit) {
        context.TextHint = hint;
    }
}

void SetDrawingQuality(TextDrawingContext& context, int quality) {
    if (context.Output != nullptr && quality >= QualityDefault && quality <= QualityAssumeLinear) {
        context.CompositingQuality = quality;
    }
}

void SetPixelOffset(TextDrawingContext& context, int mode) {
    if (context.Output != nullptr && mode >= 0 && mode <= PixelOffsetHalf) {
        context.PixelOffsetMode = mode;
    }
}

void ClearDrawing(TextDrawingContext& context, ColourRGBA colour) {
    if (context.Output != nullptr) {
        std::fill(context.Output->Pixels.begin(), context.Output->Pixels.end(), colour);
    }
}

float MeasureTextWidth(const TextDrawingContext& context, std::u16string_view text) {
    if (!IsOpenWithFont(context)) {
        return 0.0F;
    }
    double width = 0.0;
    for (const char16_t unit : text) {
        width += Advance(*context.Font, static_cast<std::uint16_t>(unit), context.TextHint);
    }
    return static_cast<float>(width);
}

float MeasureTextHeight(const TextDrawingContext& context, std::u16string_view /*text*/) {
    return IsOpenWithFont(context) ? static_cast<float>(context.Font->LineSpacing) : 0.0F;
}

float MeasureTextAscent(const TextDrawingContext& context) {
    return IsOpenWithFont(context) ? static_cast<float>(context.Font->Ascent) : 0.0F;
}

bool DrawingFontCovers(const TextDrawingContext& context, std::uint16_t code) {
    return context.Font != nullptr && FT_Get_Char_Index(context.Font->Face, code) != 0;
}

Coverage RenderTextMask(const TextDrawingContext& context, float x, float y,
                        std::u16string_view text) {
    return IsOpenWithFont(context)
               ? RenderTextMaskOnBaseline(context, x, y, context.Font->Ascent, text)
               : Coverage{};
}

namespace {

// The mask of the text on the baseline ascent below y; with a stroker, of the text grown by it.
Coverage RenderMask(const TextDrawingContext& context, float x, float y, double ascent,
                    std::u16string_view text, FT_Stroker stroker) {
    if (!IsOpenWithFont(context) || text.empty() || !std::isfinite(x) || !std::isfinite(y) ||
        !std::isfinite(ascent) || std::fabs(x) > MaxCoordinate || std::fabs(y) > MaxCoordinate ||
        std::fabs(ascent) > MaxCoordinate) {
        return {};
    }
    const DrawingFont& font = *context.Font;
    const int hint = context.TextHint;
    const double shift = PixelOffsetShift(context.PixelOffsetMode);
    double penX = x + shift;
    double baseline = y + shift + ascent;
    if (IsGridFit(hint)) {
        // Grid fitting puts the origin on the corner of the pixel that holds it.
        penX = std::floor(penX);
        baseline = std::floor(baseline);
    }
    const double startX = penX;
    const std::vector<Coverage> glyphs = RenderText(font, hint, text, penX, baseline, stroker);
    const std::vector<Stroke> strokes = TextLines(font, hint, startX, penX, baseline);

    Coverage mask = EmptyMask(glyphs, strokes, *context.Output);
    if (mask.Width <= 0 || mask.Height <= 0) {
        return {};
    }
    AddGlyphs(mask, glyphs);
    AddStrokes(mask, strokes);
    return mask;
}

// A stroker with sharp (mitred) joins of the given width in pixels.
struct MiterStroker {
    FT_Stroker Stroker = nullptr;
    MiterStroker(FT_Library library, double width) {
        if (FT_Stroker_New(library, &Stroker) == 0) {
            FT_Stroker_Set(Stroker, static_cast<FT_Fixed>(std::lround(width * 64.0)),
                           FT_STROKER_LINECAP_BUTT, FT_STROKER_LINEJOIN_MITER_VARIABLE,
                           static_cast<FT_Fixed>(SharpOutlineMiterLimit * 65536.0));
        }
    }
    ~MiterStroker() { FT_Stroker_Done(Stroker); }
    MiterStroker(const MiterStroker&) = delete;
    MiterStroker& operator=(const MiterStroker&) = delete;
};

} // namespace

Coverage RenderTextMaskOnBaseline(const TextDrawingContext& context, float x, float y,
                                  double ascent, std::u16string_view text) {
    return RenderMask(context, x, y, ascent, text, nullptr);
}

Coverage RenderOutlinedMaskOnBaseline(const TextDrawingContext& context, float x, float y,
                                      double ascent, double width, std::u16string_view text) {
    if (context.Graphics == nullptr || !(width > 0.0) || width > MaxCoordinate) {
        return {};
    }
    const MiterStroker stroker(context.Graphics->Library, width);
    return stroker.Stroker != nullptr ? RenderMask(context, x, y, ascent, text, stroker.Stroker)
                                      : Coverage{};
}

void CompositeTextMask(TextDrawingContext& context, const Coverage& mask, std::uint64_t colour) {
    if (context.Output == nullptr || mask.Width <= 0 || mask.Height <= 0 ||
        mask.Left + mask.Width > context.Output->Width ||
        mask.Top + mask.Height > context.Output->Height || mask.Left < 0 || mask.Top < 0) {
        return;
    }
    const ColourRGBA drawColour =
        colour == NoBrushColour ? context.Colour : static_cast<ColourRGBA>(colour);
    CompositeMask(*context.Output, mask, drawColour, context.CompositingQuality);
}

CoverageAlphaRule CompositingAlphaRule(const TextDrawingContext& context) {
    const std::array<double, 256>& rule = RuleOf(context.CompositingQuality);
    CoverageAlphaRule alpha{};
    std::transform(rule.begin(), rule.end(), alpha.begin(),
                   [](double value) { return static_cast<float>(value); });
    return alpha;
}

void DrawTextAt(TextDrawingContext& context, float x, float y, std::u16string_view text,
                std::uint64_t colour) {
    CompositeTextMask(context, RenderTextMask(context, x, y, text), colour);
}

} // namespace glyfora::fontimport
