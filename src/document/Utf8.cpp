#include "document/Utf8.h"

namespace glyfora::document {

std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& position) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(position);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1FU, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0FU, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07U, smallest = 0x10000;
    } else {
        ++position;
        return std::nullopt;
    }
    if (text.size() - position < length) {
        ++position;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(position + i);
        if ((next & 0xC0U) != 0x80U) {
            ++position;
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3FU);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++position;
        return std::nullopt;
    }
    position += length;
    return value;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        if (!NextCodePoint(text, position)) {
            return false;
        }
    }
    return true;
}

} // namespace glyfora::document
