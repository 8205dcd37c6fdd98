#include "ScratchFolder.h"
#include "base/FileReading.h"
#include "cli/Commands.h"
#include "formats/PngCodec.h"
#include "formats/TypefaceIo.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Background = 0xFF404040U;
constexpr std::uint32_t White = 0xFFFFFFFFU;

// A folder of its own per test, removed afterwards.
class RenderCommand : public testing::Test {
protected:
    void SetUp() override {
        typefacePath_ = folder_.File("Letters.tf");
        outputPath_ = folder_.File("out.png");
    }

    // Two letters, A and V: opaque white 4 × 6 cells, advance 5, drawn 1 below the pen, a pair
    // (A, V) of -2 and a space of line height 9.
    void WriteTypeface(bool withPair = true) {
        document::TypefaceRegistry registry;
        document::Typeface& typeface = *document::CreateTypeface(registry, 1);
        document::SetCharacterSetImage(typeface, document::MakeImage(8, 6, White));
        document::Character& a = document::AddCharacter(typeface, u'A');
        a.Outlay = {0, 1, 5, 9};
        a.Source = {0, 0, 4, 6};
        document::Character& v = document::AddCharacter(typeface, u'V');
        v.Outlay = {0, 1, 5, 9};
        v.Source = {4, 0, 4, 6};
        document::Character& space = document::AddCharacter(typeface, u' ');
        space.Outlay = {0, 0, 5, 9};
        if (withPair) {
            document::AddKerningPair(typeface, u'A', u'V', -2);
        }
        ASSERT_TRUE(
            formats::SaveTypeface(registry, 1, typefacePath_, formats::FileFormatId::Tf).Ok());
    }

    std::optional<document::Image> Output() const {
        const base::Result<std::vector<std::uint8_t>> bytes = base::ReadWholeFile(outputPath_);
        if (!bytes) {
            return std::nullopt;
        }
        return formats::DecodePng(*bytes.Value).Value;
    }

    // The columns of row y that are not background.
    static std::string Row(const document::Image& image, std::int64_t y) {
        std::string row;
        for (std::int64_t x = 0; x < image.Width; ++x) {
            row += image.At(x, y) == Background ? '.' : image.At(x, y) == White ? '#' : '?';
        }
        return row;
    }

    testsupport::ScratchFolder folder_;
    std::string typefacePath_;
    std::string outputPath_;
};

TEST_F(RenderCommand, DrawsAtTheDefaultOriginOnADefaultSizedBackground) {
    WriteTypeface();
    ASSERT_EQ(RunRenderCommand({typefacePath_, "--text", "AV", "-o", outputPath_}), 0);
    const auto image = Output();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width, 800);
    EXPECT_EQ(image->Height, 100);
    // Pen at 10, V kerned to 13; cells start one row below the pen at y 11.
    EXPECT_EQ(Row(*image, 11).substr(0, 20), "..........#######...");
    EXPECT_EQ(Row(*image, 10).substr(0, 20), std::string(20, '.'));
    EXPECT_EQ(Row(*image, 16).substr(0, 20), "..........#######...");
    EXPECT_EQ(Row(*image, 17).substr(0, 20), std::string(20, '.'));
}

TEST_F(RenderCommand, OptionsMoveScaleSizeAndUnkern) {
    struct Case {
        std::vector<std::string> Options;
        std::int64_t Width, Height;
        std::int64_t RowY;
        std::string Row; // the first 24 columns of row RowY
    };
    const std::vector<Case> cases = {
        {{"--kerning", "off"}, 800, 100, 11, "..........####.####....."},
        {{"--kerning", "on"}, 800, 100, 11, "..........#######......."},
        {{"--x", "2", "--y", "0", "--width", "24", "--height", "8"},
         24,
         8,
         1,
         "..#######..............."},
        {{"--x", "2.6", "--y", "0", "--width", "24", "--height", "8"},
         24,
         8,
         1,
         "...#######.............."},
        {{"--scale", "2", "--x", "0", "--y", "0", "--width", "24", "--height", "20"},
         24,
         20,
         13,
         "##############.........."},
        {{"--scale", "2", "--x", "0", "--y", "0", "--width", "24", "--height", "20"},
         24,
         20,
         14,
         "........................"},
    };
    WriteTypeface();
    for (const Case& test : cases) {
        std::vector<std::string> args{typefacePath_, "--text", "AV", "-o", outputPath_};
        args.insert(args.end(), test.Options.begin(), test.Options.end());
        ASSERT_EQ(RunRenderCommand(args), 0) << test.Options.front();
        const auto image = Output();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Width, test.Width);
        EXPECT_EQ(image->Height, test.Height);
        EXPECT_EQ(Row(*image, test.RowY).substr(0, 24), test.Row) << test.Options.front();
    }
}

TEST_F(RenderCommand, AlignmentWrappingAndKerningSwitchReachTheRenderer) {
    struct Case {
        std::vector<std::string> Options;
        std::string Text;
        std::int64_t RowY;
        std::string Row; // row RowY of a 24 × 20 picture, origin y 0
    };
    const std::vector<Case> cases = {
        {{"--no-kerning", "--x", "0"}, "AV", 1, "####.####..............."},
        {{"--kerning", "on", "--x", "0"}, "AV", 1, "#######................."},
        // The block of width 8 centred on the picture's middle (12), or ending 10 before its
        // right edge.
        {{"--align", "center"}, "AV", 1, "........#######........."},
        {{"--align", "right"}, "AV", 1, "......#######..........."},
        {{"--align", "right", "--x", "20"}, "AV", 1, "............#######....."},
        {{"--align", "left"}, "AV", 1, "..........#######......."},
        // Wrapped after the space: V goes to the next line, 9 lower.
        {{"--wrap-width", "6", "--x", "0"}, "A V", 1, "####...................."},
        {{"--wrap-width", "6", "--x", "0"}, "A V", 10, "####...................."},
        {{"--wrap-width", "0", "--x", "0"}, "A V", 1, "####......####.........."},
        {{"--wrap-width", "11", "--x", "0"}, "A V", 10, "####...................."},
        {{"--wrap-width", "15", "--x", "0"}, "A V", 1, "####......####.........."},
    };
    WriteTypeface();
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.Options));
        std::vector<std::string> args{typefacePath_, "--text",   test.Text, "-o",
                                      outputPath_,   "--y",      "0",       "--width",
                                      "24",          "--height", "20"};
        args.insert(args.end(), test.Options.begin(), test.Options.end());
        ASSERT_EQ(RunRenderCommand(args), 0);
        const auto image = Output();
        ASSERT_TRUE(image);
        EXPECT_EQ(Row(*image, test.RowY), test.Row);
    }
}

TEST_F(RenderCommand, TintReplacesTheColourAndItsAlphaTheOpacity) {
    const struct {
        const char* Tint;
        std::uint32_t Pixel; // over the background 0x404040
    } cases[] = {
        {"FF0000", 0xFF0000FFU},   {"#00FF00", 0xFF00FF00U}, {"0000ff", 0xFFFF0000U},
        {"FF000080", 0xFF2020A0U}, // red at 128: 255 × 128 + 64 × 127 over 255 = 160
        {"FFFFFF00", Background},
    };
    WriteTypeface();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Tint);
        ASSERT_EQ(
            RunRenderCommand({typefacePath_, "--text", "A", "-o", outputPath_, "--tint", c.Tint,
                              "--x", "0", "--y", "0", "--width", "8", "--height", "8"}),
            0);
        const auto image = Output();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->At(0, 1), c.Pixel);
        EXPECT_EQ(image->At(5, 1), Background);
    }
}

TEST_F(RenderCommand, TextIsUtf8WithLineFeeds) {
    WriteTypeface(false);
    ASSERT_EQ(RunRenderCommand({typefacePath_, "--text", "A\nV\xC3\xA4V", "-o", outputPath_, "--x",
                                "0", "--y", "0", "--width", "12", "--height", "20"}),
              0);
    const auto image = Output();
    ASSERT_TRUE(image);
    EXPECT_EQ(Row(*image, 1), "####........");
    EXPECT_EQ(Row(*image, 10), "####.####..."); // the missing character takes no room
}

TEST_F(RenderCommand, RefusesBadArgumentsAsUsageErrors) {
    WriteTypeface();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {typefacePath_, "-o", outputPath_},
        {typefacePath_, "--text", "A"},
        {"--text", "A", "-o", outputPath_},
        {typefacePath_, typefacePath_, "--text", "A", "-o", outputPath_},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--width", "0"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--height", "12px"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--width", "100000", "--height",
         "100000"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--scale", "nan"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--x", "inf"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--kerning", "maybe"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--colour", "red"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--scale", "0"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--scale", "-2"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--tint", "red"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--tint", "FF00"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--tint", "FF00000"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--tint", "0xFF0000"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--tint", "GG0000"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--align", "middle"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--align", "Center"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--wrap-width", "-1"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--wrap-width", "wide"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--no-kerning", "off"},
        {typefacePath_, "--text", "A", "-o", outputPath_, "--tint"},
        {typefacePath_, "--text", "\xC3", "-o", outputPath_},
        {typefacePath_, "--text", "\xED\xA0\x80", "-o", outputPath_},
        {typefacePath_, "--text", "A", "-o"},
    };
    for (const auto& args : cases) {
        EXPECT_EQ(RunRenderCommand(args), 2) << testing::PrintToString(args);
    }
    EXPECT_FALSE(fs::exists(outputPath_));
    EXPECT_EQ(RunRenderCommand({"--help"}), 0);
}

TEST_F(RenderCommand, ReportsUnreadableInputAndUnwritableOutput) {
    WriteTypeface();
    const std::string missing = folder_.File("missing.tf");
    EXPECT_EQ(RunRenderCommand({missing, "--text", "A", "-o", outputPath_}), 1);
    EXPECT_EQ(
        RunRenderCommand({typefacePath_, "--text", "A", "-o", folder_.File("no/such/out.png")}), 1);
    EXPECT_FALSE(fs::exists(outputPath_));
}

} // namespace
} // namespace glyfora::cli
