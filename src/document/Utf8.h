#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace glyfora::document {

// Decodes the UTF-8 sequence that starts at text[position] and advances position past it.
// Overlong forms, surrogates, values above U+10FFFF and truncated sequences give none; position
// then moves past one byte only, so a caller can resume at the next byte.
[[nodiscard]] std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& position);

// True when the whole text is well-formed UTF-8.
[[nodiscard]] bool IsValidUtf8(std::string_view text);

} // namespace glyfora::document
