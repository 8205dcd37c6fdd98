#include "import/CharacterChoice.h"
#include "import/FontMatching.h"
#include "import/FontMetrics.h"
#include "import/FontServices.h"
#include "platform/GraphicsLibrary.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <hb.h>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace glyfora::fontimport {
namespace {

const std::string DejaVuSans = "DejaVu Sans";

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// --- Families ---------------------------------------------------------------------------------

TEST(FontFamilies, FontTypeFollowsTheFontFormat) {
    const std::vector<std::pair<std::string, std::int64_t>> cases = {
        {"TrueType", TrueTypeFontType},
        {"CFF", TrueTypeFontType},
        {"Type 42", TrueTypeFontType},
        {"PCF", RasterFontType},
        {"BDF", RasterFontType},
        {"Windows FNT", RasterFontType},
        {"Type 1", 0},
        {"CID Type 1", 0},
        {"PFR", 0},
        {"", 0},
    };
    for (const auto& [format, type] : cases) {
        EXPECT_EQ(FontTypeFromFormat(format), type) << format;
    }
}

std::vector<std::string> Names(const std::vector<FontFamilyEntry>& families) {
    std::vector<std::string> names;
    for (const auto& family : families) {
        names.push_back(family.Name);
    }
    return names;
}

TEST(FontFamilies, SortsByNameIgnoringCaseAndKeepsEqualNamesInOrder) {
    std::vector<FontFamilyEntry> families = {
        {"beta", 4}, {"Alpha", 1},  {"ALPHA x", 4}, {"alpha", 4},
        {"Beta", 1}, {"_Under", 4}, {"Zeta", 4},
    };
    SortFontFamilies(families, 1);
    EXPECT_EQ(Names(families), (std::vector<std::string>{"_Under", "Alpha", "alpha", "ALPHA x",
                                                         "beta", "Beta", "Zeta"}));
}

TEST(FontFamilies, SortsByTypeStablyOrKeepsTheServiceOrder) {
    const std::vector<FontFamilyEntry> listed = {{"c", 4}, {"a", 1}, {"b", 4}, {"d", 0}, {"e", 1}};
    auto byType = listed;
    SortFontFamilies(byType, 2);
    EXPECT_EQ(Names(byType), (std::vector<std::string>{"d", "a", "e", "c", "b"}));
    for (const std::int64_t order : {0, 3, -1}) {
        auto kept = listed;
        SortFontFamilies(kept, order);
        EXPECT_EQ(Names(kept), Names(listed)) << order;
    }
}

TEST(FontFamilies, InstalledFamiliesAreListedOnceAndSorted) {
    std::vector<FontFamilyEntry> families = {{"stale entry", 1}};
    ASSERT_TRUE(EnumerateFontFamilies(1, families));
    const auto dejaVu = std::find_if(families.begin(), families.end(),
                                     [](const auto& entry) { return entry.Name == DejaVuSans; });
    ASSERT_NE(dejaVu, families.end());
    EXPECT_EQ(dejaVu->FontType, TrueTypeFontType);
    // Its condensed faces carry their own English family name and are listed as well.
    EXPECT_NE(std::find_if(families.begin(), families.end(),
                           [](const auto& entry) { return entry.Name == "DejaVu Sans Condensed"; }),
              families.end());
    EXPECT_TRUE(std::none_of(families.begin(), families.end(),
                             [](const auto& entry) { return entry.Name == "stale entry"; }));
    std::set<std::string> keys;
    for (std::size_t i = 0; i < families.size(); ++i) {
        std::string key = Lower(families[i].Name);
        key.erase(std::remove(key.begin(), key.end(), ' '), key.end());
        EXPECT_TRUE(keys.insert(key).second) << "listed twice: " << families[i].Name;
        if (i > 0) {
            EXPECT_LE(Lower(families[i - 1].Name), Lower(families[i].Name));
        }
    }

    // Every listed name can be imported: the font matching finds a font of that very family.
    for (const auto& family : families) {
        const auto file = MatchFontFile(family.Name, 0);
        ASSERT_TRUE(file.has_value()) << family.Name;
        EXPECT_TRUE(file->ExactFamily) << family.Name << " matched " << file->Family;
    }
    const auto condensed = MatchFontFile("DejaVu Sans Condensed", 0);
    ASSERT_TRUE(condensed.has_value());
    EXPECT_NE(condensed->Path.find("Condensed"), std::string::npos) << condensed->Path;

    std::vector<FontFamilyEntry> byType;
    ASSERT_TRUE(EnumerateFontFamilies(2, byType));
    EXPECT_TRUE(std::is_sorted(byType.begin(), byType.end(), [](const auto& a, const auto& b) {
        return a.FontType < b.FontType;
    }));
    auto sortedNames = Names(byType);
    auto expectedNames = Names(families);
    std::sort(sortedNames.begin(), sortedNames.end());
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(sortedNames, expectedNames);
}

// --- Character ranges -------------------------------------------------------------------------

std::vector<std::uint16_t> Iota(std::uint32_t first, std::uint32_t last) {
    std::vector<std::uint16_t> codes;
    for (std::uint32_t code = first; code <= last; ++code) {
        codes.push_back(static_cast<std::uint16_t>(code));
    }
    return codes;
}

TEST(CharacterRanges, ExpandInRangeOrderAndStopAtTheLastUtf16Unit) {
    struct Case {
        std::vector<CharacterRange> Ranges;
        std::vector<std::uint16_t> Codes;
    };
    const std::vector<Case> cases = {
        {{{0x20, 95}}, Iota(0x20, 0x7E)},
        {{{0xFFF0, 0x20}}, Iota(0xFFF0, 0xFFFF)},
        {{{0xFFFF, 1}}, {0xFFFF}},
        {{{0x10000, 5}, {0x41, 2}}, {0x41, 0x42}},
        {{{0xFFFFFFFF, 2}}, {}},
        {{{0x30, 0}}, {}},
        {{{0x400, 2}, {0x20, 2}}, {0x400, 0x401, 0x20, 0x21}}, // range order is kept
    };
    for (const auto& [ranges, codes] : cases) {
        EXPECT_EQ(ExpandCharacterRanges(ranges), codes);
    }
}

TEST(CharacterRanges, CodesBecomeAscendingDisjointRanges) {
    const auto ranges =
        CharacterRangesFromCodes({0x42, 0x20, 0x41, 0x21, 0x41, 0x10000, 0xFFFF, 0x43});
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
    for (const auto& range : ranges) {
        pairs.emplace_back(range.First, range.Count);
    }
    EXPECT_EQ(pairs, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                         {0x20, 2}, {0x41, 3}, {0xFFFF, 2}}));
    EXPECT_TRUE(CharacterRangesFromCodes({}).empty());
}

// --- Kerning amounts --------------------------------------------------------------------------

TEST(KerningAmounts, ScaleToTheEmSizeRoundingHalvesAwayFromZero) {
    struct Case {
        std::int64_t Units, Size, UnitsPerEm;
        std::int32_t Pixels;
    };
    const std::vector<Case> cases = {
        {-150, 24, 2048, -2}, // -1.76
        {150, 24, 2048, 2},   {1, 1, 2, 1},
        {-1, 1, 2, -1},       {3, 1, 2, 2},
        {-3, 1, 2, -2},       {1, 1, 3, 0},
        {-1, 1, 3, 0},        {2, 1, 3, 1},
        {-2, 1, 3, -1},       {-32768, 128, 16, -262144},
        {-100, 0, 2048, 0},   {-100, 24, 0, 0},
    };
    for (const auto& [units, size, unitsPerEm, pixels] : cases) {
        EXPECT_EQ(ScaleKerningAmount(units, size, unitsPerEm), pixels)
            << units << " at " << size << "/" << unitsPerEm;
    }
}

using CodePair = std::tuple<int, int, int>;

std::vector<CodePair> Tuples(const std::vector<FontKerningPair>& pairs) {
    std::vector<CodePair> tuples;
    for (const auto& pair : pairs) {
        tuples.emplace_back(pair.First, pair.Second, pair.Amount);
    }
    return tuples;
}

TEST(KerningAmounts, GlyphPairsBecomeCharacterPairsForEveryCodeOfAGlyph) {
    // Glyph 3 is reached from 'A' and 0x391 (Greek Alpha), glyph 4 from 'V' only, glyph 9 from
    // none.
    const std::vector<std::pair<std::uint16_t, std::uint16_t>> codes = {
        {4, 'V'}, {3, 0x391}, {3, 'A'}, {5, 'W'}};
    const std::vector<GlyphKerningPair> pairs = {
        {3, 4, -300}, {4, 3, -20}, {4, 5, 100}, {3, 9, -500}, {9, 3, -500}};
    // -300 * 20 / 1000 = -6; -20 gives -0.4, which rounds to 0 and is kept.
    EXPECT_EQ(
        Tuples(KerningPairsFromGlyphPairs(pairs, codes, 20, 1000)),
        (std::vector<CodePair>{
            {'A', 'V', -6}, {'V', 'A', 0}, {'V', 'W', 2}, {'V', 0x391, 0}, {0x391, 'V', -6}}));
}

TEST(KerningAmounts, PreferredTableDecidesPairsBothDefine) {
    const std::vector<GlyphKerningPair> gpos = {{1, 2, -10}, {3, 4, -30}};
    const std::vector<GlyphKerningPair> kern = {{1, 1, 5}, {1, 2, -99}, {2, 9, 7}, {5, 5, 1}};
    std::vector<std::tuple<int, int, int>> merged;
    for (const auto& pair : MergeGlyphKerningPairs(gpos, kern)) {
        merged.emplace_back(pair.First, pair.Second, pair.Amount);
    }
    EXPECT_EQ(merged, (std::vector<std::tuple<int, int, int>>{
                          {1, 1, 5}, {1, 2, -10}, {2, 9, 7}, {3, 4, -30}, {5, 5, 1}}));
}

// --- Line metrics -----------------------------------------------------------------------------

TEST(LineMetricsTest, WindowsLineBoxWithExternalLeadingAndHheaOnlyWithoutOs2) {
    using Os2 = std::optional<WindowsVerticalMetrics>;
    using Hhea = std::optional<HheaVerticalMetrics>;
    struct Case {
        Os2 Windows;
        Hhea Header;
        double Ascent, LineSpacing;
    };
    const std::vector<Case> cases = {
        {Os2{{1901, 483}}, Hhea{{1901, -483, 0}}, 1901, 2384},  // both agree
        {Os2{{1075, 299}}, Hhea{{729, -271, 200}}, 1075, 1374}, // hhea smaller, gap inside
        {Os2{{1100, 300}}, Hhea{{800, -200, 500}}, 1100, 1500}, // 100 of the gap left over
        {Os2{{700, 200}}, Hhea{{800, -200, 0}}, 700, 1000},     // hhea taller: leading fills up
        {Os2{{0xFFFF, 0xFFFF}}, Hhea{{-32768, 32767, 32767}}, 65535, 131070},
        {Os2{{800, 200}}, std::nullopt, 800, 1000},
        {std::nullopt, Hhea{{729, -271, 200}}, 729, 1200},
    };
    for (const auto& c : cases) {
        const auto metrics = WindowsLineMetrics(c.Windows, c.Header);
        ASSERT_TRUE(metrics) << c.Ascent;
        EXPECT_EQ(metrics->Ascent, c.Ascent);
        EXPECT_EQ(metrics->LineSpacing, c.LineSpacing) << c.Ascent;
    }
    EXPECT_FALSE(WindowsLineMetrics(std::nullopt, std::nullopt));
}

// --- Installed fonts --------------------------------------------------------------------------

class InstalledFont : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::InitGraphicsLibrary(graphics_));
        const auto file = MatchFontFile(DejaVuSans, 0);
        if (!file || !file->ExactFamily) {
            GTEST_SKIP() << "DejaVu Sans is not installed";
        }
        file_ = *file;
    }

    platform::GraphicsLibrary graphics_;
    FontFile file_;
};

// HarfBuzz's own view of the same font file, as the independent reading.
struct ShapingFont {
    explicit ShapingFont(const FontFile& file) {
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.Path.c_str());
        if (blob == nullptr) {
            return;
        }
        Face = hb_face_create(blob, static_cast<unsigned>(file.FaceIndex));
        hb_blob_destroy(blob);
        UnitsPerEm = static_cast<int>(hb_face_get_upem(Face));
        Font = hb_font_create(Face);
        hb_font_set_scale(Font, UnitsPerEm, UnitsPerEm); // positions in design units
    }
    ~ShapingFont() {
        hb_font_destroy(Font);
        hb_face_destroy(Face);
    }
    ShapingFont(const ShapingFont&) = delete;
    ShapingFont& operator=(const ShapingFont&) = delete;

    // Advance of the first glyph of "first second", or none when shaping does not give two glyphs.
    std::optional<int> FirstAdvance(std::uint32_t first, std::uint32_t second, bool kern) const {
        hb_buffer_t* buffer = hb_buffer_create();
        const std::uint32_t text[] = {first, second};
        hb_buffer_add_utf32(buffer, text, 2, 0, 2);
        hb_buffer_guess_segment_properties(buffer);
        hb_feature_t noKern;
        hb_feature_from_string("-kern", -1, &noKern);
        hb_shape(Font, buffer, kern ? nullptr : &noKern, kern ? 0 : 1);
        unsigned count = 0;
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
        std::optional<int> advance;
        if (count == 2) {
            advance = positions[0].x_advance;
        }
        hb_buffer_destroy(buffer);
        return advance;
    }

    // Kerning that shaping applies to the pair, in design units.
    std::optional<int> Kerning(std::uint32_t first, std::uint32_t second) const {
        const auto with = FirstAdvance(first, second, true);
        const auto without = FirstAdvance(first, second, false);
        if (!with || !without) {
            return std::nullopt;
        }
        return *with - *without;
    }

    hb_face_t* Face = nullptr;
    hb_font_t* Font = nullptr;
    int UnitsPerEm = 0;
};

TEST_F(InstalledFont, CoverageMatchesTheCharacterMapThatHarfBuzzReads) {
    const auto codes = ReadFontCharacters(graphics_, DejaVuSans, 24);
    ASSERT_FALSE(codes.empty());
    EXPECT_TRUE(std::adjacent_find(codes.begin(), codes.end(),
                                   [](auto a, auto b) { return a >= b; }) == codes.end());
    for (std::uint16_t code = 0x20; code <= 0x7E; ++code) {
        EXPECT_TRUE(std::binary_search(codes.begin(), codes.end(), code)) << code;
    }

    ShapingFont shaping(file_);
    ASSERT_NE(shaping.Face, nullptr);
    hb_set_t* set = hb_set_create();
    hb_face_collect_unicodes(shaping.Face, set);
    std::vector<std::uint16_t> expected;
    bool beyond = false;
    for (hb_codepoint_t code = HB_SET_VALUE_INVALID; hb_set_next(set, &code);) {
        if (code < 0x10000) {
            expected.push_back(static_cast<std::uint16_t>(code));
        } else {
            beyond = true;
        }
    }
    hb_set_destroy(set);
    EXPECT_EQ(codes, expected);

    // Codes above 0xFFFF are in the ranges but never in the list.
    const auto ranges = ReadFontCharacterRanges(graphics_, DejaVuSans, 24);
    ASSERT_FALSE(ranges.empty());
    EXPECT_EQ(ranges.back().First + ranges.back().Count > 0x10000, beyond);
}

TEST_F(InstalledFont, ListedCoverageIsTheCoverageOfTheListedCodes) {
    const auto all = ReadFontCharacterRanges(graphics_, DejaVuSans, 24);
    ASSERT_FALSE(all.empty());
    const auto runs = [](const std::vector<CharacterRange>& ranges) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> firstAndCount;
        for (const CharacterRange& range : ranges) {
            firstAndCount.emplace_back(range.First, range.Count);
        }
        return firstAndCount;
    };
    // Unordered, repeated, uncovered, private-use and beyond-BMP codes.
    const std::vector<std::vector<std::uint32_t>> lists = {
        {},
        {'B', 'A', 'A', 0x4E00, 0x20, 0x10FFFF},
        {0x378, 0x379, 0x37A, 0x37B, 0xE000, 0xFFFF, 0x1D400},
        {0x41, 0x42, 0x43, 0x45, 0x3B1, 0x2603}};
    for (const auto& list : lists) {
        std::vector<std::uint32_t> covered;
        std::copy_if(list.begin(), list.end(), std::back_inserter(covered),
                     [&](std::uint32_t code) { return RangesCover(all, code); });
        EXPECT_EQ(runs(ReadListedCharacterRanges(graphics_, DejaVuSans, list)),
                  runs(CharacterRangesFromCodes(covered)));
    }
}

TEST_F(InstalledFont, KerningPairsAgreeWithHarfBuzzShaping) {
    ShapingFont shaping(file_);
    ASSERT_GT(shaping.UnitsPerEm, 0);
    // At an em of unitsPerEm pixels the amounts are the design units themselves.
    const auto pairs = ReadFontKerningPairs(graphics_, DejaVuSans, shaping.UnitsPerEm);
    ASSERT_GT(pairs.size(), 1000U);
    EXPECT_TRUE(std::is_sorted(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
        return a.First != b.First ? a.First < b.First : a.Second < b.Second;
    }));
    std::map<std::pair<int, int>, int> ours;
    for (const auto& pair : pairs) {
        EXPECT_NE(pair.Amount, 0);
        EXPECT_TRUE(ours.emplace(std::pair{pair.First, pair.Second}, pair.Amount).second)
            << "pair listed twice: " << pair.First << " " << pair.Second;
    }
    const auto av = ours.find({'A', 'V'});
    ASSERT_NE(av, ours.end());
    EXPECT_LT(av->second, 0);

    std::size_t compared = 0;
    for (const auto& [codes, amount] : ours) {
        const auto shaped = shaping.Kerning(codes.first, codes.second);
        if (!shaped) {
            continue; // shaping joined or split the pair
        }
        ++compared;
        EXPECT_EQ(amount, *shaped) << codes.first << " " << codes.second;
    }
    EXPECT_GT(compared, pairs.size() * 9 / 10);

    // And no pair that shaping kerns is missing among printable ASCII and Latin-1 letters.
    std::vector<std::uint32_t> sample;
    for (std::uint32_t code = 0x20; code <= 0x7E; ++code) {
        sample.push_back(code);
    }
    for (std::uint32_t code = 0xC0; code <= 0xFF; ++code) {
        sample.push_back(code);
    }
    for (const auto first : sample) {
        for (const auto second : sample) {
            const auto shaped = shaping.Kerning(first, second);
            if (shaped && *shaped != 0) {
                const auto found = ours.find({static_cast<int>(first), static_cast<int>(second)});
                EXPECT_TRUE(found != ours.end() && found->second == *shaped)
                    << first << " " << second << " shaped " << *shaped;
            }
        }
    }
}

TEST_F(InstalledFont, PairsAmongCodesAreThePairsOfTheFontBetweenThem) {
    const auto all = ReadFontKerningPairs(graphics_, DejaVuSans, 24);
    const auto tuples = [](const std::vector<FontKerningPair>& pairs) {
        std::vector<std::tuple<int, int, int>> values;
        for (const FontKerningPair& pair : pairs) {
            values.emplace_back(pair.First, pair.Second, pair.Amount);
        }
        return values;
    };
    // Kerned Latin (some listed twice), Greek and Cyrillic, codes the font lacks, and nothing.
    const std::vector<std::vector<std::uint16_t>> lists = {
        {'A', 'T', 'V', 'Y', 'a', 'o', 0x4E00, 'V', 'A'},
        {0x391, 0x3A4, 0x3BF, 0x410, 0x422, 0x43E, 'L', '\''},
        {0x4E00, 0xE000},
        {}};
    for (const auto& list : lists) {
        std::vector<FontKerningPair> expected;
        std::copy_if(all.begin(), all.end(), std::back_inserter(expected), [&](const auto& pair) {
            return std::count(list.begin(), list.end(), pair.First) != 0 &&
                   std::count(list.begin(), list.end(), pair.Second) != 0;
        });
        EXPECT_EQ(tuples(ReadKerningPairsAmong(graphics_, DejaVuSans, 24, list)), tuples(expected));
    }
    EXPECT_FALSE(ReadKerningPairsAmong(graphics_, DejaVuSans, 24, lists[0]).empty());
}

TEST_F(InstalledFont, KerningPairsScaleWithTheEmSize) {
    ShapingFont shaping(file_);
    const auto design = ReadFontKerningPairs(graphics_, DejaVuSans, shaping.UnitsPerEm);
    const auto small = ReadFontKerningPairs(graphics_, DejaVuSans, 24);
    std::vector<CodePair> expected;
    for (const auto& pair : design) {
        expected.emplace_back(pair.First, pair.Second,
                              ScaleKerningAmount(pair.Amount, 24, shaping.UnitsPerEm));
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Tuples(small), expected);
    EXPECT_TRUE(ReadFontKerningPairs(graphics_, DejaVuSans, 0).empty());
}

TEST(FontServicesWithoutLibrary, AnswerNothing) {
    const platform::GraphicsLibrary notStarted;
    EXPECT_TRUE(ReadFontCharacters(notStarted, DejaVuSans, 24).empty());
    EXPECT_TRUE(ReadFontKerningPairs(notStarted, DejaVuSans, 24).empty());
}

} // namespace
} // namespace glyfora::fontimport
