#pragma once

#include "base/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::fontimport {

// The last code point Unicode has.
constexpr std::uint32_t LastUnicodeCode = 0x10FFFF;

// The codes of a character list such as "32-126, 0xA0-0xFF, U+0400-U+04FF": decimal, 0x hex and
// U+ hex codes and ranges (both ends included), separated by commas or blanks. Ascending, each
// once. Fails with the item that is not a code or range and why.
[[nodiscard]] base::Result<std::vector<std::uint32_t>> ParseCharacterList(std::string_view list);

// Every distinct character of UTF-8 text, ascending. Line breaks (LF, CR, NEL, U+2028, U+2029) are
// not characters, and neither is a byte-order mark. Text that is not well-formed UTF-8 is refused,
// with the byte and line where it goes wrong: guessing would import the wrong characters.
[[nodiscard]] base::Result<std::vector<std::uint32_t>> CharactersOfText(std::string_view text);

// CharactersOfText of a file's contents; the error names the file.
[[nodiscard]] base::Result<std::vector<std::uint32_t>> ReadCharacterFile(const std::string& path);

// Ascending codes written as a list ParseCharacterList reads back: runs as ranges, U+ hex.
[[nodiscard]] std::string FormatCharacterList(std::span<const std::uint32_t> codes);

// The union of two ascending lists of distinct codes.
[[nodiscard]] std::vector<std::uint32_t> MergeCharacterLists(std::span<const std::uint32_t> a,
                                                             std::span<const std::uint32_t> b);

// The ascending codes with the distinct characters of the UTF-8 text files at paths added. Fails
// when a file cannot be read, with its reason.
[[nodiscard]] base::Result<std::vector<std::uint32_t>>
AddCharacterFiles(std::vector<std::uint32_t> codes, std::span<const std::string> paths);

// The list with the distinct characters of the UTF-8 text files at paths added, written as
// FormatCharacterList writes it: what "Add Text File..." and the command line's --chars-file make
// of a list. Fails when the list cannot be read (saying so) or a file cannot (with its reason).
[[nodiscard]] base::Result<std::string> AddCharacterFilesToList(std::string_view list,
                                                                std::span<const std::string> paths);

// "U+0041" style: at least four hex digits.
[[nodiscard]] std::string CodeName(std::uint32_t code);

} // namespace glyfora::fontimport
