#include "import/CharacterChoice.h"

#include <gtest/gtest.h>

namespace glyfora::fontimport {
namespace {

using Codes = std::vector<std::uint16_t>;

const FontCoverage Main{"Main", {{32, 95}, {0x400, 0x50}}};
const std::vector<FontCoverage> Fallbacks{
    {"FbA", {{0x4E00, 0x100}}},
    {"FbB", {{0x3040, 0x60}, {0x4E00, 0x200}}},
    {"Unused", {{0x20, 0x10}}},
};

Codes CodeRun(std::uint16_t first, std::uint16_t last) {
    Codes codes;
    for (std::uint32_t code = first; code <= last; ++code) {
        codes.push_back(static_cast<std::uint16_t>(code));
    }
    return codes;
}

Codes Join(std::vector<Codes> parts) {
    Codes all;
    for (const Codes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(CharacterChoiceTest, ListsTakeTheCoveredCodesAndNameTheFallbacksUsed) {
    const struct {
        const char* Name;
        std::optional<std::vector<std::uint32_t>> Listed;
        bool Unicode;
        Codes Expected;
        std::vector<std::string> Used;
        std::size_t WarningCount;
    } cases[] = {
        {"list across fonts",
         std::vector<std::uint32_t>{65, 0xE01, 0x3042, 0x4E01, 0x4F05, 0x1F600},
         false,
         Codes{65, 0x3042, 0x4E01, 0x4F05},
         {"FbA", "FbB"},
         2},
        {"main covers all", std::vector<std::uint32_t>{32, 65}, false, Codes{32, 65}, {}, 0},
        {"list ignores unicode", std::vector<std::uint32_t>{0x410}, false, Codes{0x410}, {}, 0},
        {"no list, up to 255", std::nullopt, false, CodeRun(32, 126), {}, 0},
        {"no list, unicode",
         std::nullopt,
         true,
         Join({CodeRun(32, 126), CodeRun(0x400, 0x44F), CodeRun(0x3040, 0x309F),
               CodeRun(0x4E00, 0x4FFF)}),
         {"FbA", "FbB"},
         0},
    };
    for (const auto& c : cases) {
        const CharacterChoice choice = ChooseCharacters(c.Listed, c.Unicode, Main, Fallbacks);
        EXPECT_EQ(choice.Codes, c.Expected) << c.Name;
        EXPECT_EQ(choice.Fallbacks, c.Used) << c.Name;
        EXPECT_EQ(choice.Warnings.size(), c.WarningCount) << c.Name;
    }
}

TEST(CharacterChoiceTest, WarningsCountTheCodesLeftOutAndNameTheFirstFew) {
    const std::vector<std::uint32_t> listed{65,    0x500, 0x501,   0x502,  0x503,
                                            0x504, 0x505, 0x10000, 0x1F600};
    const CharacterChoice choice = ChooseCharacters(listed, false, Main, {});
    ASSERT_EQ(choice.Warnings.size(), 2U);
    EXPECT_EQ(choice.Warnings[0], "2 listed characters are above U+FFFF, which a typeface cannot "
                                  "hold, and were left out: U+10000, U+1F600");
    EXPECT_EQ(choice.Warnings[1], "6 listed characters are in none of the fonts and were left out: "
                                  "U+0500, U+0501, U+0502, U+0503, U+0504, ...");
    const CharacterChoice one =
        ChooseCharacters(std::vector<std::uint32_t>{0x500}, false, Main, {});
    EXPECT_EQ(one.Warnings.at(0),
              "1 listed character is in none of the fonts and was left out: U+0500");
}

TEST(CharacterChoiceTest, RangesCoverTheirFirstAndLastCodeOnly) {
    const std::vector<CharacterRange> ranges{{10, 3}, {20, 1}};
    const std::pair<std::uint32_t, bool> cases[] = {{9, false},  {10, true},         {12, true},
                                                    {13, false}, {20, true},         {21, false},
                                                    {0, false},  {0xFFFFFFFF, false}};
    for (const auto& [code, covered] : cases) {
        EXPECT_EQ(RangesCover(ranges, code), covered) << code;
    }
}

class InstalledFontChoice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }

    [[nodiscard]] ImportOptions Options(std::string characters,
                                        std::vector<std::string> fallbacks) const {
        ImportOptions options;
        options.Family = "DejaVu Sans";
        options.Characters = std::move(characters);
        options.Fallbacks = std::move(fallbacks);
        return options;
    }

    platform::GraphicsLibrary graphics;
    FontFiles files;
};

TEST_F(InstalledFontChoice, ListWithFallbacksReadsCoverageAndKeepsPairsOfTakenCodes) {
    const auto input = ReadFontImportInput(
        files, graphics,
        Options("65, 86, 0x4E2D, U+0378, 0x1F600",
                {"No Such Family For Glyfora", "WenQuanYi Zen Hei", "DejaVu Serif"}));
    ASSERT_TRUE(input) << input.Error;
    EXPECT_TRUE(input.Value->Listed);
    EXPECT_EQ(input.Value->Codes, (Codes{65, 86, 0x4E2D}));
    EXPECT_EQ(input.Value->Fallbacks, std::vector<std::string>{"WenQuanYi Zen Hei"});
    ASSERT_EQ(input.Value->Warnings.size(), 3U);
    EXPECT_NE(input.Value->Warnings[0].find("\"No Such Family For Glyfora\" is not installed"),
              std::string::npos);
    EXPECT_NE(input.Value->Warnings[2].find("U+0378"), std::string::npos);
    ASSERT_FALSE(input.Value->Pairs.empty()); // DejaVu Sans kerns A and V
    for (const FontKerningPair& pair : input.Value->Pairs) {
        EXPECT_TRUE((pair.First == 65 || pair.First == 86) &&
                    (pair.Second == 65 || pair.Second == 86));
    }
}

TEST_F(InstalledFontChoice, WithoutListTheInputIsTheMainFontsAsItWas) {
    const auto input = ReadFontImportInput(files, graphics, Options(" , ", {}));
    ASSERT_TRUE(input) << input.Error;
    EXPECT_FALSE(input.Value->Listed);
    EXPECT_TRUE(input.Value->Warnings.empty());
    Codes expected;
    for (const std::uint16_t code : ReadFontCharacters(graphics, "DejaVu Sans", 24)) {
        if (code <= 255) {
            expected.push_back(code);
        }
    }
    EXPECT_EQ(input.Value->Codes, expected);
    EXPECT_EQ(input.Value->Pairs.size(),
              ChooseKerningPairs(ReadFontKerningPairs(graphics, "DejaVu Sans", 24), false).size());
}

TEST_F(InstalledFontChoice, UnreadableListFails) {
    const auto input = ReadFontImportInput(files, graphics, Options("32-126, abc", {}));
    ASSERT_FALSE(input);
    EXPECT_NE(input.Error.find("character list"), std::string::npos) << input.Error;
}

} // namespace
} // namespace glyfora::fontimport
