#include "document/ColourText.h"

#include "document/Pixel.h"

#include <array>

namespace glyfora::document {

namespace {

std::optional<std::uint32_t> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint32_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint32_t>(c - 'A' + 10);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::uint32_t> ParseHexColour(std::string_view digits) {
    if (digits.size() != 6 && digits.size() != 8) {
        return std::nullopt;
    }
    std::array<std::uint32_t, 4> channels{0, 0, 0, 255};
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::optional<std::uint32_t> high = HexDigit(digits[i]);
        const std::optional<std::uint32_t> low = HexDigit(digits[i + 1]);
        if (!high || !low) {
            return std::nullopt;
        }
        channels[i / 2] = *high * 16 + *low;
    }
    return Rgba(channels[0], channels[1], channels[2], channels[3]);
}

std::string HexColourText(std::uint32_t pixel) {
    constexpr std::string_view Digits = "0123456789ABCDEF";
    std::string text = "#";
    for (const std::uint32_t channel : {Red(pixel), Green(pixel), Blue(pixel), Alpha(pixel)}) {
        text += Digits[channel >> 4];
        text += Digits[channel & 0xFU];
    }
    return text;
}

} // namespace glyfora::document
