#include "PictureHelpers.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace glyfora::app::test {

document::Typeface& MakeTestTypeface(document::TypefaceRegistry& registry) {
    document::Typeface& typeface = *document::CreateTypeface(registry, Id);
    document::Image image = *document::MakeImage(96, 48, 0xFFFFFFFFU);
    constexpr std::array<std::array<std::int64_t, 2>, Letters.size()> cells{
        {{3, 2}, {15, 9}, {29, 1}, {41, 17}, {55, 30}, {70, 5}, {83, 20}, {60, 12}}};
    for (std::size_t k = 0; k < Letters.size(); ++k) {
        const auto [left, top] = cells[k];
        for (std::int64_t y = 0; y < 14; ++y) {
            for (std::int64_t x = 0; x < 10; ++x) {
                const auto alpha = static_cast<std::uint32_t>(
                    std::min<std::int64_t>(255, ((x + y + static_cast<std::int64_t>(k)) % 6) * 60));
                image.At(left + x, top + y) =
                    alpha << 24 | static_cast<std::uint32_t>(40 + 20 * k) << 16 |
                    static_cast<std::uint32_t>(y * 18) << 8 | static_cast<std::uint32_t>(x * 25);
            }
        }
        document::Character& glyph = document::AddCharacter(typeface, Letters[k]);
        glyph.Outlay = {0, static_cast<std::int64_t>(k % 3), 9, 18};
        glyph.Source = {left, top, 10, 14};
    }
    document::Character& space = document::AddCharacter(typeface, u' ');
    space.Outlay = {0, 0, 6, 18};
    document::AddKerningPair(typeface, u'A', u'V', -2);
    document::SetCharacterSetImage(typeface, std::move(image));
    return typeface;
}

document::Image ToImage(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    document::Image result = *document::MakeImage(rgba.width(), rgba.height());
    for (int y = 0; y < rgba.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(rgba.constScanLine(y));
        std::copy(row, row + rgba.width(), &result.At(0, y));
    }
    return result;
}

Difference Compare(const document::Image& left, const document::Image& right, int tolerance) {
    Difference difference;
    difference.SizesMatch = left.Width == right.Width && left.Height == right.Height;
    if (!difference.SizesMatch) {
        return difference;
    }
    difference.Pixels = left.Width * left.Height;
    for (std::size_t i = 0; i < left.Pixels.size(); ++i) {
        int largest = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const int a = static_cast<int>((left.Pixels[i] >> shift) & 0xFFU);
            const int b = static_cast<int>((right.Pixels[i] >> shift) & 0xFFU);
            largest = std::max(largest, std::abs(a - b));
        }
        difference.Largest = std::max(difference.Largest, largest);
        if (largest > tolerance) {
            ++difference.Differing;
        }
    }
    return difference;
}

std::string Describe(const Difference& difference) {
    if (!difference.SizesMatch) {
        return "sizes differ";
    }
    return std::to_string(difference.Differing) + " of " + std::to_string(difference.Pixels) +
           " pixels differ by more than the tolerance; largest channel difference " +
           std::to_string(difference.Largest);
}

std::int64_t CountOtherThan(const document::Image& image, std::uint32_t colour) {
    return std::count_if(image.Pixels.begin(), image.Pixels.end(), [colour](std::uint32_t pixel) {
        return (pixel & 0x00FFFFFFU) != (colour & 0x00FFFFFFU);
    });
}

} // namespace glyfora::app::test
