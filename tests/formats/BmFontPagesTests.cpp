#include "BmFontTestSupport.h"
#include "document/PageSize.h"
#include "formats/PictureFile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace glyfora::formats {
namespace {

using namespace fnttest;

const BmFontVariant Variants[] = {BmFontVariant::Text, BmFontVariant::Xml, BmFontVariant::Binary,
                                  BmFontVariant::Json};

// A picture of pageCount pages of 64 × 32 less 5 rows, a glyph on each page at a different place
// within it, a space without a cell and pages of 64 × 32 recorded.
document::Typeface& MakePagedTypeface(document::TypefaceRegistry& registry,
                                      std::int64_t pageCount) {
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    std::optional<document::Image> picture = document::MakeImage(64, pageCount * 32 - 5, 0);
    for (std::size_t i = 0; i < picture->Pixels.size(); ++i) {
        picture->Pixels[i] = 0xFF000000U | static_cast<std::uint32_t>(i * 2654435761U >> 8);
    }
    document::SetCharacterSetImage(typeface, std::move(picture));
    document::AddCharacter(typeface, 32).Outlay = {0, 0, 5, 20};
    for (std::int64_t page = 0; page < pageCount; ++page) {
        document::Character& c = document::AddCharacter(typeface, 65 + page);
        c.Source = {page % 5 * 10, page * 32 + page % 4, 9, 20};
        c.Outlay = {-1, 2, 10, 20};
    }
    typeface.Content.Properties["Face"] = "Paged";
    typeface.Content.Properties["Size"] = "18";
    typeface.Content.Properties["Base"] = "16";
    typeface.Content.Properties[document::PageSizeProperty] = "64x32";
    return typeface;
}

std::string VariantFile(BmFontVariant variant) {
    return variant == BmFontVariant::Json ? "p.json" : "p.fnt";
}

TEST(BmFontPages, WritesOnePictureOfThePageSizePerPageAndReadsThemBack) {
    for (const BmFontVariant variant : Variants) {
        SCOPED_TRACE(VariantFile(variant) + " " + std::to_string(static_cast<int>(variant)));
        ScratchFolder scratch;
        document::TypefaceRegistry registry;
        const document::Typeface& original = MakePagedTypeface(registry, 3);
        const base::Result<base::Done> saved =
            WriteBmFont(original, scratch.File(VariantFile(variant)), variant);
        ASSERT_TRUE(saved.Ok()) << saved.Error;
        for (const char* page : {"p_0.png", "p_1.png", "p_2.png"}) {
            const base::Result<document::PictureSize> size =
                ReadPictureSize(ReadBytes(scratch.File(page)));
            ASSERT_TRUE(size.Ok()) << page;
            EXPECT_EQ(size.Value->Width, 64) << page;
            EXPECT_EQ(size.Value->Height, 32) << page;
        }
        EXPECT_FALSE(std::filesystem::exists(scratch.File("p_3.png")));
        const std::vector<std::uint8_t> descriptor = ReadBytes(scratch.File(VariantFile(variant)));
        std::vector<std::string> warnings;
        const std::optional<BmFont> font =
            variant == BmFontVariant::Json   ? ParseBmFontJson(descriptor, warnings)
            : variant == BmFontVariant::Xml  ? ParseBmFontXml(descriptor, warnings)
            : variant == BmFontVariant::Text ? ParseBmFontText(descriptor, warnings)
                                             : ParseBmFontBinary(descriptor, warnings);
        ASSERT_TRUE(font.has_value());
        EXPECT_EQ(font->Common.ScaleW, 64);
        EXPECT_EQ(font->Common.ScaleH, 32);
        EXPECT_EQ(font->Common.Pages, 3);
        ASSERT_EQ(font->Chars.size(), 4u);
        EXPECT_EQ(font->Chars[0].Page, 0); // the space
        for (std::int64_t page = 0; page < 3; ++page) {
            const BmFontChar& c = font->Chars[static_cast<std::size_t>(page + 1)];
            EXPECT_EQ(c.Page, page);
            EXPECT_EQ(c.Y, page % 4);
        }

        LoadedFnt loaded = LoadFnt(registry, scratch.Directory(), descriptor);
        ASSERT_EQ(loaded.Error, "");
        const document::Typeface& read = *loaded.Font;
        EXPECT_EQ(read.Content.Properties.at(document::PageSizeProperty), "64x32");
        ASSERT_EQ(read.Content.Image->Height, 96);
        for (std::int64_t y = 0; y < 96; ++y) {
            for (std::int64_t x = 0; x < 64; ++x) {
                const std::uint32_t wanted = y < 91 ? original.Content.Image->At(x, y) : 0;
                ASSERT_EQ(read.Content.Image->At(x, y), wanted) << x << ", " << y;
            }
        }
        for (const document::Character& c : original.Content.Characters) {
            EXPECT_EQ(document::FindCharacter(read, c.Index)->Source, c.Source) << c.Index;
        }
        // Written again: the same pages and descriptor.
        const std::vector<std::uint8_t> page1 = ReadBytes(scratch.File("p_1.png"));
        ASSERT_TRUE(WriteBmFont(read, scratch.File(VariantFile(variant)), variant).Ok());
        EXPECT_EQ(ReadBytes(scratch.File(VariantFile(variant))), descriptor);
        EXPECT_EQ(ReadBytes(scratch.File("p_1.png")), page1);
    }
}

TEST(BmFontPages, PageNamesGrowWithTheCount) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = MakePagedTypeface(registry, 11);
    ASSERT_TRUE(WriteBmFont(typeface, scratch.File("p.fnt"), BmFontVariant::Binary).Ok());
    for (const char* page : {"p_00.png", "p_09.png", "p_10.png"}) {
        EXPECT_TRUE(std::filesystem::exists(scratch.File(page))) << page;
    }
    const std::string text = [&] {
        EXPECT_TRUE(WriteBmFont(typeface, scratch.File("t.fnt"), BmFontVariant::Text).Ok());
        return Text(ReadBytes(scratch.File("t.fnt")));
    }();
    EXPECT_NE(text.find("common lineHeight=20 base=16 scaleW=64 scaleH=32 pages=11 packed=0 "),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("page id=0 file=\"t_00.png\"\npage id=1 file=\"t_01.png\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("char id=75 x=0 y=2 width=9 height=20 xoffset=-1 yoffset=2 xadvance=10 "
                        "page=10 "),
              std::string::npos);
}

TEST(BmFontPages, RefusesWhatDoesNotFitItsPages) {
    const struct {
        const char* Name;
        void (*Change)(document::Typeface&);
        const char* Reason;
    } cases[] = {
        {"CellAcrossAnEdge",
         [](document::Typeface& t) { document::FindCharacter(t, 66)->Source.Y = 50; },
         "the cell of character 66 crosses the edge of a page of 64 x 32 pixels"},
        {"CellRightOfThePage",
         [](document::Typeface& t) { document::FindCharacter(t, 66)->Source.X = 60; },
         "the cell of character 66 crosses the edge"},
        {"PictureWiderThanAPage",
         [](document::Typeface& t) { t.Content.Properties[document::PageSizeProperty] = "32x32"; },
         "the picture is 64 pixels wide, wider than its pages of 32x32"},
    };
    for (const auto& c : cases) {
        ScratchFolder scratch;
        document::TypefaceRegistry registry;
        document::Typeface& typeface = MakePagedTypeface(registry, 3);
        c.Change(typeface);
        const base::Result<base::Done> saved =
            WriteBmFont(typeface, scratch.File("p.fnt"), BmFontVariant::Text);
        EXPECT_NE(saved.Error.find(c.Reason), std::string::npos) << c.Name << ": " << saved.Error;
        EXPECT_TRUE(std::filesystem::is_empty(scratch.Directory())) << c.Name;
    }
}

TEST(BmFontPages, WarnsAboutPicturesBeyondWhatBrowsersLoad) {
    const struct {
        std::int64_t Width, Height;
        const char* Warning; // empty: none
    } cases[] = {
        {4096, 4096, ""},
        {4097, 8,
         "the picture is 4097 x 8 pixels, more than the 4096 a side that browsers and "
         "many GPUs can load; pages of 4096 x 4096 would fit it"},
        {100, 5000, "pages of 128 x 128 would fit it (layout --compact --page-size 128"},
        {20, 9000, "pages of 64 x 64 would fit it"},
    };
    for (const auto& c : cases) {
        document::TypefaceRegistry registry;
        document::Typeface& typeface = MakeSampleTypeface(registry);
        document::SetCharacterSetImage(typeface, document::MakeImage(c.Width, c.Height, 0));
        const base::Result<BmFont> font = BmFontFromTypeface(typeface, "big");
        ASSERT_TRUE(font.Ok()) << font.Error;
        const std::string warnings = JoinWarnings(font.Warnings);
        if (std::string_view(c.Warning).empty()) {
            EXPECT_EQ(warnings.find("browsers"), std::string::npos) << warnings;
        } else {
            EXPECT_NE(warnings.find(c.Warning), std::string::npos) << warnings;
        }
    }
}

} // namespace
} // namespace glyfora::formats
