#pragma once

#include "document/Typeface.h"

#include <string>
#include <string_view>
#include <vector>

namespace glyfora::cli {

// Appends text as a JSON string literal. Quote, backslash and control characters are escaped;
// bytes that are not well-formed UTF-8 become U+FFFD, so the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text);

// The whole typeface as one JSON object: "image" (width and height, or null), "characters" and
// "kerning" in list order, "properties" and the reader's "warnings". Ends with a line break.
[[nodiscard]] std::string TypefaceToJson(const document::Typeface& typeface,
                                         const std::vector<std::string>& warnings);

} // namespace glyfora::cli
