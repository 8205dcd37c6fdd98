#include "document/PictureEffects.h"

#include "base/Utf8.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace glyfora::document {

namespace {

const std::string* Find(const Properties& properties, const char* key) {
    const auto found = properties.find(key);
    return found == properties.end() || found->second.empty() ? nullptr : &found->second;
}

// "#RRGGBB" or "#RRGGBBAA" against a colour given as "RRGGBBAA", letter case aside.
bool IsColour(const std::string* text, std::string_view rrggbbaa) {
    if (text == nullptr || text->empty() || text->front() != '#') {
        return false;
    }
    const std::string_view hex = std::string_view(*text).substr(1);
    if (hex.size() == 6) {
        return rrggbbaa.ends_with("ff") && base::EqualIgnoringAsciiCase(hex, rrggbbaa.substr(0, 6));
    }
    return base::EqualIgnoringAsciiCase(hex, rrggbbaa);
}

} // namespace

std::optional<std::int64_t> RoundedOutlineWidth(const Properties& properties) {
    const std::string* text = Find(properties, OutlineProperty);
    if (text == nullptr) {
        return 0;
    }
    double width = 0.0;
    const char* end = text->data() + text->size();
    const auto [next, error] = std::from_chars(text->data(), end, width);
    constexpr double Limit = std::numeric_limits<std::int32_t>::max();
    if (error != std::errc() || next != end || !(std::abs(width) <= Limit)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(std::round(width)); // halves away from zero
}

bool IsWritableDistanceField(const DistanceField& field) {
    if (field.FieldType.empty() || field.Range < 1 || field.Range > 65535) {
        return false;
    }
    for (const char c : field.FieldType) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

std::optional<DistanceField> DistanceFieldOf(const Properties& properties) {
    const std::string* type = Find(properties, DistanceFieldProperty);
    const std::string* range = Find(properties, DistanceRangeProperty);
    if (type == nullptr || range == nullptr) {
        return std::nullopt;
    }
    DistanceField field{*type, 0};
    const char* end = range->data() + range->size();
    const auto [next, error] = std::from_chars(range->data(), end, field.Range);
    if (error != std::errc() || next != end || !IsWritableDistanceField(field)) {
        return std::nullopt;
    }
    return field;
}

PictureKind PictureKindOf(const Properties& properties) {
    const bool outlined = RoundedOutlineWidth(properties).value_or(0) != 0 ||
                          Find(properties, OutlineColourProperty) != nullptr;
    const std::string* fill = Find(properties, FillProperty);
    const bool otherEffects = Find(properties, GradientProperty) != nullptr ||
                              Find(properties, ShadowProperty) != nullptr ||
                              Find(properties, DistanceFieldProperty) != nullptr ||
                              (fill != nullptr && !IsColour(fill, "ffffffff"));
    if (otherEffects) {
        return PictureKind::Coloured;
    }
    if (!outlined) {
        return PictureKind::WhiteGlyphs;
    }
    return IsColour(Find(properties, OutlineColourProperty), "000000ff")
               ? PictureKind::WhiteWithBlackOutline
               : PictureKind::Coloured;
}

} // namespace glyfora::document
