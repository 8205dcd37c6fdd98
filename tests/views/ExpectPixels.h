#pragma once

#include "document/Image.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace glyfora::views::test {

using Legend = std::map<char, std::uint32_t>;

// Compares the block of canvas whose top-left pixel is (left, top) with a small picture: one string
// per row, one character per pixel, each character standing for the colour legend gives it; '?'
// leaves a pixel unchecked. Adds a test failure naming the first mismatching pixels.
void ExpectPixels(const document::Image& canvas, std::int64_t left, std::int64_t top,
                  const std::vector<std::string>& rows, const Legend& legend);

// Counts the pixels of canvas that have colour.
[[nodiscard]] std::int64_t CountPixels(const document::Image& canvas, std::uint32_t colour);

// A fully opaque picture in which every pixel tells its position: red = x, green = y (both mod
// 256), blue = 0x80, so a test can see which image pixel a view shows where.
[[nodiscard]] document::Image PositionImage(std::int64_t width, std::int64_t height);

// The colour PositionImage has at (x, y).
[[nodiscard]] constexpr std::uint32_t PositionColour(std::int64_t x, std::int64_t y) {
    return 0xFF800000U | (static_cast<std::uint32_t>(y & 0xFF) << 8) |
           static_cast<std::uint32_t>(x & 0xFF);
}

} // namespace glyfora::views::test
