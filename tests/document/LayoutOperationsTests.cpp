#include "CharacterRecords.h"
#include "document/LayoutOperations.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace glyfora::document {
namespace {

using testsupport::Add;

std::vector<std::int64_t> Codes(const Typeface& typeface) {
    std::vector<std::int64_t> codes;
    for (const Character& character : typeface.Content.Characters) {
        codes.push_back(character.Index);
    }
    return codes;
}

// Every list record is the one CharacterIndex names for its code, and every slot names a record
// of the list.
void ExpectIndexMatchesList(const Typeface& typeface) {
    std::size_t filled = 0;
    for (const Character& character : typeface.Content.Characters) {
        EXPECT_EQ(FindCharacter(typeface, character.Index), &character) << character.Index;
    }
    for (std::int64_t code = 0; code < CharacterCodeCount; ++code) {
        filled += FindCharacter(typeface, code) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(filled, typeface.Content.Characters.Size());
}

TEST(CopyUpperToLower, AddsMissingLowerCaseAsCopyOfUpperCase) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 66, {10, 20, 7, 9}, {1, 2, 8, 12});

    EXPECT_EQ(CopyUpperToLower(typeface, 97, 122, 0), 1);

    const Character* b = FindCharacter(typeface, 98);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Index, 98);
    EXPECT_EQ(b->Source, (Rect64{10, 20, 7, 9}));
    EXPECT_EQ(b->Outlay, (Rect64{1, 2, 8, 12}));
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{66, 98}));
    EXPECT_TRUE(typeface.Modified);
    ExpectIndexMatchesList(typeface);
}

TEST(CopyUpperToLower, ReplacesAnExistingLowerCaseRecord) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 98, {99, 99, 1, 1});
    Add(typeface, 66, {10, 20, 7, 9});
    Add(typeface, 67, {30, 20, 6, 9});

    EXPECT_EQ(CopyUpperToLower(typeface, 97, 122, 0), 2);

    // The old 'b' went first; the copies follow the element current at that moment.
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{98, 99, 66, 67}));
    EXPECT_EQ(FindCharacter(typeface, 98)->Source, (Rect64{10, 20, 7, 9}));
    EXPECT_EQ(FindCharacter(typeface, 99)->Source, (Rect64{30, 20, 6, 9}));
    ExpectIndexMatchesList(typeface);
}

TEST(CopyUpperToLower, LeavesLowerCaseAloneWhenUpperCaseIsMissing) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 113, {5, 6, 7, 8}, {1, 1, 1, 1}); // 'q' without 'Q'

    EXPECT_EQ(CopyUpperToLower(typeface, 97, 122, 0), 0);

    EXPECT_EQ(FindCharacter(typeface, 113)->Source, (Rect64{5, 6, 7, 8}));
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{113}));
    EXPECT_FALSE(typeface.Modified);
}

TEST(CopyUpperToLower, UmlautsMoveTheirCellsDown) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 196, {40, 100, 9, 14}, {0, 1, 10, 16}); // Ä
    Add(typeface, 215, {60, 100, 8, 14});                 // ×
    Add(typeface, 223, {80, 100, 8, 14});                 // ß
    Add(typeface, 65, {0, 0, 8, 14});                     // 'A' is outside 192..223

    EXPECT_EQ(CopyUpperToLower(typeface, 224, 255, 64), 3);

    const Character* aUmlaut = FindCharacter(typeface, 228);
    ASSERT_NE(aUmlaut, nullptr);
    EXPECT_EQ(aUmlaut->Source, (Rect64{40, 164, 9, 14}));
    EXPECT_EQ(aUmlaut->Outlay, (Rect64{0, 1, 10, 16}));
    ASSERT_NE(FindCharacter(typeface, 247), nullptr);
    EXPECT_EQ(FindCharacter(typeface, 247)->Source, (Rect64{60, 164, 8, 14}));
    ASSERT_NE(FindCharacter(typeface, 255), nullptr);
    EXPECT_EQ(FindCharacter(typeface, 255)->Source, (Rect64{80, 164, 8, 14}));
    EXPECT_EQ(FindCharacter(typeface, 97), nullptr);
    EXPECT_EQ(FindCharacter(typeface, 196)->Source.Y, 100); // the original stays
    ExpectIndexMatchesList(typeface);
}

TEST(CopyUpperToLower, CodesOutsideTheCodeRangeAreSkipped) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 0, {1, 1, 1, 1});
    Add(typeface, 65535, {2, 2, 2, 2});
    EXPECT_EQ(CopyUpperToLower(typeface, -100, 31, 0), 0);
    EXPECT_EQ(CopyUpperToLower(typeface, 65536, 70000, 0), 0);
    EXPECT_EQ(CopyUpperToLower(typeface, 32, 32, 0), 1);
    EXPECT_EQ(FindCharacter(typeface, 32)->Source, (Rect64{1, 1, 1, 1}));
    ExpectIndexMatchesList(typeface);
}

TEST(ScaleLayout, ScalesEveryMetricAndAmount) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 65, {10, -20, 5, 7}, {-3, 4, 9, 16});
    AddKerningPair(typeface, 65, 86, -3);

    ASSERT_TRUE(ScaleLayout(typeface, 2.0F).Ok());
    const Character& a = *FindCharacter(typeface, 65);
    EXPECT_EQ(a.Index, 65);
    EXPECT_EQ(a.Source, (Rect64{20, -40, 10, 14}));
    EXPECT_EQ(a.Outlay, (Rect64{-6, 8, 18, 32}));
    EXPECT_EQ(typeface.Content.KerningPairs.begin()->Amount, -6);
    EXPECT_TRUE(typeface.Modified);
}

TEST(ScaleLayout, RoundsHalvesToEven) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 65, {5, 7, 5, 7}, {-5, -7, 3, 1});
    AddKerningPair(typeface, 65, 86, -3);
    AddKerningPair(typeface, 65, 87, 9);

    ASSERT_TRUE(ScaleLayout(typeface, 0.5F).Ok());
    const Character& a = *FindCharacter(typeface, 65);
    EXPECT_EQ(a.Source, (Rect64{2, 4, 2, 4}));
    EXPECT_EQ(a.Outlay, (Rect64{-2, -4, 2, 0}));
    std::vector<std::int64_t> amounts;
    for (const KerningPair& pair : typeface.Content.KerningPairs) {
        amounts.push_back(pair.Amount);
    }
    EXPECT_EQ(amounts, (std::vector<std::int64_t>{-2, 4}));
}

TEST(ScaleLayout, MultipliesAsThirtyTwoBitFloats) {
    // Exact halves of the float product go to even; 5 × 0.1 is 0.5 in float, not 0.50000000745.
    const struct {
        float Scale;
        std::int64_t From[4];
        std::int64_t To[4];
    } cases[] = {
        {0.1F, {5, 25, 45, 65}, {0, 2, 4, 6}},
        {0.1F, {-5, -25, 15, 35}, {0, -2, 2, 4}},
        {1.0F, {16'777'217, -16'777'217, 3, 0}, {16'777'216, -16'777'216, 3, 0}},
    };
    for (const auto& c : cases) {
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        Add(typeface, 65, {c.From[0], c.From[1], c.From[2], c.From[3]});
        ASSERT_TRUE(ScaleLayout(typeface, c.Scale).Ok());
        EXPECT_EQ(FindCharacter(typeface, 65)->Source, (Rect64{c.To[0], c.To[1], c.To[2], c.To[3]}))
            << c.Scale << " × " << c.From[0];
    }
}

TEST(ScaleLayout, ResultsBeyond32BitsAreRefusedWithNothingChanged) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 65, {1, 2, 3, 4}, {5, 6, 7, 8});
    Add(typeface, 66, {1, 2, 3, 4}, {5, 6, 7, 1'100'000'000});
    AddKerningPair(typeface, 65, 66, 3);

    const base::Result<base::Done> outcome = ScaleLayout(typeface, 2.0F);
    EXPECT_FALSE(outcome.Ok());
    EXPECT_FALSE(outcome.Error.empty());
    EXPECT_EQ(FindCharacter(typeface, 65)->Source, (Rect64{1, 2, 3, 4}));
    EXPECT_EQ(FindCharacter(typeface, 66)->Outlay.Height, 1'100'000'000);
    EXPECT_EQ(typeface.Content.KerningPairs.begin()->Amount, 3);
    EXPECT_FALSE(typeface.Modified);

    // The limits themselves are fine; one past them is not, also for the kerning amount.
    FindCharacter(typeface, 66)->Outlay.Height = 1;
    typeface.Content.KerningPairs.begin()->Amount = std::numeric_limits<std::int32_t>::min();
    EXPECT_TRUE(ScaleLayout(typeface, 1.0F).Ok());
    EXPECT_FALSE(ScaleLayout(typeface, -1.0F).Ok());
    EXPECT_EQ(typeface.Content.KerningPairs.begin()->Amount,
              std::numeric_limits<std::int32_t>::min());
}

TEST(ScaleLayout, NonFiniteScalesAreRefused) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 65, {0, 0, 0, 0});
    for (const float scale :
         {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_FALSE(ScaleLayout(typeface, scale).Ok());
    }
    EXPECT_FALSE(typeface.Modified);
}

TEST(ScaleLayout, ScaleOneIsNoChange) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 65, {1, 2, 3, 4}, {5, 6, 7, 8});
    EXPECT_TRUE(ScaleLayout(typeface, 1.0F).Ok());
    EXPECT_EQ(FindCharacter(typeface, 65)->Outlay, (Rect64{5, 6, 7, 8}));
    EXPECT_FALSE(typeface.Modified);
}

// A picture whose pixels all differ, so any misplaced copy shows.
Image NumberedPicture(std::int64_t width, std::int64_t height) {
    Image picture = *MakeImage(width, height);
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            picture.At(x, y) = 0xFF000000U | static_cast<std::uint32_t>(y * width + x + 1);
        }
    }
    return picture;
}

TEST(SpacingLayout, ZeroChangesNothing) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    const Image picture = NumberedPicture(64, 32);
    SetCharacterSetImage(typeface, picture);
    const Sprite sprite = typeface.Content.Sprite;
    Add(typeface, 17, {4, 4, 4, 4}, {1, 2, 5, 9});

    EXPECT_TRUE(SpacingLayout(typeface, 0).Ok());
    EXPECT_EQ(typeface.Content.Image->Pixels, picture.Pixels);
    EXPECT_EQ(typeface.Content.Image->Width, 64);
    EXPECT_EQ(typeface.Content.Sprite, sprite);
    EXPECT_EQ(FindCharacter(typeface, 17)->Source, (Rect64{4, 4, 4, 4}));
    EXPECT_EQ(FindCharacter(typeface, 17)->Outlay, (Rect64{1, 2, 5, 9}));
    EXPECT_FALSE(typeface.Modified);
}

TEST(SpacingLayout, SpreadsTheGridAndMovesEachCellWithItsPixels) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    const Image picture = NumberedPicture(512, 256);
    SetCharacterSetImage(typeface, picture);
    Add(typeface, 17, {32, 16, 5, 6}, {1, 2, 7, 12}); // column 1, row 1
    Add(typeface, 0, {0, 0, 3, 3});

    ASSERT_TRUE(SpacingLayout(typeface, 2).Ok());

    const Image& spread = *typeface.Content.Image;
    EXPECT_EQ(spread.Width, 576);
    EXPECT_EQ(spread.Height, 320);
    const Character& c17 = *FindCharacter(typeface, 17);
    EXPECT_EQ(c17.Source, (Rect64{36, 20, 9, 10}));
    EXPECT_EQ(c17.Outlay, (Rect64{-1, 0, 7, 12}));
    EXPECT_EQ(FindCharacter(typeface, 0)->Source, (Rect64{0, 0, 7, 7}));
    EXPECT_EQ(FindCharacter(typeface, 0)->Outlay, (Rect64{-2, -2, 0, 0}));

    // The grown cell holds the old pixels two pixels in from each side and nothing else.
    for (std::int64_t y = 0; y < c17.Source.Height; ++y) {
        for (std::int64_t x = 0; x < c17.Source.Width; ++x) {
            const bool inner = x >= 2 && x < 7 && y >= 2 && y < 8;
            const std::uint32_t expected = inner ? picture.At(32 + x - 2, 16 + y - 2) : 0;
            ASSERT_EQ(spread.At(c17.Source.X + x, c17.Source.Y + y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(spread.At(2, 2), picture.At(0, 0));
    EXPECT_EQ(spread.At(500, 300), 0U); // outside every cell: transparent
    ASSERT_NE(typeface.Content.Sprite, nullptr);
    EXPECT_EQ(typeface.Content.Sprite->Pixels, spread.Pixels);
    ASSERT_NE(FlippedSprite(typeface.Content), nullptr);
    EXPECT_EQ(FlippedSprite(typeface.Content)->At(2, 317), picture.At(0, 0));
    EXPECT_TRUE(typeface.Modified);
}

TEST(SpacingLayout, CellsOutsideThePictureOrWithoutSizeCopyOnlyWhatThePictureHolds) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    const Image picture = NumberedPicture(32, 16);
    SetCharacterSetImage(typeface, picture);
    Add(typeface, 1, {-2, -1, 4, 3});     // hangs over the top left corner
    Add(typeface, 2, {30, 14, 10, 10});   // hangs over the bottom right corner
    Add(typeface, 3, {5, 5, 0, 4});       // no width
    Add(typeface, 4, {5, 5, -3, -3});     // negative size
    Add(typeface, 5, {1000, 1000, 4, 4}); // entirely outside
    constexpr std::int64_t Far = std::numeric_limits<std::int64_t>::max() / 2;
    Add(typeface, 6, {Far, Far, 3, 3});
    ASSERT_TRUE(SpacingLayout(typeface, 1).Ok());

    const Image& spread = *typeface.Content.Image;
    ASSERT_EQ(spread.Width, 64);
    ASSERT_EQ(spread.Height, 48);
    std::int64_t opaque = 0;
    for (const std::uint32_t pixel : spread.Pixels) {
        opaque += pixel != 0 ? 1 : 0;
    }
    // Character 1: the 2 × 2 part inside, moved by (2, 0) + 1; character 2: its 2 × 2 part.
    EXPECT_EQ(opaque, 8);
    EXPECT_EQ(spread.At(0 + 2 + 1, 0 + 0 + 1), picture.At(0, 0));
    EXPECT_EQ(spread.At(1 + 2 + 1, 1 + 0 + 1), picture.At(1, 1));
    EXPECT_EQ(spread.At(30 + 4 + 1, 14 + 0 + 1), picture.At(30, 14));
    EXPECT_EQ(spread.At(31 + 4 + 1, 15 + 0 + 1), picture.At(31, 15));
    EXPECT_EQ(FindCharacter(typeface, 4)->Source, (Rect64{5 + 8, 5, -1, -1}));
}

TEST(SpacingLayout, NegativeSpacingShrinksTheGrid) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    const Image picture = NumberedPicture(64, 64);
    SetCharacterSetImage(typeface, picture);
    Add(typeface, 1, {4, 1, 3, 3}, {0, 0, 4, 4}); // grown by 1 earlier: content at (5, 2)

    ASSERT_TRUE(SpacingLayout(typeface, -1).Ok());
    EXPECT_EQ(typeface.Content.Image->Width, 32);
    EXPECT_EQ(FindCharacter(typeface, 1)->Source, (Rect64{2, 1, 1, 1}));
    EXPECT_EQ(FindCharacter(typeface, 1)->Outlay, (Rect64{1, 1, 4, 4}));
    // The pixel in the middle of the old cell is the whole new cell.
    EXPECT_EQ(typeface.Content.Image->At(2, 1), picture.At(5, 2));
}

TEST(SpacingLayout, RefusesWhatCannotBeBuiltAndChangesNothing) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Add(typeface, 65, {1, 2, 3, 4}, {5, 6, 7, 8});

    const base::Result<base::Done> withoutPicture = SpacingLayout(typeface, 1);
    EXPECT_FALSE(withoutPicture.Ok());
    EXPECT_FALSE(withoutPicture.Error.empty());

    const Image picture = NumberedPicture(64, 32);
    SetCharacterSetImage(typeface, picture);
    const Sprite sprite = typeface.Content.Sprite;
    // Too large for the picture limit, negative or empty, and overflowing the size arithmetic.
    for (const std::int64_t spacing :
         {std::int64_t{1} << 14, std::int64_t{-2}, std::int64_t{-1},
          std::numeric_limits<std::int64_t>::max() / 4, std::numeric_limits<std::int64_t>::min()}) {
        SCOPED_TRACE(spacing);
        const base::Result<base::Done> outcome = SpacingLayout(typeface, spacing);
        EXPECT_FALSE(outcome.Ok());
        EXPECT_FALSE(outcome.Error.empty());
    }
    // A metric that would overflow refuses the whole command.
    Add(typeface, 66, {std::numeric_limits<std::int64_t>::max() - 1, 0, 1, 1});
    EXPECT_FALSE(SpacingLayout(typeface, 1).Ok());

    EXPECT_EQ(typeface.Content.Image->Pixels, picture.Pixels);
    EXPECT_EQ(typeface.Content.Sprite, sprite);
    EXPECT_EQ(FindCharacter(typeface, 65)->Source, (Rect64{1, 2, 3, 4}));
    EXPECT_EQ(FindCharacter(typeface, 65)->Outlay, (Rect64{5, 6, 7, 8}));
    EXPECT_FALSE(typeface.Modified);
}

TEST(SpacingLayout, OverlappingCellsAreBlended) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Image picture = *MakeImage(32, 16);
    picture.At(0, 0) = 0x800000FFU; // half-transparent red
    picture.At(2, 0) = 0xFFFF0000U; // opaque blue
    SetCharacterSetImage(typeface, picture);
    // Code 0's blue moves by (0, 0) + 1 and code 1's red by (2, 0) + 1: both land on (3, 1),
    // the red drawn last, over the blue.
    Add(typeface, 0, {2, 0, 1, 1});
    Add(typeface, 1, {0, 0, 1, 1});
    ASSERT_TRUE(SpacingLayout(typeface, 1).Ok());
    EXPECT_EQ(typeface.Content.Image->At(3, 1), 0xFF7F0080U);
}

} // namespace
} // namespace glyfora::document
