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

// Encodes the picture as 8-bit RGBA PNG, alpha kept; none when libpng fails.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> EncodePng(const Image& image);

} // namespace glyfora::document
