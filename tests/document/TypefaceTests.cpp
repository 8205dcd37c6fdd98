#include "document/Typeface.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::document {
namespace {

std::vector<std::int64_t> Codes(const Typeface& typeface) {
    std::vector<std::int64_t> codes;
    for (const Character& character : typeface.Content.Characters) {
        codes.push_back(character.Index);
    }
    return codes;
}

TEST(TypefaceRegistry, CreateReplacesOnlyItsOwnIdAndRefusesOutOfRange) {
    TypefaceRegistry registry;
    Typeface* first = CreateTypeface(registry, 5);
    ASSERT_NE(first, nullptr);
    AddCharacter(*first, 65);
    Typeface* other = CreateTypeface(registry, 7);
    AddCharacter(*other, 66);

    Typeface* second = CreateTypeface(registry, 5);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->Content.Characters.Empty());
    EXPECT_EQ(TypefaceFromId(registry, 5), second);
    EXPECT_EQ(TypefaceFromId(registry, 7), other);
    EXPECT_EQ(Codes(*other), std::vector<std::int64_t>{66});

    EXPECT_EQ(CreateTypeface(registry, 65536), nullptr);
    EXPECT_EQ(CreateTypeface(registry, -2), nullptr);
    EXPECT_EQ(TypefaceFromId(registry, 6), nullptr);
    EXPECT_EQ(TypefaceFromId(registry, 100000), nullptr);
    EXPECT_EQ(TypefaceFromId(registry, DefaultTypefaceId), &registry.Default);

    FreeTypeface(registry, &registry.Default); // never freed
    EXPECT_EQ(TypefaceFromId(registry, DefaultTypefaceId), &registry.Default);
    FreeTypeface(registry, second);
    EXPECT_EQ(TypefaceFromId(registry, 5), nullptr);
}

TEST(TypefaceRegistry, NewTypefaceIsEmptyAndCopiesDefaultsWithoutClipRect) {
    TypefaceRegistry registry;
    registry.Default.Settings.Scale = 2.0F;
    registry.Default.Settings.ClipRect = {1.0F, 2.0F, 3.0F, 4.0F};
    Typeface* typeface = CreateTypeface(registry, 5);
    ASSERT_NE(typeface, nullptr);
    EXPECT_EQ(typeface->Settings.Scale, 2.0F);
    EXPECT_EQ(typeface->Settings.ClipRect[2], 0.0F);
    EXPECT_TRUE(typeface->Content.KerningPairs.Empty());
    EXPECT_TRUE(typeface->Content.Properties.empty());
    EXPECT_FALSE(typeface->Content.Image != nullptr);
    EXPECT_EQ(FindCharacter(*typeface, 65), nullptr);
    EXPECT_EQ(FindCharacter(*typeface, 70000), nullptr);
    EXPECT_EQ(KerningAmount(*typeface, MakePairKey(65, 86)), 0);
}

TEST(TypefaceModel, NewElementsGoAfterTheCurrentOne) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    const Character& p = AddCharacter(typeface, 'P');
    AddCharacter(typeface, 'Q');
    AddCharacter(typeface, 'R');
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{'P', 'Q', 'R'}));

    ASSERT_TRUE(typeface.Content.Characters.MakeCurrent(&p));
    AddCharacter(typeface, 'S');
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{'P', 'S', 'Q', 'R'}));

    // Deleting makes the previous element current; deleting the first leaves none current,
    // so the next insert goes to the front.
    typeface.Content.Characters.DeleteCurrent();
    AddCharacter(typeface, 'T');
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{'P', 'T', 'Q', 'R'}));
    ASSERT_TRUE(typeface.Content.Characters.MakeCurrent(&p));
    typeface.Content.Characters.DeleteCurrent();
    AddCharacter(typeface, 'U');
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{'U', 'T', 'Q', 'R'}));
}

TEST(TypefaceModel, LaterCharacterWithSameCodeTakesTheSlotAndSortKeepsRecords) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    Character& first = AddCharacter(typeface, 66);
    Character& second = AddCharacter(typeface, 65);
    Character& third = AddCharacter(typeface, 66);
    EXPECT_EQ(typeface.Content.Characters.Size(), 3U);
    EXPECT_EQ(FindCharacter(typeface, 66), &third);

    SortCharacters(typeface);
    EXPECT_EQ(Codes(typeface), (std::vector<std::int64_t>{65, 66, 66}));
    EXPECT_EQ(FindCharacter(typeface, 65), &second);
    EXPECT_EQ(FindCharacter(typeface, 66), &third);

    // After sorting, RebuildIndexes enters records in list order; the stable sort keeps the
    // later-added 66 last, so it keeps the slot.
    RebuildIndexes(typeface);
    EXPECT_EQ(FindCharacter(typeface, 66), &third);
    first.Index = 67;
    RebuildIndexes(typeface);
    EXPECT_EQ(FindCharacter(typeface, 67), &first);
    EXPECT_EQ(FindCharacter(typeface, 66), &third);
}

TEST(TypefaceModel, KerningLookupFindsTheFirstPairOfAKeyInItsBucket) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    const std::int64_t key = MakePairKey('A', 'V');
    AddKerningPair(typeface, 'A', 'V', -3);
    AddKerningPair(typeface, 'A', 'V', 7);
    // Keys differing by a multiple of 701 share the bucket.
    AddKerningPair(typeface, (key + 701) >> 16, (key + 701) & 0xFFFF, 5);
    AddKerningPair(typeface, (key - 701 * 3) >> 16, (key - 701 * 3) & 0xFFFF, 9);
    EXPECT_EQ(KerningAmount(typeface, key), -3);
    EXPECT_EQ(KerningAmount(typeface, key + 701), 5);
    EXPECT_EQ(KerningAmount(typeface, key - 701 * 3), 9);
    EXPECT_EQ(KerningAmount(typeface, key + 1), 0);

    // Codes are unsigned 16-bit.
    const KerningPair& wide = AddKerningPair(typeface, 0x14E00, -1, 1);
    EXPECT_EQ(PairLeft(wide), 0x4E00);
    EXPECT_EQ(PairRight(wide), 0xFFFF);

    // Rebuilding after a sort keeps list order in each chain: the first in list order wins.
    SortKerningPairs(typeface);
    RebuildIndexes(typeface);
    EXPECT_EQ(KerningAmount(typeface, key), -3);
    EXPECT_EQ(KerningAmount(typeface, 0x4E00FFFF), 1);
}

TEST(TypefaceModel, BucketChainsKeepAddingOrderAcrossRebuilds) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    auto add = [&](std::int64_t key, std::int64_t amount) {
        AddKerningPair(typeface, key >> 16, key & 0xFFFF, amount);
    };
    auto chain = [&](std::int64_t bucket) {
        std::vector<std::int64_t> amounts;
        for (const KerningPair* pair = typeface.Content.KerningTable[bucket]; pair != nullptr;
             pair = pair->NextInBucket) {
            amounts.push_back(pair->Amount);
        }
        return amounts;
    };
    // Steps: add to bucket 3, rebuild, add again; each chain must read in list order.
    add(3, 1);
    add(3 + 701, 2);
    add(3, 3); // same key again: the first one stays the answer
    add(4, 9);
    EXPECT_EQ(chain(3), (std::vector<std::int64_t>{1, 2, 3}));
    RebuildIndexes(typeface);
    add(3 + 701 * 2, 4);
    EXPECT_EQ(chain(3), (std::vector<std::int64_t>{1, 2, 3, 4}));
    EXPECT_EQ(chain(4), (std::vector<std::int64_t>{9}));
    EXPECT_EQ(KerningAmount(typeface, 3), 1);
    typeface.Content.KerningPairs.Items.pop_front();
    typeface.Content.KerningPairs.Current = typeface.Content.KerningPairs.Items.end();
    RebuildIndexes(typeface);
    add(3, 5); // inserted at the front of the list, but appended to its chain
    EXPECT_EQ(chain(3), (std::vector<std::int64_t>{2, 3, 4, 5}));
    EXPECT_EQ(KerningAmount(typeface, 3), 3);
}

TEST(TypefaceModel, FlippedSpriteReversesRows) {
    const auto flippedRows = [](std::int64_t height) {
        TypefaceRegistry registry;
        Typeface& typeface = *CreateTypeface(registry, 5);
        Image image = *MakeImage(2, height);
        for (std::int64_t y = 0; y < height; ++y) {
            image.At(0, y) = static_cast<std::uint32_t>(y);
            image.At(1, y) = static_cast<std::uint32_t>(y + 100);
        }
        SetCharacterSetImage(typeface, image);
        EXPECT_EQ(FlippedSpriteHeight(typeface.Content), height);
        std::vector<std::uint32_t> rows;
        for (std::int64_t y = 0; y < height; ++y) {
            rows.push_back(FlippedSprite(typeface.Content)->At(0, y));
            EXPECT_EQ(FlippedSprite(typeface.Content)->At(1, y), rows.back() + 100);
        }
        return rows;
    };
    EXPECT_EQ(flippedRows(1), (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(flippedRows(2), (std::vector<std::uint32_t>{1, 0}));
    EXPECT_EQ(flippedRows(5), (std::vector<std::uint32_t>{4, 3, 2, 1, 0}));

    TypefaceRegistry registry;
    Typeface& empty = *CreateTypeface(registry, 5);
    SetCharacterSetImage(empty, std::nullopt);
    EXPECT_EQ(empty.Content.Sprite, nullptr);
    EXPECT_EQ(FlippedSprite(empty.Content), nullptr);
    EXPECT_EQ(FlippedSpriteHeight(empty.Content), 0);
}

// The copy costs memory only once asked for, stays one object while the picture stays, and
// follows the picture however Sprite was replaced.
TEST(TypefaceModel, FlippedSpriteIsMadeOnDemandAndFollowsSprite) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    SetCharacterSetImage(typeface, MakeImage(1, 2, 0xFF000001));
    EXPECT_EQ(typeface.Content.Flipped.Copy, nullptr);
    EXPECT_EQ(FlippedSpriteHeight(typeface.Content), 2);
    EXPECT_EQ(typeface.Content.Flipped.Copy, nullptr);

    const Sprite first = FlippedSprite(typeface.Content);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FlippedSprite(typeface.Content), first);
    const Typeface& constant = typeface;
    EXPECT_EQ(FlippedSprite(constant.Content), first);

    SetCharacterSetImage(typeface, MakeImage(1, 3, 0xFF000002));
    EXPECT_EQ(typeface.Content.Flipped.Copy, nullptr);
    ASSERT_NE(FlippedSprite(typeface.Content), first);
    EXPECT_EQ(FlippedSprite(typeface.Content)->Pixels, std::vector<std::uint32_t>(3, 0xFF000002));

    // Set directly, as the import does, without letting go of the old copy first.
    typeface.Content.Sprite = std::make_shared<const Image>(*MakeImage(2, 1, 0xFF000003));
    EXPECT_EQ(FlippedSprite(typeface.Content)->Pixels, std::vector<std::uint32_t>(2, 0xFF000003));
    EXPECT_EQ(FlippedSpriteHeight(typeface.Content), 1);
}

TEST(Image, SizeLimitIsOnBytes) {
    EXPECT_TRUE(ImageSizeAllowed(0, 0));
    EXPECT_TRUE(ImageSizeAllowed(1024, 65536 * 4)); // 1 GiB exactly
    EXPECT_FALSE(ImageSizeAllowed(1024, 65536 * 4 + 1));
    EXPECT_FALSE(ImageSizeAllowed(-1, 10));
    EXPECT_FALSE(ImageSizeAllowed(std::int64_t{1} << 40, std::int64_t{1} << 40));
    EXPECT_FALSE(MakeImage(1 << 20, 1 << 20).has_value());
}

} // namespace
} // namespace glyfora::document
