#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace glyfora::document {

// A pixel as every picture stores it: non-premultiplied RGBA with the bytes R, G, B, A in memory,
// read as the little-endian integer 0xAABBGGRR.
[[nodiscard]] constexpr std::uint32_t Red(std::uint32_t pixel) {
    return pixel & 0xFFU;
}
[[nodiscard]] constexpr std::uint32_t Green(std::uint32_t pixel) {
    return (pixel >> 8) & 0xFFU;
}
[[nodiscard]] constexpr std::uint32_t Blue(std::uint32_t pixel) {
    return (pixel >> 16) & 0xFFU;
}
[[nodiscard]] constexpr std::uint32_t Alpha(std::uint32_t pixel) {
    return pixel >> 24;
}

// The pixel of the given channels, each 0..255.
[[nodiscard]] constexpr std::uint32_t Rgba(std::uint32_t red, std::uint32_t green,
                                           std::uint32_t blue, std::uint32_t alpha) {
    return red | (green << 8) | (blue << 16) | (alpha << 24);
}

// The colour channels alone, alpha 0.
[[nodiscard]] constexpr std::uint32_t ColourOf(std::uint32_t pixel) {
    return pixel & 0x00FFFFFFU;
}

// The colour channels with alpha 255.
[[nodiscard]] constexpr std::uint32_t Opaque(std::uint32_t pixel) {
    return pixel | 0xFF000000U;
}

// The colour channels of pixel with the given alpha, 0..255.
[[nodiscard]] constexpr std::uint32_t WithAlpha(std::uint32_t pixel, std::uint32_t alpha) {
    return ColourOf(pixel) | (alpha << 24);
}

// White whose alpha is the given coverage, 0..255: the pixels of imported glyphs, whose shape
// lives in the alpha channel.
[[nodiscard]] constexpr std::uint32_t WhiteWithAlpha(std::uint32_t alpha) {
    return Rgba(255, 255, 255, alpha);
}

// round(value / 255) for a sum of products of two channel values.
[[nodiscard]] constexpr std::uint32_t DivideBy255(std::uint32_t value) {
    return (value + 127U) / 255U;
}

// Source-over compositing of one pixel onto another with straight alpha, each channel rounded to
// nearest. Onto a fully transparent pixel the source is copied unchanged, colour of transparent
// pixels included; a fully transparent source over anything else leaves the destination.
// Inline, as the import's effects blend every pixel of every glyph with it.
[[nodiscard]] constexpr std::uint32_t BlendSourceOver(std::uint32_t source,
                                                      std::uint32_t destination) {
    const std::uint32_t sourceAlpha = Alpha(source);
    const std::uint32_t destinationAlpha = Alpha(destination);
    if (sourceAlpha == 255 || destinationAlpha == 0) {
        return source;
    }
    if (sourceAlpha == 0) {
        return destination;
    }
    // In units of 1/255²: the source's share and what shows of the destination beneath it. Each
    // channel is weighed by its pixel's coverage and divided by the result's.
    const std::uint32_t sourceWeight = sourceAlpha * 255;
    const std::uint32_t destinationWeight = destinationAlpha * (255 - sourceAlpha);
    const std::uint32_t totalWeight = sourceWeight + destinationWeight;
    const auto mix = [&](std::uint32_t sourceValue, std::uint32_t destinationValue) {
        return (sourceValue * sourceWeight + destinationValue * destinationWeight +
                totalWeight / 2) /
               totalWeight;
    };
    return Rgba(mix(Red(source), Red(destination)), mix(Green(source), Green(destination)),
                mix(Blue(source), Blue(destination)), DivideBy255(totalWeight));
}

// Source-over of colour at a coverage of 0..1 (its own alpha already weighed in) onto a pixel,
// as text is drawn: the coverage is not rounded to 8 bits before it is blended, so where glyphs
// overlap the result may differ by one from BlendSourceOver's. Full coverage gives the colour
// opaque; onto a fully transparent pixel the colour is copied with the coverage as its alpha; no
// coverage leaves any other pixel.
[[nodiscard]] inline std::uint32_t BlendCoverage(std::uint32_t colour, double coverage,
                                                 std::uint32_t destination) {
    if (coverage >= 1.0) {
        return Opaque(colour);
    }
    if (Alpha(destination) == 0) {
        return WithAlpha(colour, static_cast<std::uint32_t>(std::lround(coverage * 255.0)));
    }
    if (coverage <= 0.0) {
        return destination;
    }
    const double destinationAlpha = static_cast<double>(Alpha(destination)) / 255.0;
    const double outAlpha = coverage + destinationAlpha * (1.0 - coverage);
    const auto mix = [&](std::uint32_t sourceValue, std::uint32_t destinationValue) {
        const double value =
            (static_cast<double>(sourceValue) * coverage +
             static_cast<double>(destinationValue) * destinationAlpha * (1.0 - coverage)) /
            outAlpha;
        return static_cast<std::uint32_t>(std::clamp(std::lround(value), 0L, 255L));
    };
    return Rgba(mix(Red(colour), Red(destination)), mix(Green(colour), Green(destination)),
                mix(Blue(colour), Blue(destination)),
                static_cast<std::uint32_t>(std::lround(outAlpha * 255.0)));
}

} // namespace glyfora::document
