#include "CharacterRecords.h"
#include "document/TypefaceRepacking.h"

#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

constexpr std::uint32_t Ink = 0xFF102030U;

// A 32 × 16 transparent picture with ink at the given pixels.
Typeface& WithPicture(TypefaceRegistry& registry,
                      std::initializer_list<std::pair<std::int64_t, std::int64_t>> inked) {
    Typeface& typeface = *CreateTypeface(registry, 5);
    std::optional<Image> picture = MakeImage(32, 16, 0x00FFFFFFU);
    for (const auto& [x, y] : inked) {
        picture->At(x, y) = Ink;
    }
    SetCharacterSetImage(typeface, std::move(picture));
    return typeface;
}

using testsupport::Add;

TEST(TypefaceRepacking, CropsEachCellToItsInkAndMovesItsOffset) {
    struct Case {
        const char* Name;
        Rect64 Source;
        Rect64 Outlay;
        Rect64 ExpectedSize;   // X and Y unused: only the cropped size is fixed
        Rect64 ExpectedOutlay; // moved by the crop
    };
    // Ink at (3, 2), (5, 4) and (30, 15).
    const Case cases[] = {
        {"inside", {0, 0, 8, 8}, {1, 2, 9, 16}, {0, 0, 3, 3}, {4, 4, 9, 16}},
        {"ink on the edges", {3, 2, 3, 3}, {-1, 0, 4, 16}, {0, 0, 3, 3}, {-1, 0, 4, 16}},
        {"partly left of the picture", {-4, -4, 8, 8}, {0, 0, 4, 16}, {0, 0, 1, 1}, {7, 6, 4, 16}},
        {"partly below the picture", {28, 12, 8, 8}, {0, 0, 4, 16}, {0, 0, 1, 1}, {2, 3, 4, 16}},
        {"no ink", {10, 0, 8, 8}, {1, 2, 3, 16}, {0, 0, 0, 0}, {1, 2, 3, 16}},
        {"outside the picture", {40, 0, 8, 8}, {1, 2, 3, 16}, {0, 0, 0, 0}, {1, 2, 3, 16}},
        {"negative size", {8, 8, -4, 4}, {1, 2, 3, 16}, {0, 0, 0, 0}, {1, 2, 3, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TypefaceRegistry registry;
        Typeface& typeface = WithPicture(registry, {{3, 2}, {5, 4}, {30, 15}});
        Add(typeface, 65, c.Source, c.Outlay);
        AddKerningPair(typeface, 65, 65, -2);
        ASSERT_TRUE(PackCompactly(typeface, {}).Ok());
        const Character& a = *FindCharacter(typeface, 65);
        EXPECT_EQ(a.Source.Width, c.ExpectedSize.Width);
        EXPECT_EQ(a.Source.Height, c.ExpectedSize.Height);
        EXPECT_EQ(a.Outlay, c.ExpectedOutlay);
        EXPECT_EQ(KerningAmount(typeface, MakePairKey(65, 65)), -2);
        EXPECT_TRUE(typeface.Modified);
        // Sprite and its flipped copy were remade from the new picture.
        EXPECT_EQ(typeface.Content.Sprite, typeface.Content.Image);
        EXPECT_EQ(FlippedSpriteHeight(typeface.Content), typeface.Content.Image->Height);
        if (a.Source.Width == 0) {
            EXPECT_EQ(a.Source, (Rect64{}));
            EXPECT_EQ(typeface.Content.Image->Width, 1); // the smallest picture there is
        } else {
            EXPECT_EQ(typeface.Content.Image->At(a.Source.X, a.Source.Y), Ink);
        }
    }
}

TEST(TypefaceRepacking, SharedCellsStaySharedAndOverlappingCellsAreCopied) {
    TypefaceRegistry registry;
    Typeface& typeface = WithPicture(registry, {{3, 2}, {5, 4}, {6, 4}});
    Add(typeface, 65, {0, 0, 8, 8}, {});
    Add(typeface, 97, {0, 0, 8, 8}, {}); // the same cell, as "Copy up case to low case" leaves it
    Add(typeface, 66, {4, 3, 4, 4}, {}); // overlaps A's cell
    ASSERT_TRUE(PackCompactly(typeface, {0, 0, false, {}}).Ok());
    const Rect64 a = FindCharacter(typeface, 65)->Source;
    const Rect64 b = FindCharacter(typeface, 66)->Source;
    EXPECT_EQ(FindCharacter(typeface, 97)->Source, a);
    EXPECT_EQ(a.Width * a.Height, 4 * 3);
    EXPECT_EQ(b, (Rect64{b.X, b.Y, 2, 1}));
    EXPECT_FALSE(a.X < b.X + b.Width && b.X < a.X + a.Width && a.Y < b.Y + b.Height &&
                 b.Y < a.Y + a.Height);
    EXPECT_EQ(typeface.Content.Image->At(b.X + 1, b.Y), Ink);
}

TEST(TypefaceRepacking, RefusalsLeaveTheTypefaceAsItWas) {
    struct Case {
        const char* Name;
        bool Picture;
        bool Characters;
        PackingRules Rules;
        const char* Reason;
    };
    const Case cases[] = {
        {"no characters", true, false, {}, "There are no characters"},
        {"no picture", false, true, {}, "There is no character-set picture"},
        {"too narrow", true, true, {1, 2, false, {}}, "does not fit a picture 2 pixels wide"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        if (c.Picture) {
            SetCharacterSetImage(typeface, MakeImage(8, 8, Ink));
        }
        if (c.Characters) {
            Add(typeface, 65, {0, 0, 5, 5}, {1, 1, 6, 9});
        }
        const base::Result<base::Done> packed = PackCompactly(typeface, c.Rules);
        EXPECT_FALSE(packed.Ok());
        EXPECT_NE(packed.Error.find(c.Reason), std::string::npos) << packed.Error;
        EXPECT_FALSE(typeface.Modified);
        if (c.Characters) {
            EXPECT_EQ(FindCharacter(typeface, 65)->Source, (Rect64{0, 0, 5, 5}));
        }
        EXPECT_EQ(typeface.Content.Image != nullptr, c.Picture);
    }
}

TEST(CompactRepacking, PagesAreRecordedAndKeptByTheNextPacking) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    std::optional<Image> picture = MakeImage(200, 40, Ink);
    SetCharacterSetImage(typeface, std::move(picture));
    for (std::int64_t code = 65; code < 65 + 10; ++code) {
        Add(typeface, code, {(code - 65) * 20, 0, 20, 40}, {0, 0, 20, 40});
    }
    PackingRules rules;
    rules.Pages = PageSize{64, 64};
    ASSERT_TRUE(PackCompactly(typeface, rules).Ok());
    EXPECT_EQ(PropertyValue(typeface, PageSizeProperty), "64x64");
    // 10 cells of 20 x 40 with a gutter: three to a page.
    EXPECT_EQ(typeface.Content.Image->Width, 64);
    EXPECT_EQ(typeface.Content.Image->Height, 4 * 64);

    // Without a page size of its own the packing keeps the typeface's.
    ASSERT_TRUE(PackCompactly(typeface, PackingRules{}).Ok());
    EXPECT_EQ(typeface.Content.Image->Height, 4 * 64);
    for (const Character& character : typeface.Content.Characters) {
        EXPECT_EQ(character.Source.Y / 64, (character.Source.Y + character.Source.Height - 1) / 64)
            << character.Index;
    }
    rules.Pages = PageSize{128, 64};
    ASSERT_TRUE(PackCompactly(typeface, rules).Ok());
    EXPECT_EQ(PropertyValue(typeface, PageSizeProperty), "128x64");
    EXPECT_EQ(typeface.Content.Image->Height, 2 * 64);

    // A recorded page smaller than a cell refuses and leaves the typeface as it was.
    PropertyValue(typeface, PageSizeProperty) = "16x16";
    const base::Result<base::Done> refused = PackCompactly(typeface, PackingRules{});
    EXPECT_NE(refused.Error.find("does not fit a page of 16 x 16"), std::string::npos)
        << refused.Error;
    EXPECT_EQ(typeface.Content.Image->Height, 2 * 64);
}

} // namespace
} // namespace glyfora::document
