#include "BmFontTestSupport.h"
#include "PngBytes.h"
#include "formats/PictureFile.h"
#include "formats/TypefaceIo.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace glyfora::formats {
namespace {

using namespace fnttest;

const BmFontVariant AllVariants[] = {BmFontVariant::Text, BmFontVariant::Xml, BmFontVariant::Binary,
                                     BmFontVariant::Json};

std::string VariantName(BmFontVariant variant) {
    switch (variant) {
    case BmFontVariant::Text:
        return "text";
    case BmFontVariant::Xml:
        return "xml";
    case BmFontVariant::Binary:
        return "binary";
    case BmFontVariant::Json:
        return "json";
    }
    return "?";
}

// --- Round trips through the model -------------------------------------------------------------

class BmFontRoundTrip : public ::testing::TestWithParam<BmFontVariant> {};

TEST_P(BmFontRoundTrip, WriteReadWriteGivesTheSameBytes) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    const document::Typeface& original = MakeSampleTypeface(registry);
    const std::string path = scratch.File("sample.fnt");

    const base::Result<base::Done> first = WriteBmFont(original, path, GetParam());
    ASSERT_TRUE(first.Ok()) << first.Error;
    const std::vector<std::uint8_t> descriptor = ReadBytes(path);
    const std::vector<std::uint8_t> page = ReadBytes(scratch.File("sample_0.png"));
    EXPECT_EQ(DetectBmFontVariant(descriptor), GetParam());

    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), descriptor);
    ASSERT_EQ(loaded.Error, "");
    EXPECT_EQ(loaded.Warnings, std::vector<std::string>{});

    const base::Result<base::Done> second = WriteBmFont(*loaded.Font, path, GetParam());
    ASSERT_TRUE(second.Ok()) << second.Error;
    EXPECT_EQ(ReadBytes(path), descriptor);
    EXPECT_EQ(ReadBytes(scratch.File("sample_0.png")), page);
}

TEST_P(BmFontRoundTrip, KeepsCharactersPairsPictureAndInfo) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    const document::Typeface& original = MakeSampleTypeface(registry);
    ASSERT_TRUE(WriteBmFont(original, scratch.File("f.fnt"), GetParam()).Ok());
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), ReadBytes(scratch.File("f.fnt")));
    ASSERT_EQ(loaded.Error, "");
    const document::Typeface& read = *loaded.Font;

    const std::vector<document::Character> before = CharactersOf(original);
    const std::vector<document::Character> after = CharactersOf(read);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].Index, before[i].Index);
        EXPECT_EQ(after[i].Source, before[i].Source) << before[i].Index;
        EXPECT_EQ(after[i].Outlay, before[i].Outlay) << before[i].Index;
    }
    // The zero pair carries nothing and is left out.
    ASSERT_EQ(read.Content.KerningPairs.Size(), 3u); // the zero pair too
    EXPECT_EQ(document::KerningAmount(read, document::MakePairKey(65, 86)), -3);
    EXPECT_EQ(document::KerningAmount(read, document::MakePairKey(86, 65)), -2);

    ASSERT_TRUE(read.Content.Image != nullptr);
    EXPECT_EQ(read.Content.Image->Pixels, original.Content.Image->Pixels);
    ASSERT_NE(read.Content.Sprite, nullptr);

    const auto& properties = read.Content.Properties;
    EXPECT_EQ(properties.at("Face"), "Sample Sans");
    EXPECT_EQ(properties.at("Size"), "-14");
    EXPECT_EQ(properties.at("Base"), "11");
    EXPECT_EQ(properties.at("Padding"), "0,0,0,0");
    EXPECT_EQ(properties.count("Comment"), 0u);
    for (const char* key : BmFontPropertyKeys()) {
        EXPECT_EQ(properties.count(key), 1u) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, BmFontRoundTrip, ::testing::ValuesIn(AllVariants),
                         [](const auto& info) { return VariantName(info.param); });

// --- Export mapping ---------------------------------------------------------------------------

TEST(BmFontExport, MapsFieldsOnePageAndWhiteGlyphChannels) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = MakeSampleTypeface(registry);
    const base::Result<base::Done> saved =
        WriteBmFont(typeface, scratch.File("Sample.fnt"), BmFontVariant::Text);
    ASSERT_TRUE(saved.Ok()) << saved.Error;
    const std::string text = Text(ReadBytes(scratch.File("Sample.fnt")));

    EXPECT_NE(text.find("info face=\"Sample Sans\" size=-14 "), std::string::npos) << text;
    EXPECT_NE(text.find("common lineHeight=14 base=11 scaleW=24 scaleH=16 pages=1 packed=0 "
                        "alphaChnl=0 redChnl=4 greenChnl=4 blueChnl=4\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("page id=0 file=\"Sample_0.png\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("char id=65 x=1 y=2 width=10 height=12 xoffset=-1 yoffset=2 xadvance=11 "
                        "page=0 chnl=15\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("kernings count=3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("kerning first=65 second=86 amount=-3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("kerning first=65 second=65 amount=0\n"), std::string::npos) << text;
}

TEST(BmFontExport, LineHeightIsTheSpacesElseTheLargestWithAWarning) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::AddCharacter(typeface, 65).Outlay = {0, 0, 5, 12};
    document::AddCharacter(typeface, 66).Outlay = {0, 0, 5, 17};
    base::Result<BmFont> font = BmFontFromTypeface(typeface, "p.png");
    EXPECT_EQ(font.Error, "");
    ASSERT_TRUE(font.Ok());
    EXPECT_EQ(font.Value->Common.LineHeight, 17);
    EXPECT_NE(JoinWarnings(font.Warnings).find("1 character has a line advance other than 17"),
              std::string::npos);

    document::AddCharacter(typeface, 32).Outlay = {0, 0, 4, 12};
    font = BmFontFromTypeface(typeface, "p.png");
    ASSERT_TRUE(font.Ok()) << font.Error;
    EXPECT_EQ(font.Value->Common.LineHeight, 12);
    EXPECT_EQ(font.Value->Common.Base, 12); // no "Base" property: the line height
    EXPECT_NE(JoinWarnings(font.Warnings).find("1 character has"), std::string::npos);
}

TEST(BmFontExport, PageNamesHaveOneLength) {
    const struct {
        std::int64_t Count;
        const char *First, *Last;
    } cases[] = {
        {1, "f_0.png", "f_0.png"},
        {10, "f_0.png", "f_9.png"},
        {11, "f_00.png", "f_10.png"},
        {101, "f_000.png", "f_100.png"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> names = BmFontPageNames("f", c.Count);
        ASSERT_EQ(names.size(), static_cast<std::size_t>(c.Count));
        EXPECT_EQ(names.front(), c.First);
        EXPECT_EQ(names.back(), c.Last);
        for (const std::string& name : names) {
            EXPECT_EQ(name.size(), names.front().size()) << name;
        }
    }
}

// A typeface without the properties an engine relies on: face from the file name, base from the
// flat-bottomed glyphs' ink, each with a warning.
TEST(BmFontExport, FillsUnrecordedFaceBaseAndSizeWithWarnings) {
    struct Case {
        const char* Name;
        void (*Change)(document::Typeface&);
        const char* Face;
        std::int64_t Base;
        std::int64_t Size;
        const char* Warning; // empty: no warning about face, base or size
    };
    const Case cases[] = {
        {"AllRecorded", [](document::Typeface&) {}, "Sample Sans", 11, -14, ""},
        {"NoFace", [](document::Typeface& t) { t.Content.Properties.erase("Face"); }, "Title", 11,
         -14, "no \"Face\"; the face is written as the file's name \"Title\""},
        {"EmptyFace", [](document::Typeface& t) { t.Content.Properties["Face"] = ""; }, "Title", 11,
         -14, "the face is written as the file's name"},
        // "A" is not flat-bottomed: nothing to derive from.
        {"NoBaseNoFlatGlyph", [](document::Typeface& t) { t.Content.Properties.erase("Base"); },
         "Sample Sans", 14, -14,
         "no flat-bottomed glyph to derive it from; the base is written as "
         "the line height 14"},
        // "V" (made an "H") has ink down to row 12 of its cell at y 0, drawn 3 lower: base 16.
        {"NoBaseFromInk",
         [](document::Typeface& t) {
             t.Content.Properties.erase("Base");
             document::Character& h = *document::FindCharacter(t, 86);
             h.Index = 72;
             h.Outlay.Y = 3;
             document::RebuildIndexes(t);
         },
         "Sample Sans", 16, -14, "the base 16 was derived from the ink of flat-bottomed glyphs"},
        {"NoSize", [](document::Typeface& t) { t.Content.Properties.erase("Size"); }, "Sample Sans",
         11, 14, "no \"Size\"; the size is written as the line height 14"},
    };
    for (const Case& c : cases) {
        document::TypefaceRegistry registry;
        document::Typeface& typeface = MakeSampleTypeface(registry);
        c.Change(typeface);
        const base::Result<BmFont> font = BmFontFromTypeface(typeface, "Title");
        ASSERT_TRUE(font.Ok()) << c.Name << ": " << font.Error;
        EXPECT_EQ(font.Value->Info.Face, c.Face) << c.Name;
        EXPECT_EQ(font.Value->Common.Base, c.Base) << c.Name;
        EXPECT_EQ(font.Value->Info.Size, c.Size) << c.Name;
        const std::string warnings = JoinWarnings(font.Warnings);
        if (std::string_view(c.Warning).empty()) {
            EXPECT_EQ(warnings.find("the typeface has no"), std::string::npos) << c.Name;
        } else {
            EXPECT_NE(warnings.find(c.Warning), std::string::npos) << c.Name << ": " << warnings;
        }
    }
}

TEST(BmFontExport, LeavesOutPairsOfAbsentCharactersWithAWarning) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = MakeSampleTypeface(registry);
    document::AddKerningPair(typeface, 65, 90, -4); // no "Z"
    document::AddKerningPair(typeface, 200, 86, 1); // no 200
    document::AddKerningPair(typeface, 32, 65, 2);
    for (const BmFontVariant variant : AllVariants) {
        ScratchFolder scratch;
        const base::Result<base::Done> saved =
            WriteBmFont(typeface, scratch.File("k.fnt"), variant);
        ASSERT_TRUE(saved.Ok()) << saved.Error;
        EXPECT_NE(JoinWarnings(saved.Warnings)
                      .find("left out 2 kerning pairs whose left or right character is not in "
                            "the typeface"),
                  std::string::npos)
            << VariantName(variant);
        LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), ReadBytes(scratch.File("k.fnt")));
        ASSERT_EQ(loaded.Error, "");
        EXPECT_EQ(loaded.Font->Content.KerningPairs.Size(), 4u) << VariantName(variant);
        EXPECT_EQ(document::KerningAmount(*loaded.Font, document::MakePairKey(32, 65)), 2);
        EXPECT_EQ(document::KerningAmount(*loaded.Font, document::MakePairKey(65, 90)), 0);
    }
    // The typeface itself keeps them, so the lists still show them.
    EXPECT_EQ(typeface.Content.KerningPairs.Size(), 6u);
}

TEST(BmFontExport, ReportsPropertiesThatHaveNoPlace) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = MakeSampleTypeface(registry);
    typeface.Content.Properties["Comment"] = "hand-tuned";
    const base::Result<BmFont> font = BmFontFromTypeface(typeface, "p.png");
    EXPECT_EQ(font.Error, "");
    EXPECT_NE(JoinWarnings(font.Warnings).find("\"Comment\""), std::string::npos);
}

struct RefusedCase {
    const char* Name;
    BmFontVariant Variant;
    void (*Change)(document::Typeface&);
    const char* Message;
};

const RefusedCase RefusedCases[] = {
    {"NoPicture", BmFontVariant::Text,
     [](document::Typeface& t) { document::SetCharacterSetImage(t, std::nullopt); },
     "no character-set picture"},
    {"CodeOutOfRange", BmFontVariant::Text,
     [](document::Typeface& t) { t.Content.Characters.begin()->Index = 70000; },
     "the character code 70000 cannot be written"},
    {"PaddingNotNumbers", BmFontVariant::Xml,
     [](document::Typeface& t) { t.Content.Properties["Padding"] = "1,2,x,4"; },
     "\"Padding\" must be 4 whole numbers separated by commas"},
    {"SizeNotANumber", BmFontVariant::Binary,
     [](document::Typeface& t) { t.Content.Properties["Size"] = "large"; },
     "\"Size\" must be a whole number"},
    {"OffsetBeyondBinary", BmFontVariant::Binary,
     [](document::Typeface& t) { std::next(t.Content.Characters.begin())->Outlay.X = 40000; },
     "character 65: xoffset 40000 does not fit the binary variant (-32768..32767)"},
    {"NegativeSourceInBinary", BmFontVariant::Binary,
     [](document::Typeface& t) { std::next(t.Content.Characters.begin())->Source.Y = -1; },
     "character 65: y -1 does not fit the binary variant (0..65535)"},
    {"AmountBeyondBinary", BmFontVariant::Binary,
     [](document::Typeface& t) { t.Content.KerningPairs.begin()->Amount = -40000; },
     "kerning pair 65, 86: amount -40000 does not fit"},
    {"MetricBeyondText", BmFontVariant::Text,
     [](document::Typeface& t) {
         std::next(t.Content.Characters.begin())->Source.Width = 1LL << 33;
     },
     "character 65: width 8589934592 is outside the 32-bit range"},
    {"QuoteInTextFace", BmFontVariant::Text,
     [](document::Typeface& t) { t.Content.Properties["Face"] = "The \"Best\""; },
     "holds a double quote or a line break"},
    {"ControlCharacterInXml", BmFontVariant::Xml,
     [](document::Typeface& t) { t.Content.Properties["Face"] = std::string("A\x01") + "B"; },
     "control character"},

    {"NotUtf8InXml", BmFontVariant::Xml,
     [](document::Typeface& t) { t.Content.Properties["Face"] = "Caf\xE9"; }, "is not UTF-8"},
    {"UnknownCharsetInBinary", BmFontVariant::Binary,
     [](document::Typeface& t) {
         t.Content.Properties["Unicode"] = "0";
         t.Content.Properties["Charset"] = "KLINGON";
     },
     "the character set \"KLINGON\" has no number"},
};

class BmFontRefusedWrite : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(BmFontRefusedWrite, WritesNothingAndSaysWhy) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = MakeSampleTypeface(registry);
    GetParam().Change(typeface);
    const base::Result<base::Done> result =
        WriteBmFont(typeface, scratch.File("f.fnt"), GetParam().Variant);
    EXPECT_FALSE(result.Ok());
    EXPECT_NE(result.Error.find(GetParam().Message), std::string::npos) << result.Error;
    EXPECT_FALSE(std::filesystem::exists(scratch.File("f.fnt")));
    EXPECT_FALSE(std::filesystem::exists(scratch.File("f_0.png")));
}

INSTANTIATE_TEST_SUITE_P(Cases, BmFontRefusedWrite, ::testing::ValuesIn(RefusedCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BmFontExport, PageNameFollowsTheDescriptor) {
    EXPECT_EQ(BmFontPageNames(BmFontBaseName("/a/b/Title.fnt"), 1).front(), "Title_0.png");
    EXPECT_EQ(BmFontPageNames(BmFontBaseName("Title"), 1).front(), "Title_0.png");
    EXPECT_EQ(BmFontPageNames(BmFontBaseName("dir.v2/font.large.fnt"), 1).front(),
              "font.large_0.png");
    EXPECT_EQ(BmFontPageNames(BmFontBaseName("C:\\fonts\\x.fnt"), 1).front(), "x_0.png");
}

// --- Import mapping ---------------------------------------------------------------------------

std::uint32_t Pixel(const document::Typeface& typeface, std::int64_t x, std::int64_t y) {
    return typeface.Content.Image->At(x, y);
}

TEST(BmFontImport, StacksPagesAndMovesTheirCellsDown) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    WritePng(scratch.File("p_0.png"), *document::MakeImage(8, 4, 0xFF0000FF));
    WritePng(scratch.File("p_1.png"), *document::MakeImage(6, 5, 0xFF00FF00));
    WritePng(scratch.File("p_2.png"), *document::MakeImage(7, 3, 0xFFFF0000));
    const std::string fnt = "common lineHeight=9 base=7 scaleW=8 scaleH=5 pages=3 packed=0\n"
                            "page id=1 file=\"p_1.png\"\n"
                            "page id=0 file=\"p_0.png\"\n"
                            "page id=2 file=\"p_2.png\"\n"
                            "char id=65 x=1 y=1 width=2 height=2 page=0\n"
                            "char id=66 x=1 y=1 width=2 height=2 page=1\n"
                            "char id=67 x=1 y=1 width=2 height=2 page=2\n";
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    const document::Typeface& t = *loaded.Font;
    ASSERT_TRUE(t.Content.Image != nullptr);
    EXPECT_EQ(t.Content.Image->Width, 8);
    EXPECT_EQ(t.Content.Image->Height, 12);
    EXPECT_EQ(document::FindCharacter(t, 65)->Source, (document::Rect64{1, 1, 2, 2}));
    EXPECT_EQ(document::FindCharacter(t, 66)->Source, (document::Rect64{1, 5, 2, 2}));
    EXPECT_EQ(document::FindCharacter(t, 67)->Source, (document::Rect64{1, 10, 2, 2}));
    EXPECT_EQ(Pixel(t, 1, 1), 0xFF0000FFu);
    EXPECT_EQ(Pixel(t, 1, 5), 0xFF00FF00u);
    EXPECT_EQ(Pixel(t, 1, 10), 0xFFFF0000u);
    EXPECT_EQ(Pixel(t, 7, 5), 0u); // narrower page: transparent beside it
    EXPECT_NE(JoinWarnings(loaded.Warnings).find("3 pages were stacked"), std::string::npos);
}

TEST(BmFontImport, MissingOrBrokenPagesTakeNoRoomAndTheirCellsLieBelow) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    WritePng(scratch.File("p_1.png"), *document::MakeImage(8, 4, 0xFF00FF00));
    WriteBytes(scratch.File("p_2.png"), Bytes("not a png"));
    // A huge declared scale must not cost memory for the pages that are not there.
    const std::string fnt = "common lineHeight=9 scaleW=65535 scaleH=65535 pages=3\n"
                            "page id=0 file=\"p_0.png\"\n"
                            "page id=1 file=\"p_1.png\"\n"
                            "page id=2 file=\"p_2.png\"\n"
                            "char id=65 x=0 y=0 width=2 height=2 page=0\n"
                            "char id=66 x=0 y=1 width=2 height=2 page=1\n"
                            "char id=67 x=0 y=1 width=2 height=2 page=2\n";
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    const document::Typeface& t = *loaded.Font;
    ASSERT_TRUE(t.Content.Image != nullptr);
    EXPECT_EQ(t.Content.Image->Width, 8);
    EXPECT_EQ(t.Content.Image->Height, 4); // the found page alone
    EXPECT_EQ(document::FindCharacter(t, 66)->Source.Y, 1);
    EXPECT_EQ(document::FindCharacter(t, 65)->Source.Y, 4);
    EXPECT_EQ(document::FindCharacter(t, 67)->Source.Y, 5);
    EXPECT_EQ(Pixel(t, 0, 0), 0xFF00FF00u);
    const std::string warnings = JoinWarnings(loaded.Warnings);
    EXPECT_NE(warnings.find("page 0 \"p_0.png\" could not be read (cannot open"), std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("page 2 \"p_2.png\" could not be read (neither a PNG nor a BMP "
                            "picture); its 1 cell lies below the picture"),
              std::string::npos)
        << warnings;
    EXPECT_EQ(warnings.find("stacked"), std::string::npos) << warnings; // one page, no stacking
}

TEST(BmFontImport, WithoutAnyPageThereIsNoPictureButAllCells) {
    document::TypefaceRegistry registry;
    LoadedFnt loaded = LoadFnt(registry, "/nonexistent/",
                               Bytes("info face=x\ncommon lineHeight=5\npage id=0 file=\"a.png\"\n"
                                     "char id=65 x=3 y=4 width=5 height=6\n"));
    ASSERT_EQ(loaded.Error, "");
    EXPECT_FALSE(loaded.Font->Content.Image != nullptr);
    EXPECT_EQ(document::FindCharacter(*loaded.Font, 65)->Source, (document::Rect64{3, 4, 5, 6}));
}

TEST(BmFontImport, ExpandsPackedChannelsIntoWhiteOnAlpha) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    // One 4 × 2 page: red holds glyph A, green glyph B, blue glyph C, each with its own coverage.
    document::Image page = *document::MakeImage(4, 2, 0);
    page.At(1, 0) = 0x00000080; // red 0x80
    page.At(2, 1) = 0x00004000; // green 0x40
    page.At(3, 1) = 0x00200000; // blue 0x20
    WritePng(scratch.File("packed_0.png"), page);
    const std::string fnt = "common lineHeight=4 scaleW=4 scaleH=2 pages=1 packed=1 alphaChnl=1 "
                            "redChnl=0 greenChnl=0 blueChnl=0\n"
                            "page id=0 file=\"packed_0.png\"\n"
                            "char id=65 x=0 y=0 width=4 height=2 chnl=4\n"
                            "char id=66 x=0 y=0 width=4 height=2 chnl=2\n"
                            "char id=67 x=0 y=0 width=4 height=2 chnl=1\n";
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    const document::Typeface& t = *loaded.Font;
    ASSERT_TRUE(t.Content.Image != nullptr);
    EXPECT_EQ(t.Content.Image->Height, 6); // red, green and blue layers, in that order
    EXPECT_EQ(document::FindCharacter(t, 65)->Source.Y, 0);
    EXPECT_EQ(document::FindCharacter(t, 66)->Source.Y, 2);
    EXPECT_EQ(document::FindCharacter(t, 67)->Source.Y, 4);
    EXPECT_EQ(Pixel(t, 1, 0), 0x80FFFFFFu);
    EXPECT_EQ(Pixel(t, 2, 2 + 1), 0x40FFFFFFu);
    EXPECT_EQ(Pixel(t, 3, 4 + 1), 0x20FFFFFFu);
    EXPECT_EQ(Pixel(t, 1, 4 + 0), 0x00FFFFFFu); // the red glyph is not in the blue layer
    EXPECT_NE(JoinWarnings(loaded.Warnings).find("packed channels"), std::string::npos);
}

TEST(BmFontImport, SkipsUnrepresentableCodesAndCountsThem) {
    document::TypefaceRegistry registry;
    const std::string fnt = "info face=\"x\" size=-12\ncommon lineHeight=13 base=10\n"
                            "char id=-1 x=0 y=0\n"
                            "char id=65 x=1 y=2 width=3 height=4 xoffset=-1 yoffset=5 "
                            "xadvance=6\n"
                            "char id=65536 x=0 y=0\nchar id=128512 x=0 y=0\n"
                            "char id=65535 x=0 y=0\n"
                            "kerning first=65 second=65535 amount=2\n"
                            "kerning first=65 second=128512 amount=-1\n";
    LoadedFnt loaded = LoadFnt(registry, "", Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    const document::Typeface& t = *loaded.Font;
    EXPECT_EQ(t.Content.Characters.Size(), 2u);
    const document::Character* a = document::FindCharacter(t, 65);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Outlay, (document::Rect64{-1, 5, 6, 13}));
    EXPECT_NE(document::FindCharacter(t, 65535), nullptr);
    EXPECT_EQ(t.Content.KerningPairs.Size(), 1u);
    EXPECT_EQ(document::KerningAmount(t, document::MakePairKey(65, 65535)), 2);
    const std::string warnings = JoinWarnings(loaded.Warnings);
    EXPECT_NE(warnings.find("skipped 1 character with id -1"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("skipped 2 characters with codes above 0xFFFF"), std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("skipped 1 kerning pair with codes above 0xFFFF"), std::string::npos)
        << warnings;
    EXPECT_EQ(t.Content.Properties.at("Size"), "-12");
    EXPECT_EQ(t.Content.Properties.at("Base"), "10");
}

TEST(BmFontImport, PagesThatAreNotRegularFilesAreNotRead) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    // A device would never end; a folder is no picture either.
    std::filesystem::create_directory(scratch.File("folder.png"));
    const std::string fnt = "common lineHeight=5 scaleW=4 scaleH=4 pages=2\n"
                            "page id=0 file=\"../../../../../../../../../dev/zero\"\n"
                            "page id=1 file=\"folder.png\"\n"
                            "char id=65 x=1 y=2 page=1\n";
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    EXPECT_FALSE(loaded.Font->Content.Image != nullptr);
    EXPECT_EQ(document::FindCharacter(*loaded.Font, 65)->Source.Y,
              2); // no page found, nothing stacked
    const std::string warnings = JoinWarnings(loaded.Warnings);
    EXPECT_NE(warnings.find("page 0 \"../../../../../../../../../dev/zero\" could not be read"),
              std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("page 1 \"folder.png\" could not be read"), std::string::npos);
}

TEST(BmFontImport, FindsPagesNamedTheWindowsWay) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    std::filesystem::create_directory(scratch.File("sub"));
    WritePng(scratch.File("sub/p_0.png"), *document::MakeImage(2, 2, 0xFF0000FF));
    WritePng(scratch.File("p_1.png"), *document::MakeImage(2, 3, 0xFF00FF00));
    const std::string fnt = "common lineHeight=5 pages=2\n"
                            "page id=0 file=\"sub\\p_0.png\"\n"
                            "page id=1 file=\"C:\\Work\\Fonts\\p_1.png\"\n";
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    EXPECT_EQ(JoinWarnings(loaded.Warnings), "2 pages were stacked into one picture\n");
    ASSERT_TRUE(loaded.Font->Content.Image != nullptr);
    EXPECT_EQ(loaded.Font->Content.Image->Height, 5);
    EXPECT_EQ(loaded.Font->Content.Image->At(0, 4), 0xFF00FF00u);
}

TEST(BmFontImport, PagePathsResolveAlikeHoweverTheDescriptorIsNamed) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch.File("sub"));
    WritePng(scratch.File("sub/p_0.png"), *document::MakeImage(2, 2, 0xFF0000FF));
    WritePng(scratch.File("p_1.png"), *document::MakeImage(2, 3, 0xFF00FF00));
    WriteBytes(scratch.File("f.fnt"), Bytes("common lineHeight=5 pages=3\n"
                                            "page id=0 file=\"sub\\p_0.png\"\n"
                                            "page id=1 file=\"/gone/Fonts/p_1.png\"\n"
                                            "page id=2 file=\"" +
                                            scratch.File("p_1.png") + "\"\n"));
    const std::filesystem::path absolute = scratch.File("f.fnt");
    const std::string relative =
        std::filesystem::relative(absolute, std::filesystem::current_path()).string();
    for (const std::string& name : {absolute.string(), relative, "./" + relative}) {
        document::TypefaceRegistry registry;
        const base::Result<LoadedTypeface> result = LoadTypeface(registry, 5, name);
        ASSERT_TRUE(result.Ok()) << name << ": " << result.Error;
        EXPECT_EQ(JoinWarnings(result.Warnings), "3 pages were stacked into one picture\n") << name;
        ASSERT_TRUE(result.Value->Installed->Content.Image != nullptr) << name;
        EXPECT_EQ(result.Value->Installed->Content.Image->Height, 2 + 3 + 3) << name;
    }
}

TEST(BmFontImport, PagesMayBeBmpAndStayWithinThePictureBudget) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    // A 24-bit BMP: file and info headers, then rows of 3-byte pixels padded to 4 bytes.
    auto bmp = [](std::uint32_t side, bool withPixels) {
        const std::uint32_t row = (side * 3 + 3) / 4 * 4;
        std::vector<std::uint8_t> bytes = {'B', 'M'};
        for (const std::uint32_t value : {54 + row * side, 0U, 54U, 40U, side, side,
                                          1U | (24U << 16), 0U, row * side, 0U, 0U, 0U, 0U}) {
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<std::uint8_t>(value >> shift));
            }
        }
        bytes.resize(withPixels ? bytes.size() + row * side : bytes.size(), 0x7F);
        return bytes;
    };
    WriteBytes(scratch.File("p_0.bmp"), bmp(2, true));
    WritePng(scratch.File("p_1.png"), *document::MakeImage(4, 4, 0xFF00FF00));
    // 16384 x 16384 pixels are exactly the limit; with no pixel data behind the header, only the
    // header can have refused it, because the first two pages already took their share.
    WriteBytes(scratch.File("p_2.bmp"), bmp(16384, false));
    const std::string fnt = "common lineHeight=5 pages=3\n"
                            "page id=0 file=\"p_0.bmp\"\npage id=1 file=\"p_1.png\"\n"
                            "page id=2 file=\"p_2.bmp\"\n";
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    ASSERT_TRUE(loaded.Font->Content.Image != nullptr);
    EXPECT_EQ(loaded.Font->Content.Image->Height, 2 + 4);
    const std::string warnings = JoinWarnings(loaded.Warnings);
    EXPECT_EQ(loaded.Font->Content.Image->At(0, 0), 0xFF7F7F7Fu);
    EXPECT_NE(warnings.find("page 2 \"p_2.bmp\" could not be read (the picture's size 16384 x "
                            "16384 exceeds the 1073741744 bytes of pixels left for it)"),
              std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("2 pages were stacked"), std::string::npos) << warnings;
}

TEST(BmFontImport, ChannelFieldsSurviveASaveWhileThePictureIsUnchanged) {
    ScratchFolder scratch;
    WritePng(scratch.File("c_0.png"), *document::MakeImage(4, 4, 0xFF00FF00));
    const std::string common = "common lineHeight=5 base=4 scaleW=4 scaleH=4 pages=1 packed=0 "
                               "alphaChnl=1 redChnl=0 greenChnl=2 blueChnl=3\n";
    WriteBytes(scratch.File("c.fnt"),
               Bytes(common + "page id=0 file=\"c_0.png\"\n"
                              "char id=65 x=0 y=0 width=2 height=2 page=0 chnl=8\n"));
    const struct {
        const char* Name;
        bool NewPicture;
        const char* Common;
        const char* Chnl;
    } cases[] = {
        {"same picture", false, "alphaChnl=1 redChnl=0 greenChnl=2 blueChnl=3\n", "chnl=8\n"},
        {"green picture replaced", true, "alphaChnl=0 redChnl=0 greenChnl=0 blueChnl=0\n",
         "chnl=15\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        document::TypefaceRegistry registry;
        const base::Result<LoadedTypeface> result =
            LoadTypeface(registry, 5, scratch.File("c.fnt"));
        ASSERT_TRUE(result.Ok()) << result.Error;
        document::AddCharacter(*result.Value->Installed, 66); // a new character has all channels
        if (c.NewPicture) {
            ReplaceCharacterSetPicture(*result.Value->Installed,
                                       *document::MakeImage(4, 4, 0xFF00FF00));
        }
        const base::Result<base::Done> saved =
            SaveTypeface(registry, 5, scratch.File("out.fnt"), FileFormatId::BmFontText);
        ASSERT_TRUE(saved.Ok()) << saved.Error;
        const std::string text = Text(ReadBytes(scratch.File("out.fnt")));
        EXPECT_NE(text.find(c.Common), std::string::npos) << text;
        EXPECT_NE(text.find("char id=65 x=0 y=0 width=2 height=2 xoffset=0 yoffset=0 xadvance=0 "
                            "page=0 " +
                            std::string(c.Chnl)),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("char id=66 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=0 "
                            "page=0 chnl=15\n"),
                  std::string::npos)
            << text;
    }
}

TEST(BmFontImport, CharacterOnAnUndeclaredPageKeepsItsCell) {
    document::TypefaceRegistry registry;
    LoadedFnt loaded =
        LoadFnt(registry, "", Bytes("common lineHeight=5\nchar id=65 x=1 y=2 page=3\n"));
    ASSERT_EQ(loaded.Error, "");
    EXPECT_EQ(document::FindCharacter(*loaded.Font, 65)->Source.Y, 2);
    EXPECT_NE(JoinWarnings(loaded.Warnings).find("1 character refers to a page that is not"),
              std::string::npos);
}

TEST(BmFontNumbers, ReadLenientlyAndSaturate) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"12", 12},
        {"-7", -7},
        {"+3", 3},
        {"  42x", 42},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"2147483647", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483648LL},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseBmFontNumber(text), value) << text;
    }
}

TEST(BmFontNumbers, CharsetNamesAndNumbersRoundTrip) {
    EXPECT_EQ(BmFontCharsetName(0), "ANSI");
    EXPECT_EQ(BmFontCharsetName(204), "RUSSIAN");
    EXPECT_EQ(BmFontCharsetName(99), "99");
    EXPECT_EQ(BmFontCharsetNumber("ANSI"), 0);
    EXPECT_EQ(BmFontCharsetNumber("OEM"), 255);
    EXPECT_EQ(BmFontCharsetNumber("99"), 99);
    EXPECT_EQ(BmFontCharsetNumber("300"), std::nullopt);
    EXPECT_EQ(BmFontCharsetNumber("Klingon"), std::nullopt);
}

// A page file that several pages name is read and decoded once and fills each of their layers,
// its channels too.
TEST(BmFontImport, APageFileNamedSeveralTimesFillsEveryLayer) {
    ScratchFolder scratch;
    document::Image page = *document::MakeImage(3, 2, 0);
    page.At(0, 0) = 0x00000080; // red
    page.At(1, 1) = 0x00004000; // green
    page.At(2, 0) = 0xFF123456;
    WritePng(scratch.File("p.png"), page);
    const struct {
        const char* Name;
        const char* Descriptor;
        std::int64_t Height;
        std::vector<std::tuple<std::int64_t, std::int64_t, std::uint32_t>> Pixels;
    } cases[] = {
        {"three pages of one file",
         "common lineHeight=4 pages=3\npage id=0 file=\"p.png\"\npage id=1 file=\"p.png\"\n"
         "page id=2 file=\"./p.png\"\n",
         6,
         {{2, 0, 0xFF123456}, {2, 2, 0xFF123456}, {2, 4, 0xFF123456}, {0, 4, 0x00000080}}},
        {"packed channels of two pages of one file",
         "common lineHeight=4 pages=2 packed=1\npage id=0 file=\"p.png\"\n"
         "page id=1 file=\"p.png\"\nchar id=65 page=0 chnl=4\nchar id=66 page=0 chnl=2\n"
         "char id=67 page=1 chnl=4\n",
         6,
         {{0, 0, 0x80FFFFFF}, {1, 1, 0x00FFFFFF}, {1, 3, 0x40FFFFFF}, {0, 4, 0x80FFFFFF}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        document::TypefaceRegistry registry;
        LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(c.Descriptor));
        ASSERT_EQ(loaded.Error, "");
        const document::Typeface& t = *loaded.Font;
        ASSERT_TRUE(t.Content.Image != nullptr);
        EXPECT_EQ(t.Content.Image->Width, 3);
        EXPECT_EQ(t.Content.Image->Height, c.Height);
        for (const auto& [x, y, pixel] : c.Pixels) {
            EXPECT_EQ(Pixel(t, x, y), pixel) << x << ", " << y;
        }
    }
}

// A file that is not a picture is refused by its first bytes, however large it is and however
// often it is named; a picture whose header is sound but whose pixels are not leaves its rows
// empty.
TEST(BmFontImport, PagesAreRefusedByTheirSignatureOrLeaveEmptyRows) {
    ScratchFolder scratch;
    scratch.Write("large.bin", "not a picture");
    std::filesystem::resize_file(scratch.File("large.bin"), 64 << 20);
    std::vector<std::uint8_t> damaged =
        *testsupport::PngBytes(*document::MakeImage(4, 2, 0xFF00FF00));
    damaged.resize(damaged.size() - 20); // the pixel data cut short
    WriteBytes(scratch.File("damaged.png"), damaged);
    WritePng(scratch.File("good.png"), *document::MakeImage(4, 3, 0xFF0000FF));
    std::string fnt = "common lineHeight=4 pages=202\npage id=0 file=\"good.png\"\n"
                      "page id=1 file=\"damaged.png\"\n";
    for (int id = 2; id < 202; ++id) {
        fnt += "page id=" + std::to_string(id) + " file=\"large.bin\"\n";
    }
    document::TypefaceRegistry registry;
    LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), Bytes(fnt));
    ASSERT_EQ(loaded.Error, "");
    const document::Typeface& t = *loaded.Font;
    ASSERT_TRUE(t.Content.Image != nullptr);
    EXPECT_EQ(t.Content.Image->Height, 3 + 2);
    EXPECT_EQ(Pixel(t, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(t, 0, 3), 0u);
    const std::string warnings = JoinWarnings(loaded.Warnings);
    EXPECT_NE(warnings.find("page 1 \"damaged.png\" could not be read (damaged PNG picture"),
              std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("its rows are empty"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("page 201 \"large.bin\" could not be read (neither a PNG nor a BMP "
                            "picture)"),
              std::string::npos)
        << warnings;
}

} // namespace
} // namespace glyfora::formats
