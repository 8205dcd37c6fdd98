#pragma once

#include "document/Image.h"
#include "document/Pixel.h"
#include "document/Typeface.h"

#include <cstdint>

namespace glyfora::testsupport {

// Adds a character with the given cell and placement, as most model tests set one up.
inline document::Character& Add(document::Typeface& typeface, std::int64_t code,
                                document::Rect64 source, document::Rect64 outlay = {}) {
    document::Character& character = document::AddCharacter(typeface, code);
    character.Source = source;
    character.Outlay = outlay;
    return character;
}

// The sum of the alpha values inside cell: how much ink a character's cell holds.
inline std::uint64_t AlphaIn(const document::Image& image, const document::Rect64& cell) {
    std::uint64_t sum = 0;
    for (std::int64_t y = cell.Y; y < cell.Y + cell.Height; ++y) {
        for (std::int64_t x = cell.X; x < cell.X + cell.Width; ++x) {
            sum += document::Alpha(image.At(x, y));
        }
    }
    return sum;
}

} // namespace glyfora::testsupport
