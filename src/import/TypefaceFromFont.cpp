#include "import/TypefaceFromFont.h"

#include "base/DecimalText.h"
#include "document/ColourText.h"
#include "document/FamilyList.h"
#include "document/PictureEffects.h"
#include "import/FontMatching.h"
#include "import/GlyphEffects.h"

#include <cmath>
#include <filesystem>
#include <string>

namespace glyfora::fontimport {

namespace {

// What the picture's channels hold, for formats that describe them: a distance field, a white
// fill with a black outline and nothing else (one glyph layer and one outline layer), or some
// other coloured picture.
std::string InkOf(const GlyphEffects& effects) {
    if (effects.DistanceField) {
        return "sdf";
    }
    const bool outlinedOnly = effects.OutlineWidth > 0.0 && !effects.Shadow && !effects.Gradient &&
                              effects.FillColour == 0xFFFFFFFF &&
                              effects.OutlineColour == 0xFF000000;
    return outlinedOnly ? "outlined" : "colour";
}

// Properties that say which effects made the picture; none for a plain import.
void RecordEffects(document::Typeface& typeface, const GlyphEffects& effects) {
    if (!PaintsGlyphs(effects) && effects.FillColour == 0xFFFFFFFF) {
        return;
    }
    const auto set = [&typeface](const char* name, std::string value) {
        document::PropertyValue(typeface, name) = std::move(value);
    };
    set(document::InkProperty, InkOf(effects));
    if (effects.DistanceField) {
        set(document::DistanceFieldProperty, "sdf");
        set(document::DistanceRangeProperty, std::to_string(2 * effects.DistanceSpread));
        return;
    }
    if (effects.OutlineWidth > 0.0) {
        set(document::OutlineProperty, base::ShortestDecimal(effects.OutlineWidth));
        set(document::OutlineColourProperty, document::HexColourText(effects.OutlineColour));
        set(document::OutlineJoinProperty,
            effects.Join == document::OutlineJoin::Sharp ? "sharp" : "round");
    }
    if (effects.Shadow) {
        set(document::ShadowProperty, std::to_string(effects.ShadowX) + "," +
                                          std::to_string(effects.ShadowY) + "," +
                                          base::ShortestDecimal(effects.ShadowBlur));
        set(document::ShadowColourProperty, document::HexColourText(effects.ShadowColour));
    }
    if (effects.Gradient) {
        set(document::GradientProperty, document::HexColourText(effects.GradientTop) + "," +
                                            document::HexColourText(effects.GradientBottom));
    } else {
        set(document::FillProperty, document::HexColourText(effects.FillColour));
    }
}

// What the import did that a BMFont descriptor states: the style, the paddings around each glyph
// (up, right, down, left), the empty pixels between cells (horizontal, vertical), which only the
// compact layout leaves, and the size of the pages it fills.
void RecordImportProperties(document::Typeface& typeface, const ImportOptions& options) {
    const auto flag = [&](std::int64_t bit) { return (options.Style & bit) != 0 ? "1" : "0"; };
    document::PropertyValue(typeface, "Bold") = flag(StyleBold);
    document::PropertyValue(typeface, "Italic") = flag(StyleItalic);
    document::PropertyValue(typeface, "Padding") =
        std::to_string(options.PaddingTop) + "," + std::to_string(options.PaddingRight) + "," +
        std::to_string(options.PaddingBottom) + "," + std::to_string(options.PaddingLeft);
    const std::string gutter =
        std::to_string(options.Layout == document::CellLayout::Compact ? options.Gutter : 0);
    document::PropertyValue(typeface, "Spacing") = gutter + "," + gutter;
    if (options.Layout == document::CellLayout::Compact && options.Pages) {
        document::PropertyValue(typeface, document::PageSizeProperty) =
            document::PageSizeText(*options.Pages);
    }
    if (!options.FontFile.empty()) {
        // The file's name alone: the folder belongs to the machine it was imported on.
        document::PropertyValue(typeface, "FontFile") =
            std::filesystem::path(options.FontFile).filename().string();
    }
}

} // namespace

std::unique_ptr<document::Typeface> BuildTypeface(const document::TypefaceRegistry& registry,
                                                  std::int64_t id, const ImportOptions& options,
                                                  const FontImportInput& input,
                                                  const MeasuredGlyphs& measured,
                                                  DrawnGlyphs drawn) {
    auto typeface = document::MakeTypeface(registry, id);
    for (std::size_t i = 0; i < measured.Glyphs.size(); ++i) {
        const MeasuredGlyph& glyph = measured.Glyphs[i];
        const PlacedGlyph& placed = drawn.Glyphs[i];
        document::Character& character = document::AddCharacter(*typeface, glyph.Code);
        character.Outlay = {-options.PaddingLeft + placed.ShiftX,
                            -options.PaddingTop + placed.ShiftY,
                            glyph.Advance + options.LetterSpace, glyph.LineHeight};
        character.Source = placed.Cell;
    }
    for (const FontKerningPair& pair : input.Pairs) {
        document::AddKerningPair(*typeface, pair.First, pair.Second, pair.Amount);
    }
    document::SetCharacterSetImage(*typeface, std::move(drawn.Picture));
    document::PropertyValue(*typeface, "Face") = measured.Family;
    document::PropertyValue(*typeface, "Size") = std::to_string(options.Size);
    document::PropertyValue(*typeface, "Base") =
        std::to_string(static_cast<std::int64_t>(std::ceil(measured.Ascent)));
    RecordImportProperties(*typeface, options);
    if (!input.Fallbacks.empty()) {
        document::PropertyValue(*typeface, "Fallbacks") = document::JoinFamilyList(input.Fallbacks);
    }
    RecordEffects(*typeface, options.Effects);
    typeface->Modified = true;
    return typeface;
}

} // namespace glyfora::fontimport
