#include "cli/OutputFormat.h"

#include "document/TypefaceIo.h"

#include <algorithm>

namespace glyfora::cli {

std::optional<int> FormatForExtension(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || fileName.find_first_of("/\\", dot) != std::string::npos) {
        return std::nullopt;
    }
    std::string extension = fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    if (extension == "tf") {
        return document::FormatTf;
    }
    if (extension == "xml") {
        return document::FormatXmlImage;
    }
    if (extension == "fnt") {
        return document::FormatBmFontText;
    }
    return std::nullopt;
}

std::optional<int> BmFontFormatNamed(std::string_view variant) {
    if (variant == "text") {
        return document::FormatBmFontText;
    }
    if (variant == "xml") {
        return document::FormatBmFontXml;
    }
    if (variant == "binary") {
        return document::FormatBmFontBinary;
    }
    return std::nullopt;
}

} // namespace glyfora::cli
