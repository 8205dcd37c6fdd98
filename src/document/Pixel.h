#pragma once

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

// round(value / 255) for a sum of products of two channel values.
[[nodiscard]] constexpr std::uint32_t DivideBy255(std::uint32_t value) {
    return (value + 127U) / 255U;
}

// Source-over compositing of one pixel onto another with straight alpha, each channel rounded to
// nearest. Onto a fully transparent pixel the source is copied unchanged, colour of transparent
// pixels included; a fully transparent source over anything else leaves the destination.
[[nodiscard]] std::uint32_t BlendSourceOver(std::uint32_t source, std::uint32_t destination);

} // namespace glyfora::document
