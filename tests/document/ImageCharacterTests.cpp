#include "CharacterRecords.h"
#include "document/ImageCharacter.h"

#include <gtest/gtest.h>
#include <vector>

namespace glyfora::document {
namespace {

constexpr std::uint32_t Ink = 0xFF0000FFU;
constexpr std::uint32_t Icon = 0x80336699U; // half-transparent, coloured

Image IconPicture(std::int64_t width, std::int64_t height) {
    return *MakeImage(width, height, Icon);
}

using testsupport::Add;

TEST(ImageCharacter, GoesIntoFreeSpaceOrGrowsThePicture) {
    struct Case {
        const char* Name;
        std::int64_t Code;
        std::int64_t StrayX; // a pixel with ink outside every cell; -1 for none
        std::int64_t IconWidth, IconHeight;
        Rect64 ExpectedSource;
        std::int64_t ExpectedWidth, ExpectedHeight; // of the picture afterwards
    };
    // A 16 × 8 picture holding A at (0, 0, 4, 4) and B at (10, 0, 6, 8), gutter 1.
    const Case cases[] = {
        {"beside A", 67, -1, 3, 2, {5, 0, 3, 2}, 16, 8},
        {"stray ink moves it down", 67, 6, 3, 2, {5, 2, 3, 2}, 16, 8},
        {"below A, the top row being too narrow", 67, -1, 5, 3, {0, 5, 5, 3}, 16, 8},
        {"A's own cell, when A is replaced", 65, -1, 4, 4, {0, 0, 4, 4}, 16, 8},
        {"no room: the picture grows", 67, -1, 7, 4, {0, 9, 7, 4}, 16, 13},
        {"wider than the picture", 67, -1, 20, 2, {0, 9, 20, 2}, 20, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        std::optional<Image> picture = MakeImage(16, 8, 0);
        for (const Rect64 cell : {Rect64{0, 0, 4, 4}, Rect64{10, 0, 6, 8}}) {
            for (std::int64_t y = cell.Y; y < cell.Y + cell.Height; ++y) {
                for (std::int64_t x = cell.X; x < cell.X + cell.Width; ++x) {
                    picture->At(x, y) = Ink;
                }
            }
        }
        if (c.StrayX >= 0) {
            picture->At(c.StrayX, 1) = Ink;
        }
        SetCharacterSetImage(typeface, std::move(picture));
        Add(typeface, 65, {0, 0, 4, 4});
        Add(typeface, 66, {10, 0, 6, 8});
        ASSERT_TRUE(
            AddImageCharacter(typeface, c.Code, IconPicture(c.IconWidth, c.IconHeight), {}).Ok());
        const Character& added = *FindCharacter(typeface, c.Code);
        EXPECT_EQ(added.Source, c.ExpectedSource);
        const Image& result = *typeface.Content.Image;
        EXPECT_EQ(result.Width, c.ExpectedWidth);
        EXPECT_EQ(result.Height, c.ExpectedHeight);
        EXPECT_EQ(result.At(added.Source.X, added.Source.Y), Icon);
        EXPECT_EQ(result.At(added.Source.X + added.Source.Width - 1,
                            added.Source.Y + added.Source.Height - 1),
                  Icon);
        EXPECT_EQ(result.At(12, 7), Ink); // B's pixels are kept
        EXPECT_EQ(typeface.Content.Characters.Size(), c.Code == 65 ? 2U : 3U);
        EXPECT_EQ(typeface.Content.Sprite, typeface.Content.Image);
        EXPECT_TRUE(typeface.Modified);
    }
}

TEST(ImageCharacter, OutlayTakesOffsetAdvanceAndLineHeight) {
    struct Case {
        const char* Name;
        bool Space;
        ImagePlacement Placement;
        Rect64 Expected;
    };
    const Case cases[] = {
        {"defaults, no space", false, {}, {0, 0, 5, 3}},
        {"offset and advance", false, {-2, 4, 9, 1}, {-2, 4, 9, 3}},
        {"line height of the space", true, {1, 2, std::nullopt, 1}, {1, 2, 5, 24}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        if (c.Space) {
            Add(typeface, 32, {}, {0, 0, 7, 24});
        }
        ASSERT_TRUE(AddImageCharacter(typeface, 0xE000, IconPicture(5, 3), c.Placement).Ok());
        EXPECT_EQ(FindCharacter(typeface, 0xE000)->Outlay, c.Expected);
        // Without a picture before, the picture is the icon's.
        EXPECT_EQ(typeface.Content.Image->Width, 5);
        EXPECT_EQ(typeface.Content.Image->Height, 3);
    }
}

TEST(ImageCharacter, RefusalsChangeNothing) {
    struct Case {
        std::int64_t Code;
        std::int64_t Width, Height;
        const char* Reason;
    };
    const Case cases[] = {
        {65536, 2, 2, "outside 0..65535"},
        {-1, 2, 2, "outside 0..65535"},
        {65, 0, 0, "no pixels"},
        {65, 16384, 1, "size limit"}, // the grown picture would be 16384 x 16386
    };
    for (const Case& c : cases) {
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        SetCharacterSetImage(typeface, MakeImage(1, 16384, Ink));
        Image picture;
        picture.Width = c.Width;
        picture.Height = c.Height;
        picture.Pixels.assign(static_cast<std::size_t>(c.Width * c.Height), Icon);
        const base::Result<base::Done> added = AddImageCharacter(typeface, c.Code, picture, {});
        EXPECT_FALSE(added.Ok());
        EXPECT_NE(added.Error.find(c.Reason), std::string::npos) << added.Error;
        EXPECT_EQ(typeface.Content.Image->Height, 16384);
        EXPECT_EQ(typeface.Content.Characters.Size(), 0U);
        EXPECT_FALSE(typeface.Modified);
    }
}

// A picture nothing else holds is changed where it is, one that is held (by undo, say) is copied;
// either way the typeface gets a new picture object.
TEST(ImageCharacter, ChangesAPictureNothingElseHoldsInPlace) {
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held elsewhere" : "held by the typeface alone");
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        SetCharacterSetImage(typeface, MakeImage(16, 8, 0));
        Add(typeface, 65, {0, 0, 4, 4});
        const std::uint32_t* pixels = typeface.Content.Image->Pixels.data();
        std::shared_ptr<const Image> before = held ? typeface.Content.Image : nullptr;
        ASSERT_TRUE(AddImageCharacter(typeface, 66, IconPicture(3, 2), {}).Ok());
        EXPECT_EQ(typeface.Content.Image->Pixels.data() == pixels, !held);
        EXPECT_EQ(typeface.Content.Image->At(5, 0), Icon);
        EXPECT_EQ(typeface.Content.Sprite, typeface.Content.Image);
        if (held) {
            EXPECT_NE(before, typeface.Content.Image);
            EXPECT_EQ(before->At(5, 0), 0u);
        }
    }
}

TEST(ImageCharacter, ProposesTheFirstFreePrivateUseCode) {
    struct Case {
        const char* Name;
        std::vector<std::int64_t> Taken;
        std::int64_t Expected;
    };
    std::vector<std::int64_t> wholeArea;
    for (std::int64_t code = 0xE000; code <= 0xF8FF; ++code) {
        wholeArea.push_back(code);
    }
    std::vector<std::int64_t> everything;
    for (std::int64_t code = 0; code <= 0xFFFF; ++code) {
        everything.push_back(code);
    }
    std::vector<std::int64_t> areaAndLow = wholeArea;
    areaAndLow.insert(areaAndLow.end(), {1, 2, 65});
    const Case cases[] = {
        {"empty typeface", {}, 0xE000},
        {"letters do not matter", {65, 66, 32}, 0xE000},
        {"next after the taken ones", {0xE000, 0xE001, 0xE003}, 0xE002},
        {"area full: lowest free code", areaAndLow, 3},
        {"nothing free", everything, -1},
    };
    for (const Case& c : cases) {
        Typeface typeface;
        for (const std::int64_t code : c.Taken) {
            AddCharacter(typeface, code);
        }
        EXPECT_EQ(FreeImageCode(typeface), c.Expected) << c.Name;
    }
}

} // namespace
} // namespace glyfora::document
