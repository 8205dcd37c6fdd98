#include "document/TypefaceSnapshot.h"

#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

// A typeface with two characters, two pairs under one key, a comment and a 2×1 picture.
std::unique_ptr<Typeface> Sample(const TypefaceRegistry& registry) {
    auto typeface = MakeTypeface(registry, 5);
    AddCharacter(*typeface, 66).Source = {1, 2, 3, 4};
    AddCharacter(*typeface, 65).Outlay = {0, 0, 7, 9};
    AddKerningPair(*typeface, 65, 86, -3);
    AddKerningPair(*typeface, 65, 86, -5);
    PropertyValue(*typeface, "Comment") = "first";
    SetCharacterSetImage(*typeface, Image{2, 1, {0xFF0000FFU, 0xFF00FF00U}});
    return typeface;
}

TEST(TypefaceSnapshot, RestoreBringsBackRecordsCursorsIndexesAndSharesThePicture) {
    const TypefaceRegistry registry;
    auto typeface = Sample(registry);
    const Sprite flipped = FlippedSprite(typeface->Content);
    const TypefaceSnapshot before = TakeSnapshot(*typeface);
    EXPECT_EQ(before.CurrentCharacter, 1U);
    EXPECT_EQ(before.Image.get(), typeface->Content.Image.get()); // shared, not copied

    Character* old = FindCharacter(*typeface, 65);
    typeface->Content.Characters.MakeCurrent(old);
    typeface->Content.Characters.DeleteCurrent();
    typeface->Content.KerningPairs.Clear();
    RebuildIndexes(*typeface);
    PropertyValue(*typeface, "Comment") = "second";
    SetCharacterSetImage(*typeface, std::nullopt);
    EXPECT_FALSE(SameContent(before, TakeSnapshot(*typeface)));

    RestoreSnapshot(*typeface, before);
    EXPECT_TRUE(SameContent(before, TakeSnapshot(*typeface)));
    const Character* restored = FindCharacter(*typeface, 65);
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->Outlay, (Rect64{0, 0, 7, 9}));
    EXPECT_EQ(FindCharacter(*typeface, 66)->Source, (Rect64{1, 2, 3, 4}));
    EXPECT_EQ(&*typeface->Content.Characters.Current, restored);
    EXPECT_EQ(KerningAmount(*typeface, MakePairKey(65, 86)), -3); // first pair of the key wins
    EXPECT_EQ(typeface->Content.Properties.at("Comment"), "first");
    EXPECT_EQ(typeface->Content.Image, before.Image);
    EXPECT_EQ(typeface->Content.Sprite, before.Sprite);
    EXPECT_EQ(FlippedSprite(typeface->Content), flipped); // shared, not made again
    EXPECT_EQ(FlippedSpriteHeight(typeface->Content), 1);
}

TEST(TypefaceSnapshot, SameContentSeesEveryKindOfChangeButNotTheCursor) {
    const TypefaceRegistry registry;
    struct Case {
        const char* Name;
        void (*Change)(Typeface&);
        bool Same;
    };
    const Case cases[] = {
        {"cursor moved",
         [](Typeface& t) { t.Content.Characters.Current = t.Content.Characters.end(); }, true},
        {"code", [](Typeface& t) { t.Content.Characters.begin()->Index = 67; }, false},
        {"source", [](Typeface& t) { t.Content.Characters.begin()->Source.X = 9; }, false},
        {"outlay", [](Typeface& t) { t.Content.Characters.begin()->Outlay.Y = 9; }, false},
        {"amount", [](Typeface& t) { t.Content.KerningPairs.begin()->Amount = 1; }, false},
        {"pair key", [](Typeface& t) { t.Content.KerningPairs.begin()->PairKey = 1; }, false},
        {"order", [](Typeface& t) { SortCharacters(t); }, false},
        {"property", [](Typeface& t) { PropertyValue(t, "Comment") = "x"; }, false},
        {"picture",
         [](Typeface& t) {
             SetCharacterSetImage(t, Image{1, 1, {0U}});
         },
         false},
    };
    for (const Case& c : cases) {
        auto typeface = Sample(registry);
        const TypefaceSnapshot before = TakeSnapshot(*typeface);
        c.Change(*typeface);
        EXPECT_EQ(SameContent(before, TakeSnapshot(*typeface)), c.Same) << c.Name;
    }
}

TEST(TypefaceSnapshot, PositionsFindRecordsAndRefuseStrangers) {
    const TypefaceRegistry registry;
    auto typeface = Sample(registry);
    auto& list = typeface->Content.Characters;
    const Character stranger;
    EXPECT_EQ(PositionInList(list, FindCharacter(*typeface, 65)), 1U);
    EXPECT_EQ(PositionInList(list, &stranger), std::nullopt);
    EXPECT_EQ(RecordAtPosition(list, 0U), FindCharacter(*typeface, 66));
    EXPECT_EQ(RecordAtPosition(list, 2U), nullptr);
    EXPECT_EQ(RecordAtPosition(list, std::nullopt), nullptr);
}

// What a snapshot holds grows with its records and texts, never with its picture, which
// PictureBytes counts on its own.
TEST(TypefaceSnapshot, RecordBytesCountRecordsAndTextsButNotThePicture) {
    const TypefaceRegistry registry;
    const auto typeface = Sample(registry);
    const std::size_t sample = RecordBytes(TakeSnapshot(*typeface));
    const struct {
        const char* Name;
        void (*Change)(Typeface&);
        std::size_t AtLeast; // more than the sample's bytes
    } cases[] = {
        {"a thousand characters more",
         [](Typeface& t) {
             for (int code = 0; code < 1000; ++code) {
                 AddCharacter(t, code);
             }
         },
         1000 * sizeof(Character)},
        {"a thousand pairs more",
         [](Typeface& t) {
             for (int code = 0; code < 1000; ++code) {
                 AddKerningPair(t, 65, code, 1);
             }
         },
         1000 * sizeof(KerningPair)},
        {"a long comment",
         [](Typeface& t) { PropertyValue(t, "Comment") = std::string(5000, 'x'); }, 5000 - 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto changed = Sample(registry);
        c.Change(*changed);
        EXPECT_GE(RecordBytes(TakeSnapshot(*changed)), sample + c.AtLeast);
    }
    const auto bigPicture = Sample(registry);
    SetCharacterSetImage(*bigPicture, Image{1000, 1000, std::vector<std::uint32_t>(1000000)});
    const TypefaceSnapshot withPicture = TakeSnapshot(*bigPicture);
    EXPECT_EQ(RecordBytes(withPicture), sample);
    EXPECT_EQ(PictureBytes(withPicture.Image.get()), 4000000U);
    EXPECT_EQ(PictureBytes(nullptr), 0U);
}

} // namespace
} // namespace glyfora::document
