#pragma once

#include "document/Typeface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace glyfora::views {

// Pads right-aligned numbers in the lists; as wide as a digit in most fonts.
constexpr char16_t EnSpace = u'\u2002';

enum class CharacterColumn { Index, Char, Position, Size, Offset, Flow };
enum class PairColumn { Indices, Pair, Amount };

struct ListColumn {
    std::u16string_view Heading;
    int Width = 0; // pixels
};

constexpr std::array<ListColumn, 6> CharacterColumns{{
    {u"Index", 50},
    {u"Char", 40},
    {u"Position", 80},
    {u"Size", 60},
    {u"Offset", 60},
    {u"Flow", 60},
}};

constexpr std::array<ListColumn, 3> PairColumns{{
    {u"Indizes", 100},
    {u"Paar", 60},
    {u"Ammount", 70},
}};

// Plain decimal, with a leading "-" when negative.
[[nodiscard]] std::u16string DecimalText(std::int64_t value);

// Decimal padded on the left with EN SPACEs to width characters; a longer number is shown whole.
[[nodiscard]] std::u16string RightAlignedText(std::int64_t value, std::size_t width);

// The character with this code as one UTF-16 unit; empty for a value outside 0..65535.
[[nodiscard]] std::u16string CodeUnitText(std::int64_t code);

// The "Index" cell of a record whose code another record already uses: "! " and the number.
[[nodiscard]] std::u16string MarkedIndexText(std::int64_t code);

// The text of one cell of a character's row: "Index" decimal, "Char" the character, "Position"
// Source X right-aligned to 4 then ", " and Source Y, "Size" Source Width "×" Height, "Offset"
// Outlay X right-aligned to 3 then ", " and Outlay Y, "Flow" Outlay Width "×" Height.
[[nodiscard]] std::u16string CharacterCellText(const document::Character& character,
                                               CharacterColumn column);

// The text of one cell of a pair's row: "Indizes" Left right-aligned to 4 then ", " and Right (both
// unsigned 16-bit), "Paar" the two characters, "Ammount" the amount.
[[nodiscard]] std::u16string PairCellText(const document::KerningPair& pair, PairColumn column);

} // namespace glyfora::views
