#include "views/ListTexts.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace glyfora::views {
namespace {

// Makes expectations readable: '_' stands for an EN SPACE.
std::u16string Padded(std::u16string_view text) {
    std::u16string result(text);
    for (char16_t& unit : result) {
        if (unit == u'_') {
            unit = EnSpace;
        }
    }
    return result;
}

document::Character MakeCharacter(std::int64_t index, document::Rect64 source,
                                  document::Rect64 outlay) {
    document::Character character;
    character.Index = index;
    character.Source = source;
    character.Outlay = outlay;
    return character;
}

TEST(RightAlignedText, PadsWithEnSpacesAndShowsLongNumbersWhole) {
    struct Case {
        std::int64_t Value;
        std::size_t Width;
        std::u16string_view Expected;
    };
    const Case cases[] = {
        {7, 4, u"___7"},
        {1234, 4, u"1234"},
        {12345, 4, u"12345"},
        {-1, 3, u"_-1"},
        {-1000, 3, u"-1000"},
        {0, 3, u"__0"},
        {999, 3, u"999"},
        {5, 0, u"5"},
        {std::numeric_limits<std::int64_t>::min(), 4, u"-9223372036854775808"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(RightAlignedText(test.Value, test.Width), Padded(test.Expected))
            << test.Value << " to " << test.Width;
    }
}

TEST(CharacterCellText, EveryColumn) {
    const document::Character character = MakeCharacter(65, {7, 12, 10, 12}, {-1000, 3, 11, 16});
    struct Case {
        CharacterColumn Column;
        std::u16string_view Expected;
    };
    const Case cases[] = {
        {CharacterColumn::Index, u"65"},          {CharacterColumn::Char, u"A"},
        {CharacterColumn::Position, u"___7, 12"}, {CharacterColumn::Size, u"10\u00D712"},
        {CharacterColumn::Offset, u"-1000, 3"},   {CharacterColumn::Flow, u"11\u00D716"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(CharacterCellText(character, test.Column), Padded(test.Expected))
            << static_cast<int>(test.Column);
    }
}

TEST(CharacterCellText, OffsetsAndPositionsPadToTheirOwnWidths) {
    const document::Character character = MakeCharacter(0x4E00, {4000, -2, 0, 0}, {-1, -5, 0, 0});
    EXPECT_EQ(CharacterCellText(character, CharacterColumn::Position), u"4000, -2");
    EXPECT_EQ(CharacterCellText(character, CharacterColumn::Offset), Padded(u"_-1, -5"));
    EXPECT_EQ(CharacterCellText(character, CharacterColumn::Char), u"\u4E00");
    EXPECT_EQ(CharacterCellText(character, CharacterColumn::Size), u"0\u00D70");
}

TEST(CodeUnitText, OneUnitInsideTheCodeRangeAndNothingOutside) {
    EXPECT_EQ(CodeUnitText(65), u"A");
    EXPECT_EQ(CodeUnitText(0xFFFF), std::u16string(1, u'\uFFFF'));
    EXPECT_EQ(CodeUnitText(0xD800).size(), 1U); // a lone surrogate stays one unit
    EXPECT_EQ(CodeUnitText(0).size(), 1U);
    EXPECT_TRUE(CodeUnitText(-1).empty());
    EXPECT_TRUE(CodeUnitText(65536).empty());
}

TEST(MarkedIndexText, FlagsTheNumber) {
    EXPECT_EQ(MarkedIndexText(65), u"! 65");
    EXPECT_EQ(MarkedIndexText(0), u"! 0");
}

TEST(PairCellText, CodesAreUnsigned) {
    struct Case {
        std::int64_t Left, Right, Amount;
        std::u16string_view Indices, Pair, AmountText;
    };
    const Case cases[] = {
        {0x4E00, 65, -3, u"19968, 65", u"\u4E00A", u"-3"},
        {65, 86, 0, u"__65, 86", u"AV", u"0"},
        {0xFFFF, 0xFF21, 100, u"65535, 65313", u"\uFFFF\uFF21", u"100"},
        {0, 7, -100, u"___0, 7", std::u16string_view(u"\0\a", 2), u"-100"},
    };
    for (const Case& test : cases) {
        document::KerningPair pair;
        pair.PairKey = document::MakePairKey(test.Left, test.Right);
        pair.Amount = test.Amount;
        EXPECT_EQ(PairCellText(pair, PairColumn::Indices), Padded(test.Indices));
        EXPECT_EQ(PairCellText(pair, PairColumn::Pair), test.Pair);
        EXPECT_EQ(PairCellText(pair, PairColumn::Amount), test.AmountText);
    }
}

TEST(ListColumns, HeadingsAndWidthsOfBothLists) {
    EXPECT_EQ(CharacterColumns[static_cast<int>(CharacterColumn::Position)].Heading, u"Position");
    EXPECT_EQ(CharacterColumns[static_cast<int>(CharacterColumn::Position)].Width, 80);
    EXPECT_EQ(PairColumns[static_cast<int>(PairColumn::Amount)].Heading, u"Ammount");
    EXPECT_EQ(PairColumns[static_cast<int>(PairColumn::Indices)].Width, 100);
}

} // namespace
} // namespace glyfora::views
