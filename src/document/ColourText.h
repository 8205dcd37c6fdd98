#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glyfora::document {

// A colour written as hexadecimal digits RRGGBB (opaque) or RRGGBBAA, either case, as the pixel
// 0xAABBGGRR; none for anything else.
[[nodiscard]] std::optional<std::uint32_t> ParseHexColour(std::string_view digits);

// The pixel's colour as "#RRGGBBAA", upper-case: how the import records its colours.
[[nodiscard]] std::string HexColourText(std::uint32_t pixel);

} // namespace glyfora::document
