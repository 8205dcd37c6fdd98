#include "ExpectPixels.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace glyfora::views::test {

void ExpectPixels(const document::Image& canvas, std::int64_t left, std::int64_t top,
                  const std::vector<std::string>& rows, const Legend& legend) {
    std::ostringstream mismatches;
    int count = 0;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t column = 0; column < rows[row].size(); ++column) {
            const char key = rows[row][column];
            if (key == '?') {
                continue;
            }
            const auto colour = legend.find(key);
            if (colour == legend.end()) {
                ADD_FAILURE() << "no colour for '" << key << "' in the legend";
                return;
            }
            const std::int64_t x = left + static_cast<std::int64_t>(column);
            const std::int64_t y = top + static_cast<std::int64_t>(row);
            if (!canvas.Contains(x, y)) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") lies outside the "
                              << canvas.Width << " x " << canvas.Height << " canvas";
                return;
            }
            const std::uint32_t actual = canvas.At(x, y);
            if (actual != colour->second && ++count <= 8) {
                char text[96];
                std::snprintf(text, sizeof text,
                              "  (%lld, %lld): expected '%c' 0x%08X, got 0x%08X\n",
                              static_cast<long long>(x), static_cast<long long>(y), key,
                              colour->second, actual);
                mismatches << text;
            }
        }
    }
    if (count > 0) {
        ADD_FAILURE() << count << " pixel(s) differ:\n" << mismatches.str();
    }
}

std::int64_t CountPixels(const document::Image& canvas, std::uint32_t colour) {
    std::int64_t count = 0;
    for (const std::uint32_t pixel : canvas.Pixels) {
        count += pixel == colour ? 1 : 0;
    }
    return count;
}

document::Image PositionImage(std::int64_t width, std::int64_t height) {
    document::Image image = document::MakeImage(width, height).value();
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            image.At(x, y) = PositionColour(x, y);
        }
    }
    return image;
}

} // namespace glyfora::views::test
