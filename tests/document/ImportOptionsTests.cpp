#include "document/ImportOptions.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace glyfora::document {
namespace {

TEST(ImportOptionsTable, ChoicesAreStoredAsTheirPlaceAmongTheValues) {
    struct Case {
        std::int64_t Number;
        TextHint Hint;
        DrawingQuality Quality;
        CellLayout Layout;
    };
    // Beyond the values, hints and qualities take the nearest one, a layout its default.
    const Case cases[] = {
        {0, TextHint::SystemDefault, DrawingQuality::Invalid, CellLayout::Rows},
        {1, TextHint::SingleBitPerPixelGridFit, DrawingQuality::Default, CellLayout::Compact},
        {3, TextHint::AntiAliasGridFit, DrawingQuality::HighQuality, CellLayout::Rows},
        {5, TextHint::ClearTypeGridFit, DrawingQuality::AssumeLinear, CellLayout::Rows},
        {6, TextHint::ClearTypeGridFit, DrawingQuality::AssumeLinear, CellLayout::Rows},
        {-1, TextHint::SystemDefault, DrawingQuality::Invalid, CellLayout::Rows},
        {INT64_MIN, TextHint::SystemDefault, DrawingQuality::Invalid, CellLayout::Rows},
        {INT64_MAX, TextHint::ClearTypeGridFit, DrawingQuality::AssumeLinear, CellLayout::Rows},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChoiceOfNumber(HintOption, c.Number), c.Hint) << c.Number;
        EXPECT_EQ(ChoiceOfNumber(QualityOption, c.Number), c.Quality) << c.Number;
        EXPECT_EQ(ChoiceOfNumber(LayoutOption, c.Number), c.Layout) << c.Number;
    }
    for (std::int64_t number = 0; number < 6; ++number) {
        EXPECT_EQ(ChoiceNumber(HintOption, ChoiceOfNumber(HintOption, number)), number);
        EXPECT_EQ(ChoiceNumber(QualityOption, ChoiceOfNumber(QualityOption, number)), number);
    }
    EXPECT_EQ(ChoiceNumber(LayoutOption, CellLayout::Compact), 1);
    EXPECT_EQ(ChoiceNumber(HintOption, static_cast<TextHint>(17)), 4) << "stored as the default";
    EXPECT_EQ(ChoiceNumber(QualityOption, static_cast<DrawingQuality>(-9)), 5);
    // The rasteriser's quality is one below the stored number.
    EXPECT_EQ(static_cast<int>(ChoiceOfNumber(QualityOption, 0)), -1);
    EXPECT_EQ(static_cast<int>(ChoiceOfNumber(HintOption, 4)), 4);
}

// Collects each row's key and flags, and the defaults of the rows that have one. The effects'
// rows have no flag: flags of their own set several of them.
struct RowCollector {
    std::vector<std::string> Keys;
    std::set<std::string> Flags;
    bool DefaultsMatch = true;

    void Row(std::string_view key, std::string_view flag) {
        Keys.emplace_back(key);
        EXPECT_TRUE(flag.empty() || Flags.emplace(flag).second)
            << flag << " is the flag of two options";
    }
    void operator()(const TextOption& o, const std::string& v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v == o.Default;
    }
    void operator()(const CharacterListOption& o, const std::string& v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v.empty();
    }
    void operator()(const FamiliesOption& o, const std::vector<std::string>& v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v.empty();
    }
    void operator()(const NumberOption& o, std::int64_t v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v == o.Default && o.Range.Min <= v && v <= o.Range.Max;
    }
    void operator()(const RealOption& o, double v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v == o.Default && 0.0 <= v && v <= o.Max;
    }
    void operator()(const ColourOption& o, std::uint32_t v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v == o.Default;
    }
    void operator()(const SwitchOption& o, bool v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v == o.Default;
    }
    void operator()(const BitsOption& o, std::int64_t v) {
        Keys.emplace_back(o.Key);
        for (const StyleBit& bit : o.Bits) {
            EXPECT_TRUE(Flags.emplace(bit.Flag).second) << bit.Flag;
        }
        DefaultsMatch = DefaultsMatch && v == o.Default;
    }
    void operator()(const PageSizeOption& o, const std::optional<PageSize>& v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && !v;
    }
    template <class Value, std::size_t Count>
    void operator()(const ChoiceOption<Value, Count>& o, Value v) {
        Row(o.Key, o.Flag);
        DefaultsMatch = DefaultsMatch && v == o.Default;
    }
};

TEST(ImportOptionsTable, RowsComeInKeyOrderWithFlagsOfTheirOwnAndTheRecordsDefaults) {
    RowCollector rows;
    const ImportOptions defaults;
    VisitImportOptions(defaults, rows);
    EXPECT_EQ(rows.Keys, (std::vector<std::string>{"Family",
                                                   "Size",
                                                   "TextAntialiasMode",
                                                   "CompositingQuality",
                                                   "LetterSpace",
                                                   "PaddingTop",
                                                   "PaddingBottom",
                                                   "PaddingLeft",
                                                   "PaddingRight",
                                                   "Style",
                                                   "Center",
                                                   "Unicode",
                                                   "HalfPixel",
                                                   "MaxWidth",
                                                   "Layout",
                                                   "Gutter",
                                                   "PowerOfTwo",
                                                   "Characters",
                                                   "Fallbacks",
                                                   "OutlineWidth",
                                                   "OutlineColour",
                                                   "OutlineJoin",
                                                   "Shadow",
                                                   "ShadowX",
                                                   "ShadowY",
                                                   "ShadowBlur",
                                                   "ShadowColour",
                                                   "FillColour",
                                                   "Gradient",
                                                   "GradientTop",
                                                   "GradientBottom",
                                                   "DistanceField",
                                                   "DistanceSpread",
                                                   "PageSize",
                                                   "FontFile",
                                                   "FaceIndex",
                                                   "Instance",
                                                   "Axes"}));
    EXPECT_TRUE(rows.DefaultsMatch);
    EXPECT_EQ(rows.Flags.count("--bold") + rows.Flags.count("--italic") +
                  rows.Flags.count("--underline"),
              3U);
}

} // namespace
} // namespace glyfora::document
