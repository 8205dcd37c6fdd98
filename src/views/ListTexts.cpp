#include "views/ListTexts.h"

namespace glyfora::views {
namespace {

constexpr char16_t Times = u'\u00D7';

std::u16string Joined(std::u16string first, std::u16string_view separator,
                      const std::u16string& second) {
    first += separator;
    first += second;
    return first;
}

} // namespace

std::u16string DecimalText(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end()); // ASCII widens unit by unit
}

std::u16string RightAlignedText(std::int64_t value, std::size_t width) {
    std::u16string text = DecimalText(value);
    if (text.size() < width) {
        text.insert(0, width - text.size(), EnSpace);
    }
    return text;
}

std::u16string CodeUnitText(std::int64_t code) {
    if (code < 0 || code >= document::CharacterCodeCount) {
        return {};
    }
    return std::u16string(1, static_cast<char16_t>(code));
}

std::u16string MarkedIndexText(std::int64_t code) {
    return u"! " + DecimalText(code);
}

std::u16string CharacterCellText(const document::Character& character, CharacterColumn column) {
    const document::Rect64& source = character.Source;
    const document::Rect64& outlay = character.Outlay;
    switch (column) {
    case CharacterColumn::Index:
        return DecimalText(character.Index);
    case CharacterColumn::Char:
        return CodeUnitText(character.Index);
    case CharacterColumn::Position:
        return Joined(RightAlignedText(source.X, 4), u", ", DecimalText(source.Y));
    case CharacterColumn::Size:
        return Joined(DecimalText(source.Width), {&Times, 1}, DecimalText(source.Height));
    case CharacterColumn::Offset:
        return Joined(RightAlignedText(outlay.X, 3), u", ", DecimalText(outlay.Y));
    case CharacterColumn::Flow:
        break;
    }
    return Joined(DecimalText(outlay.Width), {&Times, 1}, DecimalText(outlay.Height));
}

std::u16string PairCellText(const document::KerningPair& pair, PairColumn column) {
    const std::int64_t left = document::PairLeft(pair);
    const std::int64_t right = document::PairRight(pair);
    switch (column) {
    case PairColumn::Indices:
        return Joined(RightAlignedText(left, 4), u", ", DecimalText(right));
    case PairColumn::Pair:
        return CodeUnitText(left) + CodeUnitText(right);
    case PairColumn::Amount:
        break;
    }
    return DecimalText(pair.Amount);
}

} // namespace glyfora::views
