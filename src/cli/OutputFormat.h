#pragma once

#include "formats/FileFormat.h"

#include <optional>
#include <string>
#include <string_view>

namespace glyfora::cli {

// The format an output file's extension names, case ignored (the first format with that
// extension: ".fnt" is BMFont text). None for any other name.
[[nodiscard]] std::optional<formats::FileFormatId> FormatForExtension(const std::string& fileName);

// The BMFont format a "--fnt" value names: "text", "xml" or "binary". None for anything else.
[[nodiscard]] std::optional<formats::FileFormatId> BmFontFormatNamed(std::string_view variant);

// The extensions an output file may end in, for messages: ".tf, .xml or .fnt".
[[nodiscard]] std::string OutputExtensionsText();

} // namespace glyfora::cli
