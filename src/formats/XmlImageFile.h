#pragma once

#include "base/Result.h"
#include "document/Typeface.h"

#include <cstdint>
#include <span>
#include <string>

namespace glyfora::formats {

// Reads an XML description and its picture (the root's "Image" attribute, relative to directory)
// into typeface. Fails when the bytes hold no root element at all. A description that is not
// well-formed is read as far as the parser got, with a warning naming the line.
[[nodiscard]] base::Result<base::Done> ReadXmlDescription(document::Typeface& typeface,
                                                          std::span<const std::uint8_t> bytes,
                                                          const std::string& directory);

// Reads an attribute value as a number: leading blanks and tabs skipped, optional sign, then "$"
// and hexadecimal digits, "%" and binary digits, or decimal digits; stops at the first character
// that does not fit. No digits gives 0.
[[nodiscard]] std::int64_t ReadXmlNumber(const char* text);

// Writes the description (root "Typeface", decimal numbers, UTF-8) and its picture beside it,
// named after the description ("name.xml" → "name.png"). Properties have no place in it and are
// reported in Warnings. Refused, writing nothing, when a code or metric does not fit what the
// reader takes (XmlImageFieldLimits).
[[nodiscard]] base::Result<base::Done> WriteXmlDescription(const document::Typeface& typeface,
                                                           const std::string& fileName);

} // namespace glyfora::formats
