#pragma once

#include <string>
#include <string_view>

namespace glyfora::platform {

// Every byte is one ISO 8859-1 character; the result is UTF-8.
[[nodiscard]] std::string Latin1ToUtf8(std::string_view bytes);

// The text with every byte that does not belong to a well-formed UTF-8 sequence (overlong forms,
// surrogates and values above U+10FFFF included) replaced by U+FFFD, so later layers may trust it.
[[nodiscard]] std::string ValidUtf8(std::string_view bytes);

// UTF-8 to UTF-16 and back; malformed input and unpaired surrogates become U+FFFD.
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

} // namespace glyfora::platform
