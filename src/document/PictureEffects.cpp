#include "document/PictureEffects.h"

#include "document/Pixel.h"

#include <algorithm>
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
    const auto isAlphanumeric = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return !field.FieldType.empty() &&
           std::all_of(field.FieldType.begin(), field.FieldType.end(), isAlphanumeric) &&
           field.Range >= 1 && field.Range <= 65535;
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

PictureKind PictureKindOf(const Properties& properties, const Image* picture) {
    const std::string* ink = Find(properties, InkProperty);
    if (ink == nullptr) {
        const bool white =
            picture == nullptr ||
            std::all_of(picture->Pixels.begin(), picture->Pixels.end(), [](std::uint32_t pixel) {
                return Alpha(pixel) == 0 || ColourOf(pixel) == 0xFFFFFFU;
            });
        return white ? PictureKind::WhiteGlyphs : PictureKind::Coloured;
    }
    return *ink == "outlined" ? PictureKind::WhiteWithBlackOutline : PictureKind::Coloured;
}

} // namespace glyfora::document
