#include "cli/OutputFormat.h"

#include <algorithm>
#include <vector>

namespace glyfora::cli {

std::optional<formats::FileFormatId> FormatForExtension(const std::string& fileName) {
    return formats::FormatForFileName(fileName);
}

std::optional<formats::FileFormatId> BmFontFormatNamed(std::string_view variant) {
    if (variant == "text") {
        return formats::FileFormatId::BmFontText;
    }
    if (variant == "xml") {
        return formats::FileFormatId::BmFontXml;
    }
    if (variant == "binary") {
        return formats::FileFormatId::BmFontBinary;
    }
    return std::nullopt;
}

std::string OutputExtensionsText() {
    std::vector<std::string_view> extensions;
    for (const formats::FileFormat& format : formats::FileFormats()) {
        for (const std::string_view extension : format.Extensions) {
            if (std::ranges::find(extensions, extension) == extensions.end()) {
                extensions.push_back(extension);
            }
        }
    }
    std::string text;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        text += i == 0 ? "" : i + 1 == extensions.size() ? " or " : ", ";
        text += "." + std::string(extensions[i]);
    }
    return text;
}

} // namespace glyfora::cli
