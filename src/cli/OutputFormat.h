#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glyfora::cli {

// The SaveTypeface format an output file's extension names, case ignored: ".tf", ".xml" (XML &
// Image) or ".fnt" (BMFont, text variant). None for any other name.
[[nodiscard]] std::optional<int> FormatForExtension(const std::string& fileName);

// The BMFont format a "--fnt" value names: "text", "xml" or "binary". None for anything else.
[[nodiscard]] std::optional<int> BmFontFormatNamed(std::string_view variant);

} // namespace glyfora::cli
