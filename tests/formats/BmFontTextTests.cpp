#include "BmFontTestSupport.h"

#include <gtest/gtest.h>

namespace glyfora::formats {
namespace {

using namespace fnttest;

BmFont ParseText(std::string_view text, std::vector<std::string>* warningsOut = nullptr) {
    std::vector<std::string> warnings;
    std::optional<BmFont> font = ParseBmFontText(Bytes(text), warnings);
    EXPECT_TRUE(font.has_value()) << text;
    if (warningsOut != nullptr) {
        *warningsOut = warnings;
    }
    return font.value_or(BmFont{});
}

// As BMFont writes it: padded columns, CRLF line ends, quoted names with blanks.
constexpr std::string_view BmFontStyle =
    "info face=\"Times New Roman\" size=-32 bold=1 italic=0 charset=\"\" unicode=1 stretchH=100 "
    "smooth=1 aa=1 padding=1,2,3,4 spacing=1,1 outline=0\r\n"
    "common lineHeight=37 base=29 scaleW=256 scaleH=128 pages=1 packed=0 alphaChnl=1 redChnl=0 "
    "greenChnl=0 blueChnl=0\r\n"
    "page id=0 file=\"times_0.png\"\r\n"
    "chars count=2\r\n"
    "char id=32   x=254   y=0     width=3     height=1     xoffset=-1    yoffset=36    "
    "xadvance=8     page=0  chnl=15\r\n"
    "char id=65   x=0     y=40    width=24    height=22    xoffset=-1    yoffset=7     "
    "xadvance=23    page=0  chnl=15\r\n"
    "kernings count=1\r\n"
    "kerning first=65  second=86  amount=-3  \r\n";

TEST(BmFontTextDialects, ReadsBmFontPaddedColumnsWithCrlf) {
    const BmFont font = ParseText(BmFontStyle);
    EXPECT_EQ(font.Info.Face, "Times New Roman");
    EXPECT_EQ(font.Info.Size, -32);
    EXPECT_TRUE(font.Info.Bold);
    EXPECT_EQ(font.Info.Padding, (std::array<std::int64_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(font.Common.LineHeight, 37);
    EXPECT_EQ(font.Common.Base, 29);
    EXPECT_EQ(font.Common.AlphaChnl, 1);
    ASSERT_EQ(font.Pages.size(), 1u);
    EXPECT_EQ(font.Pages[0].File, "times_0.png");
    ASSERT_EQ(font.Chars.size(), 2u);
    const BmFontChar& a = font.Chars[1];
    EXPECT_EQ(a.Id, 65);
    EXPECT_EQ(a.Y, 40);
    EXPECT_EQ(a.Width, 24);
    EXPECT_EQ(a.XOffset, -1);
    EXPECT_EQ(a.XAdvance, 23);
    EXPECT_EQ(a.Chnl, 15);
    ASSERT_EQ(font.Kernings.size(), 1u);
    EXPECT_EQ(font.Kernings[0].Amount, -3);
}

TEST(BmFontTextDialects, AnyKeyOrderTabsAndUnknownTagsAndKeys) {
    std::vector<std::string> warnings;
    const BmFont font = ParseText("common\tbase=5  lineHeight=9\n"
                                  "distanceField fieldType=\"msdf\" distanceRange=4\n"
                                  "metrics ascent=30 descent=8\n"
                                  "char  chnl=8\tpage=0 xadvance=7 id=66 letter=\"B\" sdf=1 x=3\n",
                                  &warnings);
    EXPECT_EQ(font.Common.LineHeight, 9);
    EXPECT_EQ(font.Common.Base, 5);
    ASSERT_EQ(font.Chars.size(), 1u);
    EXPECT_EQ(font.Chars[0].Id, 66);
    EXPECT_EQ(font.Chars[0].X, 3);
    EXPECT_EQ(font.Chars[0].XAdvance, 7);
    EXPECT_EQ(font.Chars[0].Chnl, 8);
    EXPECT_EQ(font.DistanceField, (document::DistanceField{"msdf", 4}));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "ignored 1 line with an unknown tag");
}

TEST(BmFontTextDialects, MissingKeysKeepTheirDefaults) {
    const BmFont font = ParseText("info face=\"x\"\ncommon lineHeight=3\n"
                                  "char id=65 x=1 y=2 width=3 height=4 xadvance=5\n");
    EXPECT_EQ(font.Info.Outline, 0);
    EXPECT_EQ(font.Info.StretchH, 100);
    ASSERT_EQ(font.Chars.size(), 1u);
    EXPECT_EQ(font.Chars[0].Page, 0);
    EXPECT_EQ(font.Chars[0].Chnl, 15);
    EXPECT_EQ(font.Chars[0].XOffset, 0);
}

TEST(BmFontTextDialects, QuotedValuesKeepBlanksEqualsAndCommas) {
    const BmFont font = ParseText("info face=\"A = B, C\" charset=\"ANSI\"\n"
                                  "page id=0 file=\"my pages/font 0.png\"\n"
                                  "char id=61 letter=\"=\" x=4\n"
                                  "char id=34 letter=\"\"\" x=5\n");
    EXPECT_EQ(font.Info.Face, "A = B, C");
    EXPECT_EQ(font.Info.Charset, "ANSI");
    EXPECT_EQ(font.Pages.at(0).File, "my pages/font 0.png");
    ASSERT_EQ(font.Chars.size(), 2u);
    EXPECT_EQ(font.Chars[0].X, 4);
    EXPECT_EQ(font.Chars[1].X, 5);
}

TEST(BmFontTextDialects, UnterminatedQuoteRunsToTheLineEnd) {
    const BmFont font = ParseText("info face=\"Broken size=12\ncommon lineHeight=4\n");
    EXPECT_EQ(font.Info.Face, "Broken size=12");
    EXPECT_EQ(font.Info.Size, 0);
    EXPECT_EQ(font.Common.LineHeight, 4);
}

TEST(BmFontTextDialects, WithoutInfoOrCommonItIsNotAFont) {
    std::vector<std::string> warnings;
    EXPECT_FALSE(ParseBmFontText(Bytes("char id=65\nkerning first=1\n"), warnings).has_value());
    EXPECT_FALSE(ParseBmFontText(Bytes(""), warnings).has_value());
}

TEST(BmFontTextDetection, ByTheFirstLine) {
    const std::pair<std::string_view, bool> cases[] = {
        {"info face=\"x\"\n", true},
        {"common lineHeight=3\r\n", true},
        {"\xEF\xBB\xBFinfo size=3\n", true},
        {"\n  info size=3\n", true},
        {"info", true},
        {"information=1\n", false},
        {"commonly\n", false},
        {"char id=1\ninfo\n", false},
        {"<font><common/><chars/></font>", false},
    };
    for (const auto& [text, isText] : cases) {
        const std::optional<BmFontVariant> variant = DetectBmFontVariant(Bytes(text));
        EXPECT_EQ(variant == BmFontVariant::Text, isText) << text;
    }
}

TEST(BmFontTextWriter, WritesOneRecordPerLineInBmFontOrder) {
    BmFont font;
    font.Info.Face = "Mono";
    font.Info.Size = 12;
    font.Info.Padding = {1, 0, 1, 0};
    font.Common = {14, 11, 64, 32, 1, false, 0, 4, 4, 4};
    font.Pages = {{0, "mono_0.png"}};
    font.Chars = {{65, 1, 2, 3, 4, -5, 6, 7, 0, 15}};
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontText(font);
    ASSERT_EQ(encoded.Error, "");
    EXPECT_EQ(Text(BytesOf(encoded)),
              "info face=\"Mono\" size=12 bold=0 italic=0 charset=\"\" unicode=1 stretchH=100 "
              "smooth=1 aa=1 padding=1,0,1,0 spacing=0,0 outline=0\n"
              "common lineHeight=14 base=11 scaleW=64 scaleH=32 pages=1 packed=0 alphaChnl=0 "
              "redChnl=4 greenChnl=4 blueChnl=4\n"
              "page id=0 file=\"mono_0.png\"\n"
              "chars count=1\n"
              "char id=65 x=1 y=2 width=3 height=4 xoffset=-5 yoffset=6 xadvance=7 page=0 "
              "chnl=15\n");
}

TEST(BmFontTextWriter, ReadsBackWhatItWrites) {
    const BmFont original = ParseText(BmFontStyle);
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontText(original);
    ASSERT_EQ(encoded.Error, "");
    const BmFont again = ParseText(Text(BytesOf(encoded)));
    EXPECT_EQ(Text(BytesOf(EncodeBmFontText(again))), Text(BytesOf(encoded)));
}

} // namespace
} // namespace glyfora::formats
