#include "BmFontTestSupport.h"

#include <gtest/gtest.h>

namespace glyfora::formats {
namespace {

using namespace fnttest;

// Builds binary descriptors field by field, independently of the writer under test.
struct BinaryBuilder {
    std::vector<std::uint8_t> Bytes{'B', 'M', 'F', 3};
    std::vector<std::uint8_t> Block;

    BinaryBuilder& U(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            Block.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
        return *this;
    }
    BinaryBuilder& Str(std::string_view text) {
        Block.insert(Block.end(), text.begin(), text.end());
        Block.push_back(0);
        return *this;
    }
    BinaryBuilder& Raw(std::string_view text) {
        Block.insert(Block.end(), text.begin(), text.end());
        return *this;
    }
    BinaryBuilder& EndBlock(std::uint8_t type) {
        Bytes.push_back(type);
        const auto size = static_cast<std::uint32_t>(Block.size());
        for (int i = 0; i < 4; ++i) {
            Bytes.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
        }
        Bytes.insert(Bytes.end(), Block.begin(), Block.end());
        Block.clear();
        return *this;
    }
    BinaryBuilder& Info(std::uint8_t bits, std::string_view face, std::int16_t size = 16) {
        U(static_cast<std::uint16_t>(size), 2).U(bits, 1).U(0, 1).U(100, 2).U(1, 1);
        U(1, 1).U(2, 1).U(3, 1).U(4, 1).U(5, 1).U(6, 1).U(7, 1);
        return Str(face).EndBlock(1);
    }
    BinaryBuilder& Common(std::uint8_t bits, std::uint16_t pages = 1) {
        U(18, 2).U(14, 2).U(64, 2).U(32, 2).U(pages, 2).U(bits, 1);
        return U(0, 1).U(4, 1).U(4, 1).U(4, 1).EndBlock(2);
    }
    BinaryBuilder& Char(std::uint32_t id, std::uint16_t x, std::int16_t xoffset,
                        std::uint8_t chnl = 15) {
        U(id, 4).U(x, 2).U(2, 2).U(3, 2).U(4, 2);
        return U(static_cast<std::uint16_t>(xoffset), 2).U(6, 2).U(7, 2).U(0, 1).U(chnl, 1);
    }
    BinaryBuilder& Kerning(std::uint32_t first, std::uint32_t second, std::int16_t amount) {
        return U(first, 4).U(second, 4).U(static_cast<std::uint16_t>(amount), 2);
    }
};

BmFont Parse(const std::vector<std::uint8_t>& bytes, std::vector<std::string>& warnings) {
    std::optional<BmFont> font = ParseBmFontBinary(bytes, warnings);
    EXPECT_TRUE(font.has_value());
    return font.value_or(BmFont{});
}

TEST(BmFontBinaryReader, ReadsEveryBlockField) {
    BinaryBuilder b;
    b.Info(0x80 | 0x40 | 0x10, "Deja Vu", -20).Common(0x00);
    b.Str("dv_0.png").EndBlock(3);
    b.Char(65, 9, -2).Char(0xFFFFFFFF, 0, 0).EndBlock(4);
    b.Kerning(65, 70000, -4).EndBlock(5);
    std::vector<std::string> warnings;
    const BmFont font = Parse(b.Bytes, warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(font.Info.Face, "Deja Vu");
    EXPECT_EQ(font.Info.Size, -20);
    EXPECT_TRUE(font.Info.Smooth);
    EXPECT_TRUE(font.Info.Unicode);
    EXPECT_FALSE(font.Info.Italic);
    EXPECT_TRUE(font.Info.Bold);
    EXPECT_EQ(font.Info.Charset, "");
    EXPECT_EQ(font.Info.Padding, (std::array<std::int64_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(font.Info.Spacing, (std::array<std::int64_t, 2>{5, 6}));
    EXPECT_EQ(font.Info.Outline, 7);
    EXPECT_EQ(font.Common.LineHeight, 18);
    EXPECT_EQ(font.Common.Base, 14);
    EXPECT_EQ(font.Common.ScaleW, 64);
    EXPECT_EQ(font.Common.AlphaChnl, 0);
    EXPECT_EQ(font.Common.RedChnl, 4);
    ASSERT_EQ(font.Pages.size(), 1u);
    EXPECT_EQ(font.Pages[0].File, "dv_0.png");
    ASSERT_EQ(font.Chars.size(), 2u);
    EXPECT_EQ(font.Chars[0].Id, 65);
    EXPECT_EQ(font.Chars[0].X, 9);
    EXPECT_EQ(font.Chars[0].XOffset, -2);
    EXPECT_EQ(font.Chars[0].XAdvance, 7);
    EXPECT_EQ(font.Chars[1].Id, -1); // 0xFFFFFFFF is BMFont's substitute glyph
    ASSERT_EQ(font.Kernings.size(), 1u);
    EXPECT_EQ(font.Kernings[0].Second, 70000);
    EXPECT_EQ(font.Kernings[0].Amount, -4);
}

struct FlagCase {
    const char* Name;
    std::uint8_t InfoBits;
    std::uint8_t CommonBits;
    bool Smooth, Unicode, Italic, Bold, Packed;
};

const FlagCase FlagCases[] = {
    {"BmFontAll", 0xF0, 0x01, true, true, true, true, true},
    {"BmFontSmoothUnicode", 0xC0, 0x00, true, true, false, false, false},
    {"BmFontFixedHeightOnly", 0x08 | 0x80, 0x00, true, false, false, false, false},
    {"LowBitsFirstAll", 0x0F, 0x80, true, true, true, true, true},
    {"LowBitsFirstBold", 0x08, 0x00, false, false, false, true, false},
    {"LowBitsFirstSmoothUnicode", 0x03, 0x00, true, true, false, false, false},
    {"None", 0x00, 0x00, false, false, false, false, false},
};

class BmFontBinaryFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(BmFontBinaryFlags, ReadBothBitOrders) {
    const FlagCase& c = GetParam();
    BinaryBuilder b;
    b.Info(c.InfoBits, "f").Common(c.CommonBits);
    std::vector<std::string> warnings;
    const BmFont font = Parse(b.Bytes, warnings);
    EXPECT_EQ(font.Info.Smooth, c.Smooth);
    EXPECT_EQ(font.Info.Unicode, c.Unicode);
    EXPECT_EQ(font.Info.Italic, c.Italic);
    EXPECT_EQ(font.Info.Bold, c.Bold);
    EXPECT_EQ(font.Common.Packed, c.Packed);
}

INSTANTIATE_TEST_SUITE_P(Layouts, BmFontBinaryFlags, ::testing::ValuesIn(FlagCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BmFontBinaryReader, SkipsUnknownBlocksBySize) {
    BinaryBuilder b;
    b.Raw("anything at all").EndBlock(9);
    b.Info(0xC0, "f").Common(0);
    b.U(1, 4).EndBlock(77);
    b.Char(66, 1, 0).EndBlock(4);
    std::vector<std::string> warnings;
    const BmFont font = Parse(b.Bytes, warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(font.Info.Face, "f");
    ASSERT_EQ(font.Chars.size(), 1u);
    EXPECT_EQ(font.Chars[0].Id, 66);
}

TEST(BmFontBinaryReader, BlockPastTheEndStopsWithAWarning) {
    BinaryBuilder b;
    b.Info(0xC0, "f").Common(0);
    b.Char(65, 1, 0).Char(66, 2, 0).EndBlock(4);
    std::vector<std::uint8_t> cut(b.Bytes.begin(), b.Bytes.end() - 5);
    std::vector<std::string> warnings;
    const BmFont font = Parse(cut, warnings);
    EXPECT_TRUE(font.Chars.empty());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("block 4 runs past the end"), std::string::npos);

    cut.resize(4 + 3); // inside the first block header
    warnings.clear();
    (void)Parse(cut, warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("ends inside a block header"), std::string::npos);
}

TEST(BmFontBinaryReader, PageNamesWithoutTerminatorsAreSplitByTheCount) {
    BinaryBuilder b;
    b.Common(0, 2).Raw("pg_0.pngpg_1.png").EndBlock(3);
    std::vector<std::string> warnings;
    const BmFont font = Parse(b.Bytes, warnings);
    ASSERT_EQ(font.Pages.size(), 2u);
    EXPECT_EQ(font.Pages[1].Id, 1);
    EXPECT_EQ(font.Pages[1].File, "pg_1.png");
}

TEST(BmFontBinaryReader, OnlyVersionThree) {
    std::vector<std::string> warnings;
    EXPECT_FALSE(ParseBmFontBinary(Bytes(std::string_view("BMF\x02", 4)), warnings));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "binary version 2 is not supported (only version 3)");
    EXPECT_EQ(DetectBmFontVariant(Bytes(std::string_view("BMF\x02", 4))), BmFontVariant::Binary);
    EXPECT_EQ(DetectBmFontVariant(Bytes("BMF")), std::nullopt);
}

TEST(BmFontBinaryWriter, MatchesAHandBuiltFile) {
    BmFont font;
    font.Info.Face = "Deja Vu";
    font.Info.Size = -20;
    font.Info.Bold = true;
    font.Info.Padding = {1, 2, 3, 4};
    font.Info.Spacing = {5, 6};
    font.Info.Outline = 7;
    font.Common = {18, 14, 64, 32, 1, false, 0, 4, 4, 4};
    font.Pages = {{0, "dv_0.png"}};
    font.Chars = {{65, 9, 2, 3, 4, -2, 6, 7, 0, 15}};
    font.Kernings = {{65, 86, -4}};
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontBinary(font);
    ASSERT_EQ(encoded.Error, "");

    BinaryBuilder b;
    b.Info(0x80 | 0x40 | 0x10, "Deja Vu", -20).Common(0x00);
    b.Str("dv_0.png").EndBlock(3);
    b.Char(65, 9, -2).EndBlock(4);
    b.Kerning(65, 86, -4).EndBlock(5);
    EXPECT_EQ(BytesOf(encoded), b.Bytes);
}

TEST(BmFontBinaryWriter, NoKerningBlockWithoutPairs) {
    BmFont font;
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontBinary(font);
    ASSERT_EQ(encoded.Error, "");
    std::vector<std::string> warnings;
    const BmFont again = Parse(BytesOf(encoded), warnings);
    EXPECT_TRUE(again.Kernings.empty());
    // info (5 + 15), common (5 + 15), pages (5), chars (5), nothing else.
    EXPECT_EQ(BytesOf(encoded).size(), 4u + 20 + 20 + 5 + 5);
}

TEST(BmFontBinaryWriter, RefusesPageNamesOfDifferentLengths) {
    BmFont font;
    font.Common.Pages = 2;
    font.Pages = {{0, "a_0.png"}, {1, "long_1.png"}};
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontBinary(font);
    EXPECT_TRUE(BytesOf(encoded).empty());
    EXPECT_EQ(encoded.Error, "the page names \"a_0.png\" and \"long_1.png\" differ in length, "
                             "which the binary variant cannot store");
}

TEST(BmFontBinaryWriter, RefusesPositionsBeyondSixteenBitsWithAFittingWidth) {
    // 700 cells of 10 x 1000, ten to a row: the last rows start beyond 65535. Eleven to a row (110
    // pixels) need 64 rows, the last starting at 63000.
    BmFont font;
    for (std::int64_t i = 0; i < 700; ++i) {
        font.Chars.push_back({i, (i % 10) * 10, (i / 10) * 1000, 10, 1000, 0, 0, 10, 0, 15});
    }
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontBinary(font);
    EXPECT_TRUE(BytesOf(encoded).empty());
    EXPECT_EQ(encoded.Error, "character 660: y 66000 does not fit the binary variant (0..65535); "
                             "packed into a picture 110 pixels wide, every cell would fit");
}

TEST(BmFontBinaryWriter, WritesTheSubstituteGlyphAsAllOnes) {
    BmFont font;
    font.Chars = {{-1, 0, 0, 1, 1, 0, 0, 1, 0, 15}};
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontBinary(font);
    ASSERT_EQ(encoded.Error, "");
    std::vector<std::string> warnings;
    EXPECT_EQ(Parse(BytesOf(encoded), warnings).Chars.at(0).Id, -1);
}

} // namespace
} // namespace glyfora::formats
