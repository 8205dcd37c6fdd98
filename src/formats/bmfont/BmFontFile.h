#pragma once

// BMFont ".fnt" descriptors (text, XML and binary) with their page pictures.

#include "base/Result.h"
#include "document/Typeface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace glyfora::formats {

enum class BmFontVariant { Text, Xml, Binary, Json };

// The variant the bytes are written in, by content alone: "BMF" and a version byte; a first line
// beginning with "info" or "common"; an XML root "font" holding "common" and "chars"; a JSON
// object naming "chars" and "common". None for anything else.
[[nodiscard]] std::optional<BmFontVariant> DetectBmFontVariant(std::span<const std::uint8_t> bytes);

// Reads a descriptor of the given variant into an empty typeface; page pictures are looked for in
// directory (which ends in a separator or is empty). Fails with why nothing could be read;
// partial reads warn.
[[nodiscard]] base::Result<base::Done> ReadBmFont(document::Typeface& typeface,
                                                  std::span<const std::uint8_t> bytes,
                                                  const std::string& directory,
                                                  BmFontVariant variant);

// Writes the page picture "<name>_0.png" beside fileName and then the descriptor itself, each
// atomically. Refuses (writing nothing) when the typeface has no picture or a value does not fit
// the variant.
[[nodiscard]] base::Result<base::Done>
WriteBmFont(const document::Typeface& typeface, const std::string& fileName, BmFontVariant variant);

// A descriptor's name without its folder and extension, which its pages are named after.
[[nodiscard]] std::string BmFontBaseName(const std::string& fileName);

} // namespace glyfora::formats
