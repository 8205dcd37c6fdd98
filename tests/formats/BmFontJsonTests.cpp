#include "BmFontTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace glyfora::formats {
namespace {

using namespace fnttest;

// As msdf-bmfont-xml writes it: fractional sizes, the glyph index and character beside each char,
// the character set as an array of characters, booleans, a distance field.
constexpr std::string_view MsdfStyleJson = R"({"pages":["sheet_0.png","sheet_1.png"],
"chars":[{"id":65,"index":36,"char":"A","width":12.5,"height":14,"xoffset":-1,"yoffset":2,
 "xadvance":11,"chnl":15,"x":0,"y":0,"page":0},
 {"id":86,"width":9,"height":13,"xoffset":0,"yoffset":1,"xadvance":9,"chnl":15,"x":20,"y":4,"page":1}],
"info":{"face":"Sample \u00e9","size":42,"bold":0,"italic":true,"charset":["A","V"],"unicode":1,
 "stretchH":100,"smooth":1,"aa":1,"padding":[2,1,3,4],"spacing":[5,6]},
"common":{"lineHeight":50,"base":40,"scaleW":64,"scaleH":32,"pages":2,"packed":0,"alphaChnl":0,
 "redChnl":0,"greenChnl":0,"blueChnl":0},
"distanceField":{"fieldType":"msdf","distanceRange":4},
"kernings":[{"first":65,"second":86,"amount":-2},{"first":86,"second":65,"amount":-3e9}]})";

TEST(BmFontJson, ReadsPeersOutput) {
    std::vector<std::string> warnings;
    const std::optional<BmFont> font = ParseBmFontJson(Bytes(MsdfStyleJson), warnings);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(warnings, std::vector<std::string>{});
    EXPECT_EQ(font->Info.Face, "Sample \xC3\xA9");
    EXPECT_EQ(font->Info.Size, 42);
    EXPECT_TRUE(font->Info.Italic);
    EXPECT_FALSE(font->Info.Bold);
    EXPECT_EQ(font->Info.Charset, ""); // an array of characters is no Windows character set
    EXPECT_EQ(font->Info.Padding, (std::array<std::int64_t, 4>{2, 1, 3, 4}));
    EXPECT_EQ(font->Info.Spacing, (std::array<std::int64_t, 2>{5, 6}));
    EXPECT_EQ(font->Common.LineHeight, 50);
    EXPECT_EQ(font->Common.Base, 40);
    EXPECT_EQ(font->Common.ScaleH, 32);
    ASSERT_EQ(font->Pages.size(), 2u);
    EXPECT_EQ(font->Pages[1].Id, 1);
    EXPECT_EQ(font->Pages[1].File, "sheet_1.png");
    ASSERT_EQ(font->Chars.size(), 2u);
    EXPECT_EQ(font->Chars[0].Width, 13); // 12.5 rounded
    EXPECT_EQ(font->Chars[0].XOffset, -1);
    EXPECT_EQ(font->Chars[1].Page, 1);
    EXPECT_EQ(font->Chars[1].Y, 4);
    ASSERT_EQ(font->Kernings.size(), 2u);
    EXPECT_EQ(font->Kernings[0].Amount, -2);
    EXPECT_EQ(font->Kernings[1].Amount, -2147483648); // far beyond the range: saturated
    ASSERT_TRUE(font->DistanceField.has_value());
    EXPECT_EQ(font->DistanceField->FieldType, "msdf");
    EXPECT_EQ(font->DistanceField->Range, 4);
}

TEST(BmFontJson, HostileOrDamagedInputSaysWhy) {
    const struct {
        const char* Name;
        std::string Bytes;
        bool Read;           // a font comes back
        const char* Message; // in the last warning
    } cases[] = {
        {"Array", "[1, 2]", false, "the JSON is not an object"},
        {"Garbage", "{\"chars\" \"common\"", true, "is not well-formed at line 1, column"},
        {"NotJson", "chars common", false, "is not well-formed at line 1, column 1"},
        {"Overflow", "{\"common\":{\"base\":1e999}}", true,
         "is not well-formed at byte 23: number overflow parsing '1e999'"},
        {"CutOff",
         "\xEF\xBB\xBF{\"common\":{\"lineHeight\":8},\"chars\":[{\"id\":32,\"xadvance\":3}],", true,
         "what came before was read"},
        {"Deep", "{\"chars\":" + std::string(100000, '[') + "}", true,
         "nested deeper than 32 levels"},
        {"BadUtf8", "{\"info\":{\"face\":\"\xC3\x28\"},\"common\":{}}", true, "not well-formed"},
        {"WrongTypes",
         "{\"common\":\"x\",\"chars\":{\"id\":5},\"pages\":{\"a\":1},\"kernings\":[1,[2],null]}",
         true, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> warnings;
        const std::optional<BmFont> font = ParseBmFontJson(Bytes(c.Bytes), warnings);
        EXPECT_EQ(font.has_value(), c.Read) << c.Name;
        if (std::string_view(c.Message).empty()) {
            EXPECT_EQ(warnings, std::vector<std::string>{}) << c.Name;
            EXPECT_TRUE(font->Chars.empty() && font->Pages.empty() && font->Kernings.empty());
        } else {
            ASSERT_FALSE(warnings.empty()) << c.Name;
            EXPECT_NE(warnings.back().find(c.Message), std::string::npos)
                << c.Name << ": " << warnings.back();
        }
    }
}

TEST(BmFontJson, DetectedByContent) {
    const struct {
        std::string_view Bytes;
        std::optional<BmFontVariant> Variant;
    } cases[] = {
        {R"({"pages":[],"chars":[],"common":{}})", BmFontVariant::Json},
        {"\xEF\xBB\xBF  \n{\"common\":{},\"chars\":[]}", BmFontVariant::Json},
        {R"({"chars":[]})", std::nullopt},
        {R"({"image": {"width": 1}, "characters": []})", std::nullopt},
        {R"(["chars", "common"])", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DetectBmFontVariant(Bytes(c.Bytes)), c.Variant) << c.Bytes;
    }
}

TEST(BmFontJson, WritesTheSchemaReadersExpect) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = MakeSampleTypeface(registry);
    typeface.Content.Properties["Padding"] = "1,2,3,4";
    typeface.Content.Properties["Face"] = "Sample \"Quoted\" \\ Sans";
    ASSERT_TRUE(WriteBmFont(typeface, scratch.File("s.json"), BmFontVariant::Json).Ok());
    const nlohmann::json json = nlohmann::json::parse(Text(ReadBytes(scratch.File("s.json"))));
    EXPECT_EQ(json["pages"], nlohmann::json::array({"s_0.png"}));
    EXPECT_EQ(json["info"]["face"], "Sample \"Quoted\" \\ Sans");
    EXPECT_EQ(json["info"]["size"], -14);
    EXPECT_EQ(json["info"]["charset"], "");
    EXPECT_EQ(json["info"]["padding"], nlohmann::json::array({1, 2, 3, 4}));
    EXPECT_EQ(json["info"]["spacing"], nlohmann::json::array({0, 0}));
    EXPECT_EQ(json["common"]["lineHeight"], 14);
    EXPECT_EQ(json["common"]["base"], 11);
    EXPECT_EQ(json["common"]["pages"], 1);
    ASSERT_EQ(json["chars"].size(), 3u);
    EXPECT_EQ(json["chars"][1],
              nlohmann::json::parse(R"({"id":65,"x":1,"y":2,"width":10,"height":12,"xoffset":-1,
                  "yoffset":2,"xadvance":11,"page":0,"chnl":15})"));
    ASSERT_EQ(json["kernings"].size(), 3u);
    EXPECT_EQ(json["kernings"][0],
              nlohmann::json::parse(R"({"first":65,"second":86,"amount":-3})"));
}

TEST(BmFontJson, RefusesFacesJsonCannotHold) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = MakeSampleTypeface(registry);
    typeface.Content.Properties["Face"] = "Caf\xE9";
    const base::Result<base::Done> saved =
        WriteBmFont(typeface, scratch.File("s.json"), BmFontVariant::Json);
    EXPECT_NE(saved.Error.find("is not UTF-8"), std::string::npos) << saved.Error;
    EXPECT_FALSE(std::filesystem::exists(scratch.File("s.json")));
}

} // namespace
} // namespace glyfora::formats
