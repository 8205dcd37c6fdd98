#include "BmFontTestSupport.h"

#include <gtest/gtest.h>

namespace glyfora::formats {
namespace {

using namespace fnttest;

constexpr std::string_view BmFontStyleXml = R"(<?xml version="1.0"?>
<font>
  <info face="Arial" size="32" bold="0" italic="1" charset="" unicode="1" stretchH="100" smooth="1" aa="1" padding="0,0,0,0" spacing="1,1" outline="0"/>
  <common lineHeight="32" base="26" scaleW="256" scaleH="256" pages="1" packed="0" alphaChnl="1" redChnl="0" greenChnl="0" blueChnl="0"/>
  <pages>
    <page id="0" file="arial_0.png" />
  </pages>
  <chars count="2">
    <char id="32" x="0" y="0" width="0" height="0" xoffset="0" yoffset="26" xadvance="8" page="0" chnl="15" />
    <char id="65" x="10" y="20" width="19" height="21" xoffset="-1" yoffset="5" xadvance="18" page="0" chnl="15" />
  </chars>
  <kernings count="0">
  </kernings>
</font>
)";

std::optional<BmFont> ParseXml(std::string_view text, std::vector<std::string>& warnings) {
    return ParseBmFontXml(Bytes(text), warnings);
}

TEST(BmFontXmlDialects, ReadsBmFontOutputWithEmptyKernings) {
    std::vector<std::string> warnings;
    const std::optional<BmFont> font = ParseXml(BmFontStyleXml, warnings);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(font->Info.Face, "Arial");
    EXPECT_TRUE(font->Info.Italic);
    EXPECT_EQ(font->Info.Spacing, (std::array<std::int64_t, 2>{1, 1}));
    EXPECT_EQ(font->Common.Base, 26);
    ASSERT_EQ(font->Pages.size(), 1u);
    EXPECT_EQ(font->Pages[0].File, "arial_0.png");
    ASSERT_EQ(font->Chars.size(), 2u);
    EXPECT_EQ(font->Chars[1].X, 10);
    EXPECT_EQ(font->Chars[1].XOffset, -1);
    EXPECT_TRUE(font->Kernings.empty());
}

TEST(BmFontXmlDialects, ReadsUnescapedAmpersandsAndLessThan) {
    std::vector<std::string> warnings;
    const std::optional<BmFont> font =
        ParseXml("<font><info face=\"Fish & Chips <Bold> &amp; more\"/>"
                 "<common lineHeight=\"4\"/><pages><page id=\"0\" file=\"R&D.png\"/></pages>"
                 "<!-- note: it's fine & good -->"
                 "<chars count=\"1\"><char id=\"38\" x=\"2\"/></chars></font>",
                 warnings);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->Info.Face, "Fish & Chips <Bold> & more");
    EXPECT_EQ(font->Pages.at(0).File, "R&D.png");
    ASSERT_EQ(font->Chars.size(), 1u);
    EXPECT_EQ(font->Chars[0].X, 2);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("unescaped"), std::string::npos);
}

TEST(BmFontXmlDialects, BrokenDocumentKeepsWhatCameBefore) {
    std::vector<std::string> warnings;
    const std::optional<BmFont> font = ParseXml(
        "<font><common lineHeight=\"4\"/><chars><char id=\"65\"/><char id=\"66\" x=", warnings);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->Common.LineHeight, 4);
    EXPECT_EQ(font->Chars.size(), 1u);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("not well-formed (line 1"), std::string::npos) << warnings[0];
}

TEST(BmFontXmlDialects, OtherRootIsNotAFont) {
    std::vector<std::string> warnings;
    EXPECT_FALSE(ParseXml("<Typeface Image=\"a.png\"><common/><chars/></Typeface>", warnings));
    EXPECT_FALSE(ParseXml("", warnings));
}

TEST(BmFontXmlDetection, NeedsAFontRootWithCommonAndChars) {
    const std::pair<std::string_view, bool> cases[] = {
        {BmFontStyleXml, true},
        {"\xEF\xBB\xBF<font>\n<common/><chars/></font>", true},
        {"<!-- made by hand --><!DOCTYPE font><font ><common/><chars/></font>", true},
        {"<!DOCTYPE font [\n<!ENTITY face \"Sans\">\n<!ATTLIST info face CDATA '>'>\n]>"
         "<font><info face=\"&face;\"/><common/><chars/></font>",
         true},
        {"<!DOCTYPE font [<!-- a \"quoted\" ] > -->]><font><common/><chars/></font>", true},
        {"<!DOCTYPE font [<!ENTITY x \"y\"><font><common/><chars/></font>", false}, // unclosed
        {"<font><info/></font>", false},
        {"<fonts><common/><chars/></fonts>", false},
        {"<Typeface Image=\"x.png\"><Character Index=\"65\"/></Typeface>", false},
        {"<?xml version=\"1.0\"?><root><font><common/><chars/></font></root>", false},
    };
    for (const auto& [text, isXml] : cases) {
        EXPECT_EQ(DetectBmFontVariant(Bytes(text)) == BmFontVariant::Xml, isXml) << text;
    }
}

TEST(BmFontXmlWriter, NestsSectionsAndEscapesValues) {
    BmFont font;
    font.Info.Face = "A&B <\"C\">";
    font.Common.Pages = 1;
    font.Pages = {{0, "x_0.png"}};
    font.Chars = {{65, 1, 2, 3, 4, 5, 6, 7, 0, 15}};
    font.Kernings = {{65, 66, -1}};
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontXml(font);
    ASSERT_EQ(encoded.Error, "");
    const std::string text = Text(BytesOf(encoded));
    EXPECT_NE(text.find("<info face=\"A&amp;B &lt;&quot;C&quot;&gt;\" size=\"0\""),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  <pages>\n    <page id=\"0\" file=\"x_0.png\"/>\n  </pages>\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  <chars count=\"1\">\n    <char id=\"65\" x=\"1\" y=\"2\" width=\"3\" "
                        "height=\"4\" xoffset=\"5\" yoffset=\"6\" xadvance=\"7\" page=\"0\" "
                        "chnl=\"15\"/>\n  </chars>\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  <kernings count=\"1\">\n    <kerning first=\"65\" second=\"66\" "
                        "amount=\"-1\"/>\n  </kernings>\n</font>\n"),
              std::string::npos)
        << text;

    std::vector<std::string> warnings;
    const std::optional<BmFont> again = ParseBmFontXml(BytesOf(encoded), warnings);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(again->Info.Face, font.Info.Face);
    EXPECT_EQ(BytesOf(EncodeBmFontXml(*again)), BytesOf(encoded));
}

TEST(BmFontXmlWriter, EmptyFontStillHasPagesAndChars) {
    BmFont font;
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeBmFontXml(font);
    ASSERT_EQ(encoded.Error, "");
    EXPECT_EQ(DetectBmFontVariant(BytesOf(encoded)), BmFontVariant::Xml);
    EXPECT_NE(Text(BytesOf(encoded)).find("  <pages>\n  </pages>\n  <chars count=\"0\">"),
              std::string::npos);
}

} // namespace
} // namespace glyfora::formats
