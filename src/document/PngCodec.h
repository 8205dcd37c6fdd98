#pragma once

#include "document/Image.h"
#include "document/Result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace glyfora::document {

// Decodes a PNG of any colour type and bit depth into RGBA8. Pictures whose RGBA pixels would
// take more than maxBytes (at most MaxImageBytes) are refused from the header, before any pixel
// memory is taken.
[[nodiscard]] Result<Image> DecodePng(std::span<const std::uint8_t> bytes,
                                      std::uint64_t maxBytes = MaxImageBytes);

// Appends the picture to out as a PNG that decodes to the same RGBA pixels: 8-bit grey + alpha
// when every pixel's red, green and blue are equal, else 8-bit RGBA. Rows are converted one at a
// time, so no second copy of the picture is made. False (out unchanged) when the picture has no
// pixels or libpng fails.
[[nodiscard]] bool AppendPng(const Image& image, std::vector<std::uint8_t>& out);

// The picture as a PNG of its own, as AppendPng writes it; none when that fails.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> EncodePng(const Image& image);

} // namespace glyfora::document
