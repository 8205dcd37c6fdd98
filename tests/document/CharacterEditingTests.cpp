#include "document/CharacterEditing.h"

#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace glyfora::document {
namespace {

std::vector<const Character*> Records(const Typeface& typeface) {
    std::vector<const Character*> records;
    for (const Character& character : typeface.Content.Characters) {
        records.push_back(&character);
    }
    return records;
}

// A typeface holding the codes in list order, each with metrics that tell it apart.
struct Fixture {
    explicit Fixture(std::initializer_list<std::int64_t> codes) {
        for (const std::int64_t code : codes) {
            Character& character = AddCharacter(typeface, code);
            character.Source = {code, code + 1, 10, 12};
            character.Outlay = {-1, 2, 11, 16};
        }
    }
    Character& At(std::size_t position) {
        return *std::next(typeface.Content.Characters.begin(),
                          static_cast<std::ptrdiff_t>(position));
    }
    Typeface typeface{5, {}, {}, false};
};

TEST(CopyCharacter, DuplicatesAllFieldsAfterTheOriginalWithoutTakingItsSlot) {
    Fixture fixture{65, 70};
    Character& original = fixture.At(0);
    Character* copy = CopyCharacter(fixture.typeface, &original);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Records(fixture.typeface),
              (std::vector<const Character*>{&original, copy, &fixture.At(2)}));
    EXPECT_EQ(copy->Index, 65);
    EXPECT_EQ(copy->Source, original.Source);
    EXPECT_EQ(copy->Outlay, original.Outlay);
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), &original);
    EXPECT_TRUE(fixture.typeface.Modified);
}

TEST(CopyCharacter, RefusesNoneAndRecordsOfOtherTypefaces) {
    Fixture fixture{65};
    Character stranger;
    EXPECT_EQ(CopyCharacter(fixture.typeface, nullptr), nullptr);
    EXPECT_EQ(CopyCharacter(fixture.typeface, &stranger), nullptr);
    EXPECT_EQ(fixture.typeface.Content.Characters.Size(), 1U);
    EXPECT_FALSE(fixture.typeface.Modified);
}

TEST(RecodeCharacter, CopyMovedToAFreeCodeTakesItsSlotAndLeavesTheOriginalsAlone) {
    Fixture fixture{65};
    Character& original = fixture.At(0);
    Character* copy = CopyCharacter(fixture.typeface, &original);
    ASSERT_NE(copy, nullptr);
    fixture.typeface.Modified = false;

    EXPECT_FALSE(RecodeCharacter(fixture.typeface, *copy, 66));
    EXPECT_EQ(copy->Index, 66);
    EXPECT_EQ(FindCharacter(fixture.typeface, 66), copy);
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), &original);
    EXPECT_TRUE(fixture.typeface.Modified);
}

// Moving a record onto a code in use is flagged; lookups then answer with the later record.
TEST(RecodeCharacter, CodeInUseIsFlaggedAndTheLaterRecordWins) {
    struct Case {
        std::int64_t First, Second;
        std::size_t Moved;
        std::size_t Winner;
    };
    const Case cases[] = {
        {65, 66, 1, 1}, // the moved record comes later in the list
        {66, 65, 0, 1}, // the moved record comes first
    };
    for (const Case& test : cases) {
        Fixture fixture{test.First, test.Second};
        Character& moved = fixture.At(test.Moved);
        const std::int64_t oldCode = moved.Index;
        EXPECT_TRUE(RecodeCharacter(fixture.typeface, moved, 65));
        EXPECT_EQ(FindCharacter(fixture.typeface, 65), &fixture.At(test.Winner));
        EXPECT_EQ(FindCharacter(fixture.typeface, oldCode), nullptr);
    }
}

TEST(RecodeCharacter, OwnCodeIsNotFlaggedButADuplicatesIs) {
    Fixture fixture{65};
    Character& original = fixture.At(0);
    EXPECT_FALSE(RecodeCharacter(fixture.typeface, original, 65));
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), &original);

    Character* copy = CopyCharacter(fixture.typeface, &original);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(RecodeCharacter(fixture.typeface, *copy, 65));
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), copy);
}

TEST(RecodeCharacter, CodesOutsideTheTableChangeNothing) {
    for (const std::int64_t code : {std::int64_t{-1}, std::int64_t{65536}}) {
        Fixture fixture{65};
        EXPECT_FALSE(RecodeCharacter(fixture.typeface, fixture.At(0), code));
        EXPECT_EQ(fixture.At(0).Index, 65);
        EXPECT_EQ(FindCharacter(fixture.typeface, 65), &fixture.At(0));
        EXPECT_FALSE(fixture.typeface.Modified);
    }
}

TEST(RecodeCharacter, RecordWithACodeOutsideTheTableCanBeRecoded) {
    Fixture fixture{65};
    Character& odd = fixture.At(0);
    odd.Index = 70000; // as a damaged file could leave it
    EXPECT_FALSE(RecodeCharacter(fixture.typeface, odd, 66));
    EXPECT_EQ(FindCharacter(fixture.typeface, 66), &odd);
}

TEST(DeleteCharacter, RemovesTheRecordAndGivesItsCodeBackToADuplicate) {
    Fixture fixture{65, 70};
    Character& original = fixture.At(0);
    Character* copy = CopyCharacter(fixture.typeface, &original);
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(RecodeCharacter(fixture.typeface, *copy, 65)); // copy now answers for 65
    fixture.typeface.Modified = false;

    EXPECT_TRUE(DeleteCharacter(fixture.typeface, copy));
    EXPECT_EQ(Records(fixture.typeface),
              (std::vector<const Character*>{&original, &fixture.At(1)}));
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), &original);
    EXPECT_TRUE(fixture.typeface.Modified);

    EXPECT_TRUE(DeleteCharacter(fixture.typeface, &original));
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), nullptr);
    EXPECT_EQ(FindCharacter(fixture.typeface, 70), &fixture.At(0));
}

TEST(DeleteCharacter, LeavesTheElementBeforeCurrentSoTheNextInsertFollowsIt) {
    Fixture fixture{65, 66, 67};
    Character& first = fixture.At(0);
    ASSERT_TRUE(DeleteCharacter(fixture.typeface, &fixture.At(1)));
    Character* added = AddCharacterForCell(fixture.typeface, 90, {});
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(Records(fixture.typeface),
              (std::vector<const Character*>{&first, added, &fixture.At(2)}));
}

TEST(DeleteCharacter, RefusesNoneAndRecordsOfOtherTypefaces) {
    Fixture fixture{65};
    Character stranger;
    stranger.Index = 65;
    EXPECT_FALSE(DeleteCharacter(fixture.typeface, nullptr));
    EXPECT_FALSE(DeleteCharacter(fixture.typeface, &stranger));
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), &fixture.At(0));
    EXPECT_FALSE(fixture.typeface.Modified);
}

TEST(SetCharacterMetric, ChangesExactlyTheNamedNumber) {
    const CharacterMetric metrics[] = {
        CharacterMetric::SourceX,      CharacterMetric::SourceY,      CharacterMetric::SourceWidth,
        CharacterMetric::SourceHeight, CharacterMetric::OutlayX,      CharacterMetric::OutlayY,
        CharacterMetric::OutlayWidth,  CharacterMetric::OutlayHeight,
    };
    for (const CharacterMetric changed : metrics) {
        Fixture fixture{65};
        Character& character = fixture.At(0);
        const Character before = character;
        SetCharacterMetric(fixture.typeface, character, changed, -777);
        EXPECT_TRUE(fixture.typeface.Modified);
        for (const CharacterMetric metric : metrics) {
            const std::int64_t expected =
                metric == changed ? -777 : CharacterMetricValue(before, metric);
            EXPECT_EQ(CharacterMetricValue(character, metric), expected);
        }
        EXPECT_EQ(character.Index, 65);
    }
}

TEST(SetCharacterMetric, OnlyCellMetricsMoveTheMarkedRectangle) {
    EXPECT_TRUE(IsSourceMetric(CharacterMetric::SourceX));
    EXPECT_TRUE(IsSourceMetric(CharacterMetric::SourceHeight));
    EXPECT_FALSE(IsSourceMetric(CharacterMetric::OutlayX));
    EXPECT_FALSE(IsSourceMetric(CharacterMetric::OutlayHeight));
}

TEST(AddCharacterForCell, ZeroSizeSelectionGivesZeroSizes) {
    Fixture fixture{};
    Character* added = AddCharacterForCell(fixture.typeface, 65, {5, 6, 0, 0});
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Index, 65);
    EXPECT_EQ(added->Source, (Rect64{5, 6, 0, 0}));
    EXPECT_EQ(added->Outlay, (Rect64{0, 0, 0, 0}));
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), added);
    EXPECT_TRUE(fixture.typeface.Modified);
}

TEST(AddCharacterForCell, CellBecomesSourceAndAdvances) {
    struct Case {
        Rect64 Selection;
        Rect64 Source;
    };
    const Case cases[] = {
        {{10, 20, 8, 12}, {10, 20, 8, 12}},
        {{10, 20, -3, 12}, {7, 20, 3, 12}}, // marked leftwards
        {{10, 20, 8, -12}, {10, 8, 8, 12}}, // marked upwards
        {{0, 0, -5, -5}, {-5, -5, 5, 5}},
    };
    for (const Case& test : cases) {
        Fixture fixture{};
        Character* added = AddCharacterForCell(fixture.typeface, 66, test.Selection);
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->Source, test.Source);
        EXPECT_EQ(added->Outlay, (Rect64{0, 0, test.Source.Width, test.Source.Height}));
    }
}

TEST(AddCharacterForCell, OlderRecordWithTheCodeStaysAndTheNewOneFollowsTheCurrent) {
    Fixture fixture{65, 70};
    Character& older = fixture.At(0);
    ASSERT_TRUE(fixture.typeface.Content.Characters.MakeCurrent(&older));
    Character* added = AddCharacterForCell(fixture.typeface, 65, {1, 2, 3, 4});
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(Records(fixture.typeface),
              (std::vector<const Character*>{&older, added, &fixture.At(2)}));
    EXPECT_EQ(FindCharacter(fixture.typeface, 65), added);
}

TEST(AddCharacterForCell, RefusesCodesOutsideTheTable) {
    Fixture fixture{};
    EXPECT_EQ(AddCharacterForCell(fixture.typeface, -1, {}), nullptr);
    EXPECT_EQ(AddCharacterForCell(fixture.typeface, 65536, {}), nullptr);
    EXPECT_TRUE(fixture.typeface.Content.Characters.Empty());
    EXPECT_FALSE(fixture.typeface.Modified);
}

} // namespace
} // namespace glyfora::document
