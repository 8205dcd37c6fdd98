#include "cli/ImportArguments.h"

#include <gtest/gtest.h>

namespace glyfora::cli {
namespace {

std::vector<std::string> Base(std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--family", "DejaVu Sans", "--size", "32", "-o", "out.tf"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(ImportArgumentsTest, DefaultsAreTheImportWindows) {
    const auto parsed = ParseImportArguments(Base());
    ASSERT_TRUE(parsed.Error.empty()) << parsed.Error;
    EXPECT_FALSE(parsed.Help);
    EXPECT_EQ(parsed.Output, "out.tf");
    EXPECT_EQ(parsed.Options.Family, "DejaVu Sans");
    EXPECT_EQ(parsed.Options.Size, 32);
    const import::ImportOptions defaults;
    EXPECT_EQ(parsed.Options.TextAntialiasMode, defaults.TextAntialiasMode);
    EXPECT_EQ(parsed.Options.CompositingQuality, defaults.CompositingQuality);
    EXPECT_EQ(parsed.Options.MaxWidth, defaults.MaxWidth);
    EXPECT_EQ(parsed.Options.Style, 0);
}

TEST(ImportArgumentsTest, EveryOptionReachesItsField) {
    const auto parsed = ParseImportArguments(Base(
        {"--bold", "--italic", "--underline", "--unicode", "--center", "--half-pixel",
         "--letter-space", "-3", "--padding-top", "1", "--padding-bottom", "+2", "--padding-left",
         "-100", "--padding-right", "100", "--max-width", "0", "--hint", "5", "--quality", "0"}));
    ASSERT_TRUE(parsed.Error.empty()) << parsed.Error;
    const auto& o = parsed.Options;
    EXPECT_EQ(o.Style, 0x100 + 0x200 + 4);
    EXPECT_TRUE(o.Unicode && o.Center && o.HalfPixel);
    EXPECT_EQ(o.LetterSpace, -3);
    EXPECT_EQ(o.PaddingTop, 1);
    EXPECT_EQ(o.PaddingBottom, 2);
    EXPECT_EQ(o.PaddingLeft, -100);
    EXPECT_EQ(o.PaddingRight, 100);
    EXPECT_EQ(o.MaxWidth, 0);
    EXPECT_EQ(o.TextAntialiasMode, 5);
    EXPECT_EQ(o.CompositingQuality, 0);
}

TEST(ImportArgumentsTest, BadCommandLinesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--size", "24", "-o", "x.tf"},                   // no family
        {"--family", "A", "-o", "x.tf"},                  // no size
        {"--family", "A", "--size", "24"},                // no output
        Base({"--size", "129"}),                          // out of range
        Base({"--size", "-1"}),
        Base({"--letter-space", "101"}),
        Base({"--padding-left", "-101"}),
        Base({"--max-width", "1025"}),
        Base({"--hint", "6"}),
        Base({"--quality", "-1"}),
        Base({"--size", "12px"}),                         // not a whole number
        Base({"--size", ""}),
        Base({"--size", "99999999999999999999999"}),
        Base({"--size"}),                                 // missing value
        Base({"--frobnicate"}),
        Base({"positional"}),
    };
    for (const auto& args : cases) {
        const auto parsed = ParseImportArguments(args);
        EXPECT_FALSE(parsed.Error.empty()) << testing::PrintToString(args);
        EXPECT_FALSE(parsed.Help);
    }
}

TEST(ImportArgumentsTest, HelpWinsAnywhere) {
    EXPECT_TRUE(ParseImportArguments({"--help"}).Help);
    EXPECT_TRUE(ParseImportArguments({"--size", "500", "-h"}).Help);
    EXPECT_TRUE(ParseImportArguments(Base({"--help"})).Help);
}

} // namespace
} // namespace glyfora::cli
