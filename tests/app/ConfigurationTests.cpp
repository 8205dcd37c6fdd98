#include "ScratchFolder.h"
#include "app/shell/Configuration.h"
#include "base/FileReading.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace glyfora::app {
namespace {

std::string TestData(const std::string& name) {
    const char* folder = std::getenv("GLYFORA_TEST_DATA");
    return std::string(folder != nullptr ? folder : GLYFORA_TEST_DATA_FALLBACK) + "/" + name;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const base::Result<std::vector<std::uint8_t>> read = base::ReadWholeFile(path);
    EXPECT_EQ(read.Error, "") << path;
    const std::vector<std::uint8_t> bytes = read.Value.value_or(std::vector<std::uint8_t>());
    return bytes;
}

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The values the golden file was written from, by hand, group by group.
Configuration GoldenConfiguration() {
    Configuration c;
    c.WindowMain = {300, 250, std::nullopt, std::nullopt, 1}; // Hide is never written
    c.WindowExample = {300, 110, 800, 100, 0};
    c.WindowImport = {-20, 300, std::nullopt, std::nullopt, 1};
    c.WindowCharacterSet = {1040, 250, 400, 421, 0};
    c.CharacterSetZoom = 4;
    c.EditorPath = "/opt/Grafik \xC3\x84/gimp";
    c.WindowCharacter = {300, 820, 200, 100, 1};
    c.CharacterZoom = 16;
    c.WindowKerningPair = {550, 820, 300, 100, 1};
    c.ImportTTF = {"DejaVu Sans",
                   32,
                   document::TextHint::AntiAliasGridFit,
                   document::DrawingQuality::HighSpeed,
                   -2,
                   1,
                   2,
                   3,
                   4,
                   260,
                   true,
                   true,
                   true,
                   1024,
                   document::CellLayout::Compact,
                   3,
                   true,
                   "32-126, U+0400-U+04FF",
                   {"WenQuanYi Zen Hei", "DejaVu Serif"},
                   {1.5, 0xFF0000FF, document::OutlineJoin::Sharp, true, -3, 4, 2.25, 0x80FF0000,
                    0xFF00FF00, true, 0xFFFFFF00, 0x40302010, false, 6},
                   document::PageSize{2048, 1024},
                   "fonts/Example.ttc",
                   2,
                   "Bold",
                   {"wght=650", "wdth=90"}};
    return c;
}

TEST(ConfigurationWriting, MatchesTheGoldenFileByteForByte) {
    const std::vector<std::uint8_t> golden = ReadBytes(TestData("Configuration.golden.ini"));
    const std::vector<std::uint8_t> written = WriteConfiguration(GoldenConfiguration());
    EXPECT_EQ(AsText(written), AsText(golden));
}

TEST(ConfigurationWriting, RecentFilesFollowEveryOtherGroupAndReadBack) {
    Configuration c = GoldenConfiguration();
    for (int i = 1; i <= 9; ++i) {
        c.RecentFiles.push_back("/fonts/face" + std::to_string(i) + ".tf");
    }
    const std::string golden = AsText(ReadBytes(TestData("Configuration.golden.ini")));
    const std::string text = AsText(WriteConfiguration(c));
    ASSERT_EQ(text.substr(0, golden.size()), golden) << "the other groups stay as they are";
    EXPECT_EQ(text.substr(golden.size(), 48),
              "[RecentFiles]\r\nFile1 = /fonts/face1.tf\r\nFile2 = ");
    EXPECT_EQ(text.find("face9"), std::string::npos) << "eight at most";
    c.RecentFiles.resize(MaxRecentFiles);
    EXPECT_EQ(ReadConfiguration(text).RecentFiles, c.RecentFiles);
    // Gaps in a hand-edited list are closed up.
    EXPECT_EQ(ReadConfiguration("[RecentFiles]\nFile3 = /a.fnt\nFile1 = /b.tf\n").RecentFiles,
              (std::vector<std::string>{"/b.tf", "/a.fnt"}));
}

TEST(ConfigurationWriting, StartsWithMarkEmptyLineAndMainWindowPosition) {
    const std::string text = AsText(WriteConfiguration(GoldenConfiguration()));
    const std::string start = "\xEF\xBB\xBF\r\n[WindowMain]\r\nX = 300\r\nY = 250\r\n";
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.find("\n\r\n"), std::string::npos) << "no blank line between groups";
    EXPECT_EQ(text.find("Hide = 1\r\n[WindowExample]"), std::string::npos)
        << "the main window's Hide is read only";
}

TEST(ConfigurationWriting, LeavesOutUnknownPlacementsAndCutsStringsAtLineBreaks) {
    Configuration c;
    c.WindowExample.X = 7;
    c.EditorPath = "editor\r\n[WindowMain]\r\nHide = 1";
    c.ImportTTF.Family = "Fam\nily";
    const std::string text = AsText(WriteConfiguration(c));
    EXPECT_NE(text.find("[WindowExample]\r\nX = 7\r\nHide = 0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Editor = editor\r\n[WindowCharacter]"), std::string::npos) << text;
    EXPECT_NE(text.find("Family = Fam\r\n"), std::string::npos) << text;

    const Configuration back = ReadConfiguration(text);
    EXPECT_EQ(back.EditorPath, "editor");
    EXPECT_EQ(back.WindowMain.Hide, 0) << "a path must not smuggle in keys";
    EXPECT_EQ(back.WindowExample.X, 7);
    EXPECT_EQ(back.WindowExample.Y, std::nullopt);
}

TEST(ConfigurationWriting, StyleOfBoldAndUnderlineIs260) {
    Configuration c;
    c.ImportTTF.Style = 0x100 + 4;
    EXPECT_NE(AsText(WriteConfiguration(c)).find("\r\nStyle = 260\r\n"), std::string::npos);
}

TEST(ConfigurationReading, FilesWithoutTheEffectKeysReadAsBefore) {
    // The golden file's keys up to the fallbacks, as files were written before the effects.
    const std::string golden = AsText(ReadBytes(TestData("Configuration.golden.ini")));
    const std::size_t effects = golden.find("OutlineWidth = ");
    ASSERT_NE(effects, std::string::npos);
    const std::size_t next = golden.find('[', effects); // the group after ImportTTF, if any
    const std::string before =
        golden.substr(0, effects) + (next == std::string::npos ? "" : golden.substr(next));
    document::ImportOptions expected = GoldenConfiguration().ImportTTF;
    expected.Effects = {};
    expected.Pages.reset(); // its key and the font file's follow the effects'
    expected.FontFile.clear();
    expected.FaceIndex = document::FaceIndexOption.Default;
    expected.Instance.clear();
    expected.Axes.clear();
    EXPECT_EQ(ReadConfiguration(before).ImportTTF, expected);
    // Written again, those keys come out as they were, the effects' after them.
    const std::string written = AsText(WriteConfiguration(ReadConfiguration(before)));
    EXPECT_EQ(written.substr(0, effects), golden.substr(0, effects));
    EXPECT_EQ(written.substr(effects, 18), "OutlineWidth = 0\r\n");
}

TEST(ConfigurationReading, EffectValuesAreReadTolerantly) {
    struct Case {
        const char* Line;
        document::GlyphEffects Expected;
    };
    document::GlyphEffects width;
    width.OutlineWidth = 2.5;
    document::GlyphEffects colour;
    colour.OutlineColour = 0x80563412;
    document::GlyphEffects opaque;
    opaque.FillColour = 0xFF563412;
    document::GlyphEffects join;
    join.Join = document::OutlineJoin::Sharp;
    const Case cases[] = {
        {"OutlineWidth = 2.5", width},
        {"OutlineWidth =  2.5  ", width},
        {"OutlineWidth = wide", {}}, // no number: the default
        {"OutlineWidth = nan", {}},
        {"OutlineWidth = 1e999", {}}, // beyond double
        {"OutlineColour = #12345680", colour},
        {"outlinecolour = #12345680", colour}, // keys are found without regard to case
        {"OutlineColour = 12345680", {}},      // without its "#"
        {"OutlineColour = #1234", {}},
        {"FillColour = #123456", opaque},
        {"OutlineJoin = 1", join},
        {"OutlineJoin = 7", join}, // beyond the values: the nearest
    };
    for (const Case& c : cases) {
        const std::string text = std::string("[ImportTTF]\r\n") + c.Line + "\r\n";
        EXPECT_EQ(ReadConfiguration(text).ImportTTF.Effects, c.Expected) << c.Line;
    }
}

TEST(ConfigurationReading, EmptyFileGivesFirstRunDefaults) {
    const Configuration c = ReadConfiguration("");
    EXPECT_EQ(c, Configuration{});
    EXPECT_EQ(c.CharacterSetZoom, 1);
    EXPECT_EQ(c.CharacterZoom, 8);
    EXPECT_EQ(c.EditorPath, "");
    EXPECT_EQ(c.WindowCharacter.X, std::nullopt);
    EXPECT_EQ(c.WindowCharacter.Hide, 0);
    const document::ImportOptions expected{"Arial",
                                           24,
                                           document::TextHint::AntiAlias,
                                           document::DrawingQuality::AssumeLinear,
                                           0,
                                           0,
                                           0,
                                           0,
                                           0,
                                           0,
                                           false,
                                           false,
                                           false,
                                           512,
                                           document::CellLayout::Rows,
                                           1,
                                           false,
                                           "",
                                           {},
                                           {},
                                           std::nullopt,
                                           "",
                                           0,
                                           "",
                                           {}};
    EXPECT_EQ(c.ImportTTF, expected);
}

TEST(ConfigurationReading, GoldenFileReadsBackItsValues) {
    const std::vector<std::uint8_t> golden = ReadBytes(TestData("Configuration.golden.ini"));
    Configuration expected = GoldenConfiguration();
    expected.WindowMain.Hide = 0;
    EXPECT_EQ(ReadConfiguration(AsText(golden)), expected);
}

TEST(ConfigurationReading, HandEditedLatin1FileWithCommentsCaseAndBlanks) {
    const std::string text =
        "; written by hand\r\n"
        "X = 99\n" // before any group: belongs to none
        "\n"
        "   [windowcharacterset]\n"
        "\t; zoom follows\n"
        "\teditor\t  =  \t C:\\Programme\\Bildbearbeitung \xE4\\paint.exe \t\r\n"
        "  zOOm=2\n"
        "x = 12abc\n"
        "Y=abc\n"
        "[WINDOWMAIN]\r\n"
        "hide = 1\r\n"
        "X=-5\r\n"
        "[ImportTTF\n" // no closing bracket
        "family =  Times\tNew Roman  \n"
        "Style=+260\n"
        "MaxWidth\n"; // no "=": empty value
    const Configuration c = ReadConfiguration(text);
    EXPECT_EQ(c.EditorPath, "C:\\Programme\\Bildbearbeitung \xC3\xA4\\paint.exe");
    EXPECT_EQ(c.CharacterSetZoom, 2);
    EXPECT_EQ(c.WindowCharacterSet.X, 12);
    EXPECT_EQ(c.WindowCharacterSet.Y, 0);
    EXPECT_EQ(c.WindowCharacterSet.Width, std::nullopt);
    EXPECT_EQ(c.WindowMain.Hide, 1);
    EXPECT_EQ(c.WindowMain.X, -5);
    EXPECT_EQ(c.WindowMain.Y, std::nullopt);
    EXPECT_EQ(c.ImportTTF.Family, "Times\tNew Roman");
    EXPECT_EQ(c.ImportTTF.Style, 260);
    EXPECT_EQ(c.ImportTTF.MaxWidth, 0);
    EXPECT_EQ(c.ImportTTF.Size, 24);
    EXPECT_EQ(c.CharacterZoom, 8) << "missing group keeps its default";
}

TEST(ConfigurationReading, ImportOptionsRoundTripThroughTheFile) {
    Configuration c;
    document::ImportOptions& options = c.ImportTTF;
    options.Family = "DejaVu Serif";
    options.Size = 40;
    options.TextAntialiasMode = document::TextHint::SingleBitPerPixelGridFit;
    options.CompositingQuality = document::DrawingQuality::HighQuality;
    options.Style = 0x100 | 4;
    options.HalfPixel = true;
    options.Unicode = true;
    options.LetterSpace = -4;
    options.PaddingTop = 1;
    options.PaddingBottom = 2;
    options.PaddingLeft = 3;
    options.PaddingRight = 5;
    options.MaxWidth = 0;
    options.Layout = document::CellLayout::Compact;
    options.Gutter = 0;
    options.PowerOfTwo = true;
    const std::string text = AsText(WriteConfiguration(c));
    EXPECT_NE(text.find("\r\nCenter = 0\r\nUnicode = 1\r\nHalfPixel = 1\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(ReadConfiguration(text).ImportTTF, options);
    // The file and the import start from the same defaults.
    EXPECT_EQ(ReadConfiguration("[ImportTTF]\r\n").ImportTTF, document::ImportOptions{});
}

TEST(ConfigurationReading, PageSizeIsNoneUnlessItIsOneTheImportTakes) {
    const struct {
        const char* Text;
        std::optional<document::PageSize> Pages;
    } cases[] = {
        {"MaxWidth = 512\n", std::nullopt}, // a file from before it
        {"PageSize = 2048\n", document::PageSize{2048, 2048}},
        {"PageSize =  256x4096 \n", document::PageSize{256, 4096}},
        {"PageSize = \n", std::nullopt},
        {"PageSize = 1000\n", std::nullopt},
        {"PageSize = big\n", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadConfiguration(std::string("[ImportTTF]\n") + c.Text).ImportTTF.Pages, c.Pages)
            << c.Text;
    }
    Configuration none = GoldenConfiguration();
    none.ImportTTF.Pages.reset();
    const std::string text = AsText(WriteConfiguration(none));
    EXPECT_NE(text.find("\r\nPageSize = \r\n"), std::string::npos) << text;
    EXPECT_EQ(ReadConfiguration(text).ImportTTF.Pages, std::nullopt);
}

TEST(ConfigurationReading, LayoutKeysFollowTheOlderKeysAndTolerateOddValues) {
    struct Case {
        const char* Text;
        document::CellLayout Layout;
        std::int64_t Gutter;
        bool PowerOfTwo;
    };
    const Case cases[] = {
        {"MaxWidth = 512\n", document::CellLayout::Rows, 1, false}, // a file from before them
        {"Layout = 1\nGutter = 7\nPowerOfTwo = 1\n", document::CellLayout::Compact, 7, true},
        {"Layout = 2\nGutter = x\nPowerOfTwo = 5\n", document::CellLayout::Rows, 0, true},
        {"Layout = -1\n", document::CellLayout::Rows, 1, false},
    };
    for (const Case& c : cases) {
        const document::ImportOptions options =
            ReadConfiguration(std::string("[ImportTTF]\n") + c.Text).ImportTTF;
        EXPECT_EQ(options.Layout, c.Layout) << c.Text;
        EXPECT_EQ(options.Gutter, c.Gutter) << c.Text;
        EXPECT_EQ(options.PowerOfTwo, c.PowerOfTwo) << c.Text;
    }
    const std::string text = AsText(WriteConfiguration(GoldenConfiguration()));
    EXPECT_NE(text.find("\r\nMaxWidth = 1024\r\nLayout = 1\r\nGutter = 3\r\nPowerOfTwo = 1\r\n"
                        "Characters = "),
              std::string::npos)
        << text;
}

TEST(ConfigurationReading, HintAndQualityNumbersBeyondTheListsTakeTheNearestEntry) {
    struct Case {
        const char* Text;
        document::TextHint Hint;
        document::DrawingQuality Quality;
    };
    const Case cases[] = {
        {"TextAntialiasMode = 0\nCompositingQuality = 0\n", document::TextHint::SystemDefault,
         document::DrawingQuality::Invalid},
        {"TextAntialiasMode = 17\nCompositingQuality = -4\n", document::TextHint::ClearTypeGridFit,
         document::DrawingQuality::Invalid},
        {"TextAntialiasMode = -1\nCompositingQuality = 99999999999999999999\n",
         document::TextHint::SystemDefault, document::DrawingQuality::AssumeLinear},
        {"TextAntialiasMode = 2x\nCompositingQuality = x\n", document::TextHint::SingleBitPerPixel,
         document::DrawingQuality::Invalid},
        {"Size = 3\n", document::TextHint::AntiAlias, document::DrawingQuality::AssumeLinear},
    };
    for (const Case& c : cases) {
        const document::ImportOptions options =
            ReadConfiguration(std::string("[ImportTTF]\n") + c.Text).ImportTTF;
        EXPECT_EQ(options.TextAntialiasMode, c.Hint) << c.Text;
        EXPECT_EQ(options.CompositingQuality, c.Quality) << c.Text;
    }
    Configuration written;
    written.ImportTTF.TextAntialiasMode = document::TextHint::SystemDefault;
    written.ImportTTF.CompositingQuality = document::DrawingQuality::Default;
    EXPECT_NE(AsText(WriteConfiguration(written))
                  .find("\r\nTextAntialiasMode = 0\r\nCompositingQuality = 1\r\n"),
              std::string::npos);
}

TEST(ConfigurationReading, CheckBoxesCountAnyNumberButZeroAsCheckedAndWriteOneOrZero) {
    const Configuration c =
        ReadConfiguration("[ImportTTF]\nCenter = 7\nUnicode = 0\nHalfPixel = -1 px\n");
    EXPECT_TRUE(c.ImportTTF.Center);
    EXPECT_FALSE(c.ImportTTF.Unicode);
    EXPECT_TRUE(c.ImportTTF.HalfPixel);
    const std::string text = AsText(WriteConfiguration(c));
    EXPECT_NE(text.find("\r\nCenter = 1\r\nUnicode = 0\r\nHalfPixel = 1\r\n"), std::string::npos)
        << text;
}

TEST(ConfigurationReading, ByteOrderMarkSelectsUtf8) {
    const std::string utf8 = "[ImportTTF]\r\nFamily = Gr\xC3\xBC\xC3\x9F"
                             "e\r\n";
    EXPECT_EQ(ReadConfiguration("\xEF\xBB\xBF" + utf8).ImportTTF.Family, "Gr\xC3\xBC\xC3\x9F"
                                                                         "e");
    // The same bytes without the mark are four Latin-1 characters each.
    EXPECT_EQ(ReadConfiguration(utf8).ImportTTF.Family, "Gr\xC3\x83\xC2\xBC\xC3\x83\xC2\x9F"
                                                        "e");
    // Broken UTF-8 after the mark is replaced, not passed on.
    EXPECT_EQ(ReadConfiguration("\xEF\xBB\xBF[ImportTTF]\nFamily = A\xFF\xC3\n").ImportTTF.Family,
              "A\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(ConfigurationReading, KeysAreLookedUpOnlyInTheirOwnGroup) {
    const Configuration c = ReadConfiguration("[WindowExample]\nZoom = 4\nEditor = x\n"
                                              "[WindowCharacterSet]\nX = 1\n"
                                              "[WindowImport]\nWidth = 5\nHeight = 6\n"
                                              "[WindowMain]\nWidth = 5\n");
    EXPECT_EQ(c.CharacterSetZoom, 1);
    EXPECT_EQ(c.EditorPath, "");
    EXPECT_EQ(c.WindowCharacterSet.X, 1);
    EXPECT_EQ(c.WindowExample.X, std::nullopt);
    EXPECT_EQ(c.WindowImport.Width, std::nullopt) << "the import window has no size keys";
    EXPECT_EQ(c.WindowImport.Height, std::nullopt);
    EXPECT_EQ(c.WindowMain.Width, std::nullopt);
}

TEST(ConfigurationReading, IntegersFromLeadingSignAndDigits) {
    constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();
    const struct {
        const char* Value;
        std::int64_t Expected;
    } cases[] = {
        {"12abc", 12},
        {"abc", 0},
        {"-5", -5},
        {"+7", 7},
        {"", 0},
        {"-", 0},
        {"   3", 3},
        {"0x10", 0},
        {"1e3", 1},
        {"- 4", 0},
        {"007", 7},
        {"9223372036854775807", Max},
        {"9223372036854775808", Max},
        {"99999999999999999999999", Max},
        {"-9223372036854775808", Min},
        {"-9223372036854775809", Min},
        {"-99999999999999999999999", Min},
    };
    for (const auto& test : cases) {
        const std::string text = std::string("[ImportTTF]\r\nSize = ") + test.Value + "\r\n";
        EXPECT_EQ(ReadConfiguration(text).ImportTTF.Size, test.Expected) << test.Value;
    }
}

TEST(ConfigurationReading, ZoomsBecomeUsablePowersOfTwo) {
    const struct {
        const char* Value;
        std::int64_t Expected;
    } cases[] = {{"0", 1},   {"-4", 1},  {"1", 1},    {"3", 2},
                 {"16", 16}, {"64", 64}, {"100", 64}, {"99999999999999999999", 64}};
    for (const auto& test : cases) {
        const std::string text = std::string("[WindowCharacterSet]\nZoom=") + test.Value +
                                 "\n[WindowCharacter]\nZoom=" + test.Value + "\n";
        const Configuration c = ReadConfiguration(text);
        EXPECT_EQ(c.CharacterSetZoom, test.Expected) << test.Value;
        EXPECT_EQ(c.CharacterZoom, test.Expected) << test.Value;
    }
}

TEST(ConfigurationReading, EveryWrittenKeyRoundTrips) {
    // Distinct values everywhere, so a key read into the wrong field shows.
    Configuration c;
    std::int64_t next = -30;
    for (WindowPlacement* window :
         {&c.WindowMain, &c.WindowExample, &c.WindowImport, &c.WindowCharacterSet,
          &c.WindowCharacter, &c.WindowKerningPair}) {
        window->X = next++;
        window->Y = next++;
        window->Width = next++;
        window->Height = next++;
        window->Hide = 1;
    }
    c.CharacterSetZoom = 32;
    c.CharacterZoom = 2;
    c.EditorPath = "/usr/bin/krita";
    // The three check boxes differ from each other and from their defaults where they can.
    c.ImportTTF = {"Noto Sans CJK",
                   101,
                   document::TextHint::SingleBitPerPixel,    // stored as 2
                   document::DrawingQuality::GammaCorrected, // stored as 4
                   104,
                   105,
                   106,
                   107,
                   108,
                   109,
                   true,
                   false,
                   true,
                   113,
                   document::CellLayout::Compact,
                   7,
                   true,
                   "0x41 - 0x5A",
                   {"Noto Sans CJK JP", "Unifont"},
                   {},
                   document::PageSize{64, 16384},
                   "fonts/Game Variable.ttf",
                   0,
                   "Condensed Light",
                   {"wght=650"}};

    Configuration expected = c;
    expected.WindowMain.Width = std::nullopt; // not keys of these groups
    expected.WindowMain.Height = std::nullopt;
    expected.WindowMain.Hide = 0;
    expected.WindowImport.Width = std::nullopt;
    expected.WindowImport.Height = std::nullopt;
    const std::vector<std::uint8_t> bytes = WriteConfiguration(c);
    EXPECT_EQ(ReadConfiguration(AsText(bytes)), expected);
}

TEST(ConfigurationFiles, SaveCreatesFoldersAndLoadReadsItBack) {
    const testsupport::ScratchFolder scratch;
    const std::string folder = scratch.Path() + "/roaming/Zorbatek/Glyfora/";
    EXPECT_EQ(LoadConfigurationFile(folder), Configuration{}) << "first run";

    ASSERT_EQ(SaveConfigurationFile(folder, GoldenConfiguration()).Error, "");
    EXPECT_EQ(ReadBytes(folder + "Configuration.ini"),
              ReadBytes(TestData("Configuration.golden.ini")));
    Configuration expected = GoldenConfiguration();
    expected.WindowMain.Hide = 0;
    EXPECT_EQ(LoadConfigurationFile(folder), expected);
    EXPECT_EQ(LoadConfigurationFile(scratch.Path() + "/roaming/Zorbatek/Glyfora"), expected)
        << "folder without its final slash";

    // Saving again replaces the file whole.
    ASSERT_EQ(SaveConfigurationFile(folder, Configuration{}).Error, "");
    EXPECT_EQ(LoadConfigurationFile(folder), Configuration{});
}

TEST(ConfigurationFiles, FailuresAreReportedNotFatal) {
    const testsupport::ScratchFolder scratch;
    const std::string blocker = scratch.Path() + "/file";
    std::ofstream(blocker) << "not a folder";
    EXPECT_NE(SaveConfigurationFile(blocker + "/Glyfora/", Configuration{}).Error, "");
    EXPECT_EQ(LoadConfigurationFile(blocker + "/Glyfora/"), Configuration{});
    EXPECT_NE(SaveConfigurationFile("", Configuration{}).Error, "");
    EXPECT_EQ(LoadConfigurationFile(""), Configuration{});

    // A folder in place of the file: unreadable, so defaults.
    std::filesystem::create_directories(scratch.Path() + "/odd/Configuration.ini");
    EXPECT_EQ(LoadConfigurationFile(scratch.Path() + "/odd/"), Configuration{});
    EXPECT_NE(SaveConfigurationFile(scratch.Path() + "/odd/", Configuration{}).Error, "");
}

} // namespace
} // namespace glyfora::app
