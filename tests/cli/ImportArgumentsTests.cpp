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
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    EXPECT_FALSE(parsed.Value->Help);
    EXPECT_EQ(parsed.Value->Output, "out.tf");
    EXPECT_EQ(parsed.Value->Options.Family, "DejaVu Sans");
    EXPECT_EQ(parsed.Value->Options.Size, 32);
    const fontimport::ImportOptions defaults;
    EXPECT_EQ(parsed.Value->Options.TextAntialiasMode, defaults.TextAntialiasMode);
    EXPECT_EQ(parsed.Value->Options.CompositingQuality, defaults.CompositingQuality);
    EXPECT_EQ(parsed.Value->Options.MaxWidth, defaults.MaxWidth);
    EXPECT_EQ(parsed.Value->Options.Style, 0);
    EXPECT_EQ(parsed.Value->Options.Layout, fontimport::CellLayout::Rows);
    EXPECT_EQ(parsed.Value->Options.Gutter, 1);
    EXPECT_FALSE(parsed.Value->Options.PowerOfTwo);
}

TEST(ImportArgumentsTest, LayoutOptionsReachTheirFields) {
    struct Case {
        std::vector<std::string> Args;
        fontimport::CellLayout Layout;
        std::int64_t Gutter, MaxWidth;
        bool PowerOfTwo;
    };
    const Case cases[] = {
        {{"--layout", "compact"}, fontimport::CellLayout::Compact, 1, 512, false},
        {{"--layout", "compact", "--layout", "rows"}, fontimport::CellLayout::Rows, 1, 512, false},
        {{"--layout", "compact", "--gutter", "0", "--power-of-two"},
         fontimport::CellLayout::Compact,
         0,
         512,
         true},
        {{"--gutter", "64", "--max-width", "16384"},
         fontimport::CellLayout::Rows,
         64,
         16384,
         false},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseImportArguments(Base(c.Args));
        ASSERT_TRUE(parsed.Ok()) << parsed.Error;
        const auto& o = parsed.Value->Options;
        EXPECT_EQ(o.Layout, c.Layout) << testing::PrintToString(c.Args);
        EXPECT_EQ(o.Gutter, c.Gutter) << testing::PrintToString(c.Args);
        EXPECT_EQ(o.MaxWidth, c.MaxWidth) << testing::PrintToString(c.Args);
        EXPECT_EQ(o.PowerOfTwo, c.PowerOfTwo) << testing::PrintToString(c.Args);
    }
}

TEST(ImportArgumentsTest, EveryOptionReachesItsField) {
    const auto parsed = ParseImportArguments(Base({"--bold",           "--italic",
                                                   "--underline",      "--unicode",
                                                   "--center",         "--half-pixel",
                                                   "--letter-space",   "-3",
                                                   "--padding-top",    "1",
                                                   "--padding-bottom", "+2",
                                                   "--padding-left",   "-100",
                                                   "--padding-right",  "100",
                                                   "--max-width",      "0",
                                                   "--hint",           "5",
                                                   "--quality",        "0"}));
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    const auto& o = parsed.Value->Options;
    EXPECT_EQ(o.Style, 0x100 + 0x200 + 4);
    EXPECT_TRUE(o.Unicode && o.Center && o.HalfPixel);
    EXPECT_EQ(o.LetterSpace, -3);
    EXPECT_EQ(o.PaddingTop, 1);
    EXPECT_EQ(o.PaddingBottom, 2);
    EXPECT_EQ(o.PaddingLeft, -100);
    EXPECT_EQ(o.PaddingRight, 100);
    EXPECT_EQ(o.MaxWidth, 0);
    EXPECT_EQ(o.TextAntialiasMode, fontimport::TextHint::ClearTypeGridFit);
    EXPECT_EQ(o.CompositingQuality, fontimport::DrawingQuality::Invalid);
}

// Every whole-number option of the table takes the ends of its range and nothing beyond them
// (the effects' rows through the flags that set several, tested with those).
struct NumberRows {
    void operator()(const document::NumberOption& option, std::int64_t) const {
        if (option.Flag.empty()) {
            return;
        }
        for (const std::int64_t value : {option.Range.Min, option.Range.Max}) {
            const auto parsed =
                ParseImportArguments(Base({std::string(option.Flag), std::to_string(value)}));
            ASSERT_TRUE(parsed.Ok()) << option.Flag << " " << value << ": " << parsed.Error;
            fontimport::ImportOptions expected = parsed.Value->Options;
            document::VisitImportOptions(expected, Setter{option.Key, value});
            EXPECT_EQ(parsed.Value->Options, expected) << option.Flag;
        }
        const std::string beyond = std::to_string(option.Range.Max + 1);
        EXPECT_EQ(ParseImportArguments(Base({std::string(option.Flag), beyond})).Error,
                  std::string(option.Flag) + " must be a whole number from " +
                      std::to_string(option.Range.Min) + " to " + std::to_string(option.Range.Max) +
                      ", not \"" + beyond + "\"");
    }
    template <class Option, class Value> void operator()(const Option&, const Value&) const {}

    // Sets the number option of key to value, in a record to compare with.
    struct Setter {
        std::string_view Key;
        std::int64_t Value;
        void operator()(const document::NumberOption& option, std::int64_t& field) const {
            if (option.Key == Key) {
                field = Value;
            }
        }
        template <class Option, class Field> void operator()(const Option&, Field&) const {}
    };
};

TEST(ImportArgumentsTest, EveryNumberOfTheTableTakesItsRange) {
    const fontimport::ImportOptions options;
    document::VisitImportOptions(options, NumberRows{});
}

TEST(ImportArgumentsTest, ChoicesNameTheirWordsOrRange) {
    struct Case {
        std::vector<std::string> Args;
        const char* Error;
    };
    const Case cases[] = {
        {{"--layout", "dense"}, "--layout must be rows or compact, not \"dense\""},
        {{"--layout", "1"}, "--layout must be rows or compact, not \"1\""},
        {{"--hint", "6"}, "--hint must be a whole number from 0 to 5, not \"6\""},
        {{"--quality", "-1"}, "--quality must be a whole number from 0 to 5, not \"-1\""},
        {{"--quality", "Default"}, "--quality must be a whole number from 0 to 5, not \"Default\""},
        {{"--hint"}, "--hint needs a value"},
        {{"--bold", "--unicode", "--center", "x"}, "unknown option \"x\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseImportArguments(Base(c.Args)).Error, c.Error);
    }
    struct Chosen {
        const char* Quality;
        fontimport::DrawingQuality Value;
    };
    for (const Chosen& c : {Chosen{"0", fontimport::DrawingQuality::Invalid},
                            Chosen{"1", fontimport::DrawingQuality::Default},
                            Chosen{"4", fontimport::DrawingQuality::GammaCorrected}}) {
        const auto parsed = ParseImportArguments(Base({"--quality", c.Quality}));
        ASSERT_TRUE(parsed.Ok()) << parsed.Error;
        EXPECT_EQ(parsed.Value->Options.CompositingQuality, c.Value) << c.Quality;
    }
}

TEST(ImportArgumentsTest, PageSizesArePowersOfTwoSquareOrNot) {
    const struct {
        const char* Value;
        std::optional<document::PageSize> Pages;
    } cases[] = {
        {"2048", document::PageSize{2048, 2048}},
        {"256x64", document::PageSize{256, 64}},
        {"16384", document::PageSize{16384, 16384}},
        {"32", std::nullopt},
        {"2000", std::nullopt},
        {"2048x", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseImportArguments(Base({"--page-size", c.Value}));
        if (!c.Pages) {
            EXPECT_EQ(parsed.Error, std::string("--page-size takes N or WxH, powers of two from 64 "
                                                "to 16384, not \"") +
                                        c.Value + "\"");
            continue;
        }
        ASSERT_TRUE(parsed.Ok()) << parsed.Error;
        EXPECT_EQ(parsed.Value->Options.Pages, c.Pages) << c.Value;
    }
    const auto none = ParseImportArguments(Base({}));
    ASSERT_TRUE(none.Ok());
    EXPECT_EQ(none.Value->Options.Pages, std::nullopt);
}

TEST(ImportArgumentsTest, BadCommandLinesAreUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"--size", "24", "-o", "x.tf"}, // no family
        Base({"--face-index", "-1"}),
        Base({"--face-index", "65536"}),
        Base({"--axis"}),
        {"--family", "A", "-o", "x.tf"},   // no size
        {"--family", "A", "--size", "24"}, // no output
        Base({"--size", "129"}),           // out of range
        Base({"--size", "-1"}),
        Base({"--letter-space", "101"}),
        Base({"--padding-left", "-101"}),
        Base({"--max-width", "16385"}),
        Base({"--gutter", "-1"}),
        Base({"--gutter", "65"}),
        Base({"--layout", "dense"}),
        Base({"--layout", "Compact"}),
        Base({"--layout"}),
        Base({"--hint", "6"}),
        Base({"--quality", "-1"}),
        Base({"--size", "12px"}), // not a whole number
        Base({"--size", ""}),
        Base({"--size", "99999999999999999999999"}),
        Base({"--size"}), // missing value
        Base({"--page-size"}),
        Base({"--frobnicate"}),
        Base({"positional"}),
    };
    for (const auto& args : cases) {
        const auto parsed = ParseImportArguments(args);
        EXPECT_FALSE(parsed.Error.empty()) << testing::PrintToString(args);
        EXPECT_FALSE(parsed.Ok() && parsed.Value->Help);
    }
}

TEST(ImportArgumentsTest, AFontFileStandsInForTheFamilyAndAxesRepeat) {
    const auto parsed = ParseImportArguments({"--font-file", "fonts/A.ttc", "--face-index", "2",
                                              "--instance", "Condensed Light", "--axis", "wght=650",
                                              "--axis", "wdth=80.5", "--size", "24", "-o", "x.tf"});
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    const document::ImportOptions& options = parsed.Value->Options;
    EXPECT_EQ(options.FontFile, "fonts/A.ttc");
    EXPECT_EQ(options.FaceIndex, 2);
    EXPECT_EQ(options.Instance, "Condensed Light");
    EXPECT_EQ(options.Axes, (std::vector<std::string>{"wght=650", "wdth=80.5"}));
    EXPECT_EQ(options.Family, document::FamilyOption.Default) << "the family stays as it was";
}

TEST(ImportArgumentsTest, CharacterListsFilesAndFallbacksRepeat) {
    const auto parsed = ParseImportArguments(
        Base({"--chars", "32-126", "--fallback", "B Family", "--chars-file", "a.txt", "--chars",
              "U+0400", "--fallback", "A Family", "--chars-file", "b.txt"}));
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    std::vector<std::uint32_t> listed;
    for (std::uint32_t code = 32; code <= 126; ++code) {
        listed.push_back(code);
    }
    listed.push_back(0x400);
    EXPECT_EQ(parsed.Value->ListedCharacters, listed);
    EXPECT_EQ(parsed.Value->Options.Characters, "") << "the command makes the list";
    EXPECT_EQ(parsed.Value->CharacterFiles, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(parsed.Value->Options.Fallbacks, (std::vector<std::string>{"B Family", "A Family"}));
    for (const char* bad : {"126-32", "abc", "0x110000"}) {
        const auto refused = ParseImportArguments(Base({"--chars", bad}));
        EXPECT_EQ(refused.Error.rfind("--chars: ", 0), 0U) << refused.Error;
    }
    EXPECT_FALSE(ParseImportArguments(Base({"--fallback"})).Ok());
    // A list of nothing is still a list given, which the import refuses: it is not "no list".
    for (const char* empty : {"", " , "}) {
        const auto listed = ParseImportArguments(Base({"--chars", empty}));
        ASSERT_TRUE(listed.Ok()) << listed.Error;
        EXPECT_TRUE(listed.Value->CharactersListed) << '"' << empty << '"';
    }
    EXPECT_FALSE(ParseImportArguments(Base()).Value->CharactersListed);
}

TEST(ImportArgumentsTest, JobsDefaultToEveryCoreAndTakeOneTo256) {
    const auto parsed = ParseImportArguments(Base());
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    EXPECT_EQ(parsed.Value->Jobs, fontimport::CoreCount());
    for (const std::int64_t jobs : {1, 2, 7, 256}) {
        const auto chosen = ParseImportArguments(Base({"--jobs", std::to_string(jobs)}));
        ASSERT_TRUE(chosen.Ok()) << chosen.Error;
        EXPECT_EQ(chosen.Value->Jobs, jobs);
    }
    for (const char* bad : {"0", "-1", "257", "two", "1.5", ""}) {
        const auto parsed = ParseImportArguments(Base({"--jobs", bad}));
        EXPECT_EQ(parsed.Error,
                  "--jobs must be a whole number from 1 to 256, not \"" + std::string(bad) + "\"");
    }
    EXPECT_EQ(ParseImportArguments(Base({"--jobs"})).Error, "--jobs needs a value");
}

TEST(ImportArgumentsTest, HelpWinsAnywhere) {
    const auto asksForHelp = [](const std::vector<std::string>& args) {
        const auto parsed = ParseImportArguments(args);
        return parsed.Ok() && parsed.Value->Help;
    };
    EXPECT_TRUE(asksForHelp({"--help"}));
    EXPECT_TRUE(asksForHelp({"--size", "500", "-h"}));
    EXPECT_TRUE(asksForHelp(Base({"--help"})));
}

TEST(ImportArgumentsTest, EffectOptionsReachTheirFields) {
    const auto parsed = ParseImportArguments(
        Base({"--outline", "1.5,#FF000080", "--outline-join", "sharp", "--shadow",
              "-3,4,2.5,#0000ff", "--gradient", "#FFFFFF,#00000040"}));
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    const document::GlyphEffects& e = parsed.Value->Options.Effects;
    EXPECT_EQ(e.OutlineWidth, 1.5);
    EXPECT_EQ(e.OutlineColour, 0x800000FFU);
    EXPECT_EQ(e.Join, document::OutlineJoin::Sharp);
    EXPECT_TRUE(e.Shadow);
    EXPECT_EQ(e.ShadowX, -3);
    EXPECT_EQ(e.ShadowY, 4);
    EXPECT_EQ(e.ShadowBlur, 2.5);
    EXPECT_EQ(e.ShadowColour, 0xFFFF0000U);
    EXPECT_TRUE(e.Gradient);
    EXPECT_EQ(e.GradientTop, 0xFFFFFFFFU);
    EXPECT_EQ(e.GradientBottom, 0x40000000U);
    EXPECT_FALSE(e.DistanceField);

    struct Case {
        std::vector<std::string> Args;
        document::GlyphEffects Expected;
    };
    document::GlyphEffects outline;
    outline.OutlineWidth = 2.0; // black when no colour is given
    document::GlyphEffects shadow;
    shadow.Shadow = true;
    shadow.ShadowX = 2;
    shadow.ShadowY = 2; // no blur, black at 60%
    document::GlyphEffects fill;
    fill.FillColour = 0xFF563412;
    document::GlyphEffects field;
    field.DistanceField = true;
    field.DistanceSpread = 32;
    const Case cases[] = {
        {{}, {}},
        {{"--outline", "2"}, outline},
        {{"--shadow", "2,2"}, shadow},
        {{"--fill", "#123456"}, fill},
        {{"--sdf", "32"}, field},
    };
    for (const Case& c : cases) {
        const auto read = ParseImportArguments(Base(c.Args));
        ASSERT_TRUE(read.Ok()) << read.Error;
        EXPECT_EQ(read.Value->Options.Effects, c.Expected) << testing::PrintToString(c.Args);
    }
}

TEST(ImportArgumentsTest, BadEffectValuesAreNamed) {
    struct Case {
        std::vector<std::string> Args;
        const char* Named; // what the message must quote or say
    };
    const Case cases[] = {
        {{"--outline", "33"}, "\"33\""},
        {{"--outline", "-1"}, "\"-1\""},
        {{"--outline", "nan"}, "\"nan\""},
        {{"--outline", "2,black"}, "\"2,black\""},
        {{"--outline", "2,#12345"}, "\"2,#12345\""},
        {{"--outline", "2,#FF0000,#00FF00"}, "\"2,#FF0000,#00FF00\""},
        {{"--outline-join", "bevel"}, "\"bevel\""},
        {{"--shadow", "2"}, "\"2\""},
        {{"--shadow", "33,0"}, "\"33,0\""},
        {{"--shadow", "1.5,2"}, "\"1.5,2\""},
        {{"--shadow", "1,2,-3"}, "\"1,2,-3\""},
        {{"--shadow", "1,2,3,#GG0000"}, "\"1,2,3,#GG0000\""},
        {{"--fill", "FFFFFF"}, "\"FFFFFF\""},
        {{"--gradient", "#FFFFFF"}, "\"#FFFFFF\""},
        {{"--sdf", "0"}, "\"0\""},
        {{"--sdf", "33"}, "\"33\""},
        {{"--fill", "#FFFFFF", "--gradient", "#FFFFFF,#000000"}, "--fill and --gradient"},
        {{"--sdf", "4", "--outline", "1"}, "distance field"},
        {{"--shadow", "0,0,4", "--sdf", "4"}, "distance field"},
        {{"--outline"}, "needs a value"},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseImportArguments(Base(c.Args));
        ASSERT_FALSE(parsed.Ok()) << testing::PrintToString(c.Args);
        EXPECT_NE(parsed.Error.find(c.Named), std::string::npos) << parsed.Error;
    }
}

} // namespace
} // namespace glyfora::cli
