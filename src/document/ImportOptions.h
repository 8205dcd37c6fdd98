#pragma once

#include "document/PageSize.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::document {

// How the import lays cells into the picture: Rows gives every glyph a cell one advance wide and
// one line high, in rows; Compact crops each cell to the glyph's ink (plus the paddings) and packs
// the cells densely with gutters between them.
enum class CellLayout { Rows, Compact };

// The text rendering hints the import draws with; each value is the rasteriser's hint.
enum class TextHint {
    SystemDefault,
    SingleBitPerPixelGridFit,
    SingleBitPerPixel,
    AntiAliasGridFit,
    AntiAlias,
    ClearTypeGridFit,
};

// The compositing qualities the import draws with; each value is the rasteriser's quality, and
// Invalid is one the rasteriser refuses (the quality in force stays).
enum class DrawingQuality {
    Invalid = -1,
    Default,
    HighSpeed,
    HighQuality,
    GammaCorrected,
    AssumeLinear,
};

// Style bits of the import options: bold, italic, underline, strike-out.
constexpr std::int64_t StyleBold = 0x100;
constexpr std::int64_t StyleItalic = 0x200;
constexpr std::int64_t StyleUnderline = 4;
constexpr std::int64_t StyleStrikeOut = 8;

// The table of import options. Each option is one descriptor below, with its key in the
// configuration file's "ImportTTF" group, its command-line flag, its range and its default, and
// one line in VisitImportOptions pairing it with its member of ImportOptions. The configuration
// file, the command line, the import window and the import all read the options from here.

struct OptionRange {
    std::int64_t Min = 0, Max = 0;
};

// A whole number. The import and the window bring it into its range; the file keeps what it reads.
struct NumberOption {
    std::string_view Key, Flag;
    OptionRange Range;
    std::int64_t Default = 0;
};

// A check box: 1 or 0 in the file, any other number read as checked; a flag without a value.
struct SwitchOption {
    std::string_view Key, Flag;
    bool Default = false;
};

// Text kept as it is.
struct TextOption {
    std::string_view Key, Flag;
    std::string_view Default;
};

// A character list; the command line's lists add up, each read as a list.
struct CharacterListOption {
    std::string_view Key, Flag;
};

// Family names (or other short texts), joined by FamilySeparator in the file; the flag gives one
// and may repeat.
struct FamiliesOption {
    std::string_view Key, Flag;
};

// Pages of one size ("N" or "WxH", see ParsePageSize), or none: an empty text in the file.
struct PageSizeOption {
    std::string_view Key, Flag;
};

// Bits set by flags of their own, stored as one number.
struct StyleBit {
    std::string_view Flag;
    std::int64_t Bit = 0;
};
struct BitsOption {
    std::string_view Key;
    std::array<StyleBit, 3> Bits;
    std::int64_t Default = 0;
};

// A number with a fraction, from 0 to Max; stored as its shortest decimal. The effects' rows have
// no flag of their own: their command-line flags set several of them at once.
struct RealOption {
    std::string_view Key, Flag;
    double Max = 0.0;
    double Default = 0.0;
};

// A colour 0xAABBGGRR, stored as "#RRGGBBAA"; a value that is no such colour keeps the default.
struct ColourOption {
    std::string_view Key, Flag;
    std::uint32_t Default = 0;
};

// One of a few values, stored as its position in Values. A number beyond them reads as the
// nearest value (Nearest) or as the default. The command line takes the value's word when the
// option has words, else its number.
enum class BeyondValues { Nearest, Default };
template <class Value, std::size_t Count> struct ChoiceOption {
    std::string_view Key, Flag;
    std::array<Value, Count> Values;
    std::array<std::string_view, Count> Words;
    Value Default;
    BeyondValues Beyond = BeyondValues::Nearest;
};

constexpr TextOption FamilyOption{"Family", "--family", "Arial"};
constexpr NumberOption SizeOption{"Size", "--size", {0, 128}, 24}; // em size in pixels
constexpr ChoiceOption<TextHint, 6> HintOption{
    "TextAntialiasMode",
    "--hint",
    {TextHint::SystemDefault, TextHint::SingleBitPerPixelGridFit, TextHint::SingleBitPerPixel,
     TextHint::AntiAliasGridFit, TextHint::AntiAlias, TextHint::ClearTypeGridFit},
    {},
    TextHint::AntiAlias};
constexpr ChoiceOption<DrawingQuality, 6> QualityOption{
    "CompositingQuality",
    "--quality",
    {DrawingQuality::Invalid, DrawingQuality::Default, DrawingQuality::HighSpeed,
     DrawingQuality::HighQuality, DrawingQuality::GammaCorrected, DrawingQuality::AssumeLinear},
    {},
    DrawingQuality::AssumeLinear};
constexpr OptionRange SpaceRange{-100, 100}; // the letter space and the four paddings
constexpr NumberOption LetterSpaceOption{"LetterSpace", "--letter-space", SpaceRange, 0};
constexpr NumberOption PaddingTopOption{"PaddingTop", "--padding-top", SpaceRange, 0};
constexpr NumberOption PaddingBottomOption{"PaddingBottom", "--padding-bottom", SpaceRange, 0};
constexpr NumberOption PaddingLeftOption{"PaddingLeft", "--padding-left", SpaceRange, 0};
constexpr NumberOption PaddingRightOption{"PaddingRight", "--padding-right", SpaceRange, 0};
// Only the three check boxes of the window; strike-out is no import option.
constexpr BitsOption StyleOption{
    "Style",
    {{{"--bold", StyleBold}, {"--italic", StyleItalic}, {"--underline", StyleUnderline}}},
    0};
constexpr SwitchOption CenterOption{"Center", "--center", false};
constexpr SwitchOption UnicodeOption{"Unicode", "--unicode", false};
constexpr SwitchOption HalfPixelOption{"HalfPixel", "--half-pixel", false};
// 0 = one row (Rows) or a near-square picture (Compact).
constexpr NumberOption MaxWidthOption{"MaxWidth", "--max-width", {0, 16384}, 512};
// Added after the keys above, so older files lack them; a layout other than 1 is Rows.
constexpr ChoiceOption<CellLayout, 2> LayoutOption{"Layout",
                                                   "--layout",
                                                   {CellLayout::Rows, CellLayout::Compact},
                                                   {"rows", "compact"},
                                                   CellLayout::Rows,
                                                   BeyondValues::Default};
// Empty pixels between compact cells.
constexpr NumberOption GutterOption{"Gutter", "--gutter", {0, 64}, 1};
// Compact picture sides rounded up to powers of two.
constexpr SwitchOption PowerOfTwoOption{"PowerOfTwo", "--power-of-two", false};
// A character list ("32-126, U+0400-U+04FF"); when it names any code it replaces Unicode.
constexpr CharacterListOption CharactersOption{"Characters", "--chars"};
// Families that draw the codes the main font lacks, first covering one first.
constexpr FamiliesOption FallbacksOption{"Fallbacks", "--fallback"};
// The compact layout fills pages of this size, stacked top to bottom; none gives one picture.
constexpr PageSizeOption PagesOption{"PageSize", "--page-size"};
// A font file to import instead of the family, its face in a collection, and for a variable font
// a named instance and axis values ("wght=650", applied after the instance).
constexpr TextOption FontFileOption{"FontFile", "--font-file", ""};
constexpr NumberOption FaceIndexOption{"FaceIndex", "--face-index", {0, 65535}, 0};
constexpr TextOption InstanceOption{"Instance", "--instance", ""};
constexpr FamiliesOption AxesOption{"Axes", "--axis"};

// How the corners of an outline are drawn: Round follows the glyph at the same distance
// everywhere; Sharp keeps the glyph's corners pointed (mitred).
enum class OutlineJoin { Round, Sharp };

// The effects, added after every key above. Colours are 0xAABBGGRR like the pictures' pixels.
constexpr RealOption OutlineWidthOption{"OutlineWidth", "", 32.0, 0.0}; // pixels; 0: no outline
constexpr ColourOption OutlineColourOption{"OutlineColour", "", 0xFF000000};
constexpr ChoiceOption<OutlineJoin, 2> OutlineJoinOption{"OutlineJoin",
                                                         "--outline-join",
                                                         {OutlineJoin::Round, OutlineJoin::Sharp},
                                                         {"round", "sharp"},
                                                         OutlineJoin::Round};
constexpr SwitchOption ShadowOption{"Shadow", "", false};
constexpr OptionRange ShadowOffsetRange{-32, 32}; // pixels right and down
constexpr NumberOption ShadowXOption{"ShadowX", "", ShadowOffsetRange, 0};
constexpr NumberOption ShadowYOption{"ShadowY", "", ShadowOffsetRange, 0};
constexpr RealOption ShadowBlurOption{"ShadowBlur", "", 32.0, 0.0};        // Gaussian blur radius
constexpr ColourOption ShadowColourOption{"ShadowColour", "", 0x99000000}; // black at 60%
constexpr ColourOption FillColourOption{"FillColour", "", 0xFFFFFFFF};
constexpr SwitchOption GradientOption{"Gradient", "", false};
constexpr ColourOption GradientTopOption{"GradientTop", "", 0xFFFFFFFF};
constexpr ColourOption GradientBottomOption{"GradientBottom", "", 0xFF000000};
constexpr SwitchOption DistanceFieldOption{"DistanceField", "", false};
// Pixels from the edge to the field's ends.
constexpr NumberOption DistanceSpreadOption{"DistanceSpread", "", {1, 32}, 4};

// What the import adds to every glyph's pixels for games: an outline, a shadow (a glow is a
// shadow without offset but with a blur), the fill's colour or a vertical gradient over the
// font's line box, or instead of all of them a signed distance field. All are off by default, so
// a plain import draws white glyphs whose shape lives in the alpha channel.
struct GlyphEffects {
    double OutlineWidth = OutlineWidthOption.Default;
    std::uint32_t OutlineColour = OutlineColourOption.Default;
    OutlineJoin Join = OutlineJoinOption.Default;
    bool Shadow = ShadowOption.Default;
    std::int64_t ShadowX = ShadowXOption.Default;
    std::int64_t ShadowY = ShadowYOption.Default;
    double ShadowBlur = ShadowBlurOption.Default;
    std::uint32_t ShadowColour = ShadowColourOption.Default;
    std::uint32_t FillColour = FillColourOption.Default;
    bool Gradient = GradientOption.Default; // replaces FillColour
    std::uint32_t GradientTop = GradientTopOption.Default;
    std::uint32_t GradientBottom = GradientBottomOption.Default;
    // Refused together with the effects above.
    bool DistanceField = DistanceFieldOption.Default;
    std::int64_t DistanceSpread = DistanceSpreadOption.Default;

    bool operator==(const GlyphEffects&) const = default;
};

// Everything the import window lets the user choose, in the order of the "ImportTTF" keys.
struct ImportOptions {
    std::string Family{FamilyOption.Default};
    std::int64_t Size = SizeOption.Default;
    TextHint TextAntialiasMode = HintOption.Default;
    DrawingQuality CompositingQuality = QualityOption.Default;
    std::int64_t LetterSpace = LetterSpaceOption.Default;
    std::int64_t PaddingTop = PaddingTopOption.Default;
    std::int64_t PaddingBottom = PaddingBottomOption.Default;
    std::int64_t PaddingLeft = PaddingLeftOption.Default;
    std::int64_t PaddingRight = PaddingRightOption.Default;
    std::int64_t Style = StyleOption.Default;
    bool Center = CenterOption.Default;
    bool Unicode = UnicodeOption.Default;
    bool HalfPixel = HalfPixelOption.Default;
    std::int64_t MaxWidth = MaxWidthOption.Default;
    CellLayout Layout = LayoutOption.Default;
    std::int64_t Gutter = GutterOption.Default;
    bool PowerOfTwo = PowerOfTwoOption.Default;
    std::string Characters;
    std::vector<std::string> Fallbacks;
    GlyphEffects Effects;
    std::optional<PageSize> Pages;
    std::string FontFile;
    std::int64_t FaceIndex = FaceIndexOption.Default;
    std::string Instance;
    std::vector<std::string> Axes;

    bool operator==(const ImportOptions&) const = default;
};

// Calls visit(descriptor, member) for every option in key order; Options is ImportOptions, const
// or not. Each reader of the table (the file, the command line, the import's clamping) is a
// visitor with one overload per kind of descriptor, so a new row of a known kind needs no more.
template <class Options, class Visitor> void VisitImportOptions(Options& options, Visitor&& visit) {
    visit(FamilyOption, options.Family);
    visit(SizeOption, options.Size);
    visit(HintOption, options.TextAntialiasMode);
    visit(QualityOption, options.CompositingQuality);
    visit(LetterSpaceOption, options.LetterSpace);
    visit(PaddingTopOption, options.PaddingTop);
    visit(PaddingBottomOption, options.PaddingBottom);
    visit(PaddingLeftOption, options.PaddingLeft);
    visit(PaddingRightOption, options.PaddingRight);
    visit(StyleOption, options.Style);
    visit(CenterOption, options.Center);
    visit(UnicodeOption, options.Unicode);
    visit(HalfPixelOption, options.HalfPixel);
    visit(MaxWidthOption, options.MaxWidth);
    visit(LayoutOption, options.Layout);
    visit(GutterOption, options.Gutter);
    visit(PowerOfTwoOption, options.PowerOfTwo);
    visit(CharactersOption, options.Characters);
    visit(FallbacksOption, options.Fallbacks);
    auto& effects = options.Effects;
    visit(OutlineWidthOption, effects.OutlineWidth);
    visit(OutlineColourOption, effects.OutlineColour);
    visit(OutlineJoinOption, effects.Join);
    visit(ShadowOption, effects.Shadow);
    visit(ShadowXOption, effects.ShadowX);
    visit(ShadowYOption, effects.ShadowY);
    visit(ShadowBlurOption, effects.ShadowBlur);
    visit(ShadowColourOption, effects.ShadowColour);
    visit(FillColourOption, effects.FillColour);
    visit(GradientOption, effects.Gradient);
    visit(GradientTopOption, effects.GradientTop);
    visit(GradientBottomOption, effects.GradientBottom);
    visit(DistanceFieldOption, effects.DistanceField);
    visit(DistanceSpreadOption, effects.DistanceSpread);
    visit(PagesOption, options.Pages);
    visit(FontFileOption, options.FontFile);
    visit(FaceIndexOption, options.FaceIndex);
    visit(InstanceOption, options.Instance);
    visit(AxesOption, options.Axes);
}

// The number a choice is stored and given as: its position among the option's values. A value
// the option does not list (only a cast makes one) is stored as the default.
template <class Value, std::size_t Count>
[[nodiscard]] constexpr std::int64_t ChoiceNumber(const ChoiceOption<Value, Count>& option,
                                                  Value value) {
    std::int64_t number = 0;
    for (std::size_t i = 0; i < Count; ++i) {
        if (option.Values[i] == value) {
            return static_cast<std::int64_t>(i);
        }
        if (option.Values[i] == option.Default) {
            number = static_cast<std::int64_t>(i);
        }
    }
    return number;
}

// The value a stored number stands for, a number beyond the values as the option says.
template <class Value, std::size_t Count>
[[nodiscard]] constexpr Value ChoiceOfNumber(const ChoiceOption<Value, Count>& option,
                                             std::int64_t number) {
    if (number >= 0 && number < static_cast<std::int64_t>(Count)) {
        return option.Values[static_cast<std::size_t>(number)];
    }
    if (option.Beyond == BeyondValues::Default) {
        return option.Default;
    }
    return number < 0 ? option.Values.front() : option.Values.back();
}

} // namespace glyfora::document
