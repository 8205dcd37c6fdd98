#pragma once

#include "base/Result.h"
#include "document/Image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace glyfora::formats {

// Decodes a Windows bitmap with 16, 24 or 32 bits per pixel, uncompressed (BI_RGB) or with
// channel masks (BI_BITFIELDS, BI_ALPHABITFIELDS), stored bottom-up or top-down, with any of the
// usual info headers. Alpha comes from an alpha mask when the file has one; a 32-bit BI_RGB file
// uses its fourth byte as alpha when any pixel has a non-zero one (many programs store alpha
// there), otherwise it is opaque. Palette pictures, compressed pictures and damaged or truncated
// files are refused with the reason; nothing outside bytes is ever read. Pictures whose RGBA pixels
// would take more than maxBytes (at most MaxImageBytes) are refused from the header.
[[nodiscard]] base::Result<document::Image>
DecodeBmp(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes = document::MaxImageBytes);

// Decodes a bitmap as DecodeBmp does, into the rows of target from row top on, its left edge at
// target's. Refused when the picture does not fit there.
[[nodiscard]] base::Result<base::Done> DecodeBmpInto(std::span<const std::uint8_t> bytes,
                                                     document::Image& target, std::int64_t top);

// The size a bitmap's headers give, from the file's first bytes (2 KB hold any header); refused as
// DecodeBmp would refuse the headers.
[[nodiscard]] base::Result<document::PictureSize> ReadBmpSize(std::span<const std::uint8_t> head);

} // namespace glyfora::formats
