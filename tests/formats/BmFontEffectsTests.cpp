// The fields that describe what the picture holds: the outline width, the channel fields and the
// distance field, written from the typeface's recorded effects and kept when read back.

#include "BmFontTestSupport.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>

namespace glyfora::formats {
namespace {

using namespace fnttest;

struct EffectCase {
    const char* Name;
    document::Properties Recorded;
    const char* Info;     // the end of the text variant's info line
    const char* Channels; // the end of its common line
    const char* DistanceFieldLine;
    const char* XmlDistanceField;
};

const EffectCase EffectCases[] = {
    {"plain", {}, "outline=0\n", "alphaChnl=0 redChnl=4 greenChnl=4 blueChnl=4\n", "", ""},
    {"black outline",
     {{"Outline", "2"}, {"OutlineColour", "#000000FF"}, {"Ink", "outlined"}},
     "outline=2\n",
     "alphaChnl=1 redChnl=0 greenChnl=0 blueChnl=0\n",
     "",
     ""},
    {"fractional outline rounds",
     {{"Outline", "1.5"}, {"OutlineColour", "#000000FF"}, {"Ink", "outlined"}},
     "outline=2\n",
     "alphaChnl=1 redChnl=0 greenChnl=0 blueChnl=0\n",
     "",
     ""},
    {"coloured outline",
     {{"Outline", "3"}, {"OutlineColour", "#FF8000FF"}, {"Ink", "colour"}},
     "outline=3\n",
     "alphaChnl=0 redChnl=0 greenChnl=0 blueChnl=0\n",
     "",
     ""},
    {"shadow",
     {{"Shadow", "2,2,3"}, {"ShadowColour", "#00000099"}, {"Ink", "colour"}},
     "outline=0\n",
     "alphaChnl=0 redChnl=0 greenChnl=0 blueChnl=0\n",
     "",
     ""},
    {"distance field",
     {{"DistanceField", "sdf"}, {"DistanceRange", "8"}, {"Ink", "sdf"}},
     "outline=0\n",
     "alphaChnl=0 redChnl=0 greenChnl=0 blueChnl=0\n",
     "distanceField fieldType=\"sdf\" distanceRange=8\n",
     "  <distanceField fieldType=\"sdf\" distanceRange=\"8\"/>\n"},
};

class BmFontEffects : public ::testing::TestWithParam<EffectCase> {};

document::Typeface& MakeEffectTypeface(document::TypefaceRegistry& registry,
                                       const document::Properties& recorded) {
    document::Typeface& typeface = MakeSampleTypeface(registry);
    for (const auto& [key, value] : recorded) {
        typeface.Content.Properties[key] = value;
    }
    return typeface;
}

TEST_P(BmFontEffects, TextVariantDescribesThePicture) {
    const EffectCase& c = GetParam();
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = MakeEffectTypeface(registry, c.Recorded);
    ASSERT_TRUE(WriteBmFont(typeface, scratch.File("e.fnt"), BmFontVariant::Text).Ok());
    const std::string text = Text(ReadBytes(scratch.File("e.fnt")));
    EXPECT_NE(text.find(std::string(" spacing=0,0 ") + c.Info), std::string::npos) << text;
    EXPECT_NE(text.find(std::string(" packed=0 ") + c.Channels), std::string::npos) << text;
    // The distance field follows the pages and comes before the characters.
    EXPECT_NE(text.find(std::string("page id=0 file=\"e_0.png\"\n") + c.DistanceFieldLine +
                        "chars count="),
              std::string::npos)
        << text;
}

TEST_P(BmFontEffects, XmlVariantDescribesThePicture) {
    const EffectCase& c = GetParam();
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = MakeEffectTypeface(registry, c.Recorded);
    ASSERT_TRUE(WriteBmFont(typeface, scratch.File("e.fnt"), BmFontVariant::Xml).Ok());
    const std::string xml = Text(ReadBytes(scratch.File("e.fnt")));
    const std::string info(c.Info);
    EXPECT_NE(xml.find(" outline=\"" + info.substr(8, info.size() - 9) + "\"/>"), std::string::npos)
        << xml;
    EXPECT_NE(xml.find(std::string("  </pages>\n") + c.XmlDistanceField + "  <chars count="),
              std::string::npos)
        << xml;
}

TEST_P(BmFontEffects, EveryVariantReadsItsFieldsBackAndWritesThemAgain) {
    const EffectCase& c = GetParam();
    for (const BmFontVariant variant :
         {BmFontVariant::Text, BmFontVariant::Xml, BmFontVariant::Binary}) {
        SCOPED_TRACE(static_cast<int>(variant));
        ScratchFolder scratch;
        document::TypefaceRegistry registry;
        const document::Typeface& typeface = MakeEffectTypeface(registry, c.Recorded);
        ASSERT_TRUE(WriteBmFont(typeface, scratch.File("e.fnt"), variant).Ok());
        const std::vector<std::uint8_t> first = ReadBytes(scratch.File("e.fnt"));
        LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), first);
        ASSERT_EQ(loaded.Error, "");
        const auto& properties = loaded.Font->Content.Properties;
        const bool keepsField = variant != BmFontVariant::Binary && *c.DistanceFieldLine != 0;
        EXPECT_EQ(properties.count("DistanceField"), keepsField ? 1u : 0u);
        if (keepsField) {
            EXPECT_EQ(properties.at("DistanceField"), c.Recorded.at("DistanceField"));
            EXPECT_EQ(properties.at("DistanceRange"), c.Recorded.at("DistanceRange"));
        }
        const std::string info(c.Info);
        EXPECT_EQ(properties.at("Outline"), info.substr(8, info.size() - 9));
        ASSERT_TRUE(WriteBmFont(*loaded.Font, scratch.File("e.fnt"), variant).Ok());
        EXPECT_EQ(ReadBytes(scratch.File("e.fnt")), first);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BmFontEffects, ::testing::ValuesIn(EffectCases),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST(BmFontEffects, AColourImageWithoutRecordedInkMakesEveryChannelPartOfThePicture) {
    const struct {
        const char* Name;
        std::uint32_t Pixel;
        const char* Channels;
    } cases[] = {
        {"white glyph pixel", document::WhiteWithAlpha(40),
         "alphaChnl=0 redChnl=4 greenChnl=4 blueChnl=4\n"},
        {"red icon pixel", 0xFF0000FFU, "alphaChnl=0 redChnl=0 greenChnl=0 blueChnl=0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ScratchFolder scratch;
        document::TypefaceRegistry registry;
        document::Typeface& typeface = MakeEffectTypeface(registry, {});
        document::Image picture = *typeface.Content.Image;
        picture.At(1, 1) = c.Pixel;
        document::SetCharacterSetImage(typeface, std::move(picture));
        ASSERT_TRUE(WriteBmFont(typeface, scratch.File("e.fnt"), BmFontVariant::Text).Ok());
        const std::string text = Text(ReadBytes(scratch.File("e.fnt")));
        EXPECT_NE(text.find(std::string(" packed=0 ") + c.Channels), std::string::npos) << text;
    }
}

TEST(BmFontEffects, TheBinaryVariantSaysItCannotHoldADistanceField) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = MakeEffectTypeface(
        registry, {{"DistanceField", "sdf"}, {"DistanceRange", "8"}, {"Ink", "sdf"}});
    const base::Result<base::Done> saved =
        WriteBmFont(typeface, scratch.File("e.fnt"), BmFontVariant::Binary);
    ASSERT_TRUE(saved.Ok()) << saved.Error;
    EXPECT_NE(JoinWarnings(saved.Warnings)
                  .find("binary variant has no place for the distance "
                        "field (sdf, range 8)"),
              std::string::npos)
        << JoinWarnings(saved.Warnings);
    const std::vector<std::uint8_t> bytes = ReadBytes(scratch.File("e.fnt"));
    // Block 2 (common) starts after the 4-byte header and block 1; its last four bytes are the
    // channel fields.
    const std::size_t infoSize = bytes[5] | (bytes[6] << 8);
    const std::size_t common = 4 + 5 + infoSize + 5;
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + common + 11, bytes.begin() + common + 15),
              (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(BmFontEffects, DescriptorsOfOtherGeneratorsKeepTheirDistanceField) {
    const struct {
        const char* Name;
        const char* Descriptor;
        std::optional<document::DistanceField> Kept = document::DistanceField{"msdf", 4};
    } cases[] = {
        {"text, unquoted", "info face=\"F\" size=32\ncommon lineHeight=40 base=30 pages=1\n"
                           "page id=0 file=\"f_0.png\"\n"
                           "distanceField fieldType=msdf distanceRange=4\nchars count=0\n"},
        {"text, quoted", "info face=\"F\" size=32\ncommon lineHeight=40 base=30 pages=1\n"
                         "page id=0 file=\"f_0.png\"\n"
                         "distanceField fieldType=\"msdf\" distanceRange=\"4\"\nchars count=0\n"},
        {"xml",
         "<?xml version=\"1.0\"?>\n<font><info face=\"F\" size=\"32\"/>"
         "<common lineHeight=\"40\" base=\"30\" pages=\"1\"/>"
         "<pages><page id=\"0\" file=\"f_0.png\"/></pages>"
         "<distanceField fieldType=\"msdf\" distanceRange=\"4\"/><chars count=\"0\"/></font>"},
        {"text, damaged: dropped, as no writer could give it back",
         "info face=\"F\" size=32\ncommon lineHeight=40 base=30 pages=1\n"
         "page id=0 file=\"f_0.png\"\n"
         "distanceField fieldType=\"m sdf\\r\" distanceRange=0\nchars count=0\n",
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ScratchFolder scratch;
        WritePng(scratch.File("f_0.png"), *document::MakeImage(4, 4, 0xFFFFFFFF));
        document::TypefaceRegistry registry;
        LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(c.Descriptor));
        ASSERT_EQ(loaded.Error, "");
        EXPECT_EQ(loaded.Warnings, std::vector<std::string>{});
        EXPECT_EQ(document::DistanceFieldOf(loaded.Font->Content.Properties), c.Kept);
    }
}

TEST(BmFontEffects, UnwritableEffectPropertiesAreRefusedWithTheirValue) {
    const struct {
        const char* Name;
        document::Properties Recorded;
        const char* Error;
    } cases[] = {
        {"outline not a number",
         {{"Outline", "thick"}},
         "the property \"Outline\" must be a number, not \"thick\""},
        {"range not whole",
         {{"DistanceField", "sdf"}, {"DistanceRange", "7.5"}},
         "\"DistanceRange\" must be a field type (letters and digits) and a whole number"},
        {"type with a space",
         {{"DistanceField", "s df"}, {"DistanceRange", "8"}},
         "\"DistanceRange\" must be a field type (letters and digits) and a whole number"},
        {"range without a type",
         {{"DistanceRange", "8"}},
         "\"DistanceRange\" must be a field type (letters and digits) and a whole number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ScratchFolder scratch;
        document::TypefaceRegistry registry;
        const document::Typeface& typeface = MakeEffectTypeface(registry, c.Recorded);
        const base::Result<base::Done> saved =
            WriteBmFont(typeface, scratch.File("e.fnt"), BmFontVariant::Text);
        EXPECT_FALSE(saved.Ok());
        EXPECT_NE(saved.Error.find(c.Error), std::string::npos) << saved.Error;
        EXPECT_FALSE(std::filesystem::exists(scratch.File("e.fnt")));
    }
}

} // namespace
} // namespace glyfora::formats
