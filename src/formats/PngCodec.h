#pragma once

#include "base/Result.h"
#include "document/Image.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace glyfora::formats {

// Decodes a PNG of any colour type and bit depth into RGBA8. Pictures whose RGBA pixels would
// take more than maxBytes (at most MaxImageBytes) are refused from the header, before any pixel
// memory is taken.
[[nodiscard]] base::Result<document::Image>
DecodePng(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes = document::MaxImageBytes);

// Takes the encoded bytes piece by piece as they are made; false stops the encoding.
using PngOutput = std::function<bool(std::span<const std::uint8_t>)>;

// Encodes the picture as a PNG that decodes to the same RGBA pixels: 8-bit grey + alpha when
// every pixel's red, green and blue are equal, else 8-bit RGBA. Rows are converted one at a time
// and the bytes handed to write as they are deflated, so neither a second copy of the picture nor
// the whole PNG is ever held. False when the picture has no pixels, libpng fails or write refuses.
[[nodiscard]] bool StreamPng(const document::Image& image, const PngOutput& write);

// Appends the picture to out as StreamPng encodes it; false (out unchanged) when that fails.
[[nodiscard]] bool AppendPng(const document::Image& image, std::vector<std::uint8_t>& out);

// The picture as a PNG of its own, as AppendPng writes it; none when that fails.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> EncodePng(const document::Image& image);

} // namespace glyfora::formats
