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

// Decodes a PNG as DecodePng does, straight into the rows of target from row top on, its left
// edge at target's, so that pages stacked into one picture are never held a second time. Refused
// when the picture does not fit there.
[[nodiscard]] base::Result<base::Done> DecodePngInto(std::span<const std::uint8_t> bytes,
                                                     document::Image& target, std::int64_t top);

// The longest side libpng writes or reads (its user limits, PNG_USER_WIDTH_MAX and
// PNG_USER_HEIGHT_MAX).
constexpr std::int64_t MaxPngSide = 1000000;

// Refuses, naming the limit, a picture size a PNG cannot hold, so that work that would end in a
// PNG is refused before it starts.
[[nodiscard]] base::Result<base::Done> CheckPngSize(std::int64_t width, std::int64_t height);

// Takes the encoded bytes piece by piece as they are made; false stops the encoding.
using PngOutput = std::function<bool(std::span<const std::uint8_t>)>;

// Encodes the picture as a PNG that decodes to the same RGBA pixels: 8-bit grey + alpha when
// every pixel's red, green and blue are equal, else 8-bit RGBA. Rows are converted one at a time
// and the bytes handed to write as they are deflated, so neither a second copy of the picture nor
// the whole PNG is ever held. Fails, saying why, when the picture has no pixels, libpng fails or
// write refuses.
[[nodiscard]] base::Result<base::Done> StreamPng(const document::Image& image,
                                                 const PngOutput& write);

} // namespace glyfora::formats
