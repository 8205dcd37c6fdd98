#pragma once

#include "document/Image.h"
#include "formats/PngCodec.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace glyfora::testsupport {

// The picture as the bytes of a PNG file, encoded as every writer streams it; none when it cannot
// be encoded. Tests make their picture fixtures with it.
inline std::optional<std::vector<std::uint8_t>> PngBytes(const document::Image& image) {
    std::vector<std::uint8_t> bytes;
    const base::Result<base::Done> encoded =
        formats::StreamPng(image, [&bytes](std::span<const std::uint8_t> piece) {
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            return true;
        });
    if (!encoded) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace glyfora::testsupport
