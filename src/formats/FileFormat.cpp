#include "formats/FileFormat.h"

#include "base/Utf8.h"
#include "formats/TypefaceFile.h"
#include "formats/XmlImageFile.h"
#include "formats/bmfont/BmFontFile.h"

#include <algorithm>
#include <array>

namespace glyfora::formats {

namespace {

constexpr std::array<std::string_view, 1> TfExtensions{"tf"};
constexpr std::array<std::string_view, 1> XmlExtensions{"xml"};
constexpr std::array<std::string_view, 1> FntExtensions{"fnt"};
constexpr std::array<std::string_view, 1> JsonExtensions{"json"};

template <BmFontVariant Variant> bool IsBmFont(std::span<const std::uint8_t> bytes) {
    return DetectBmFontVariant(bytes) == Variant;
}

template <BmFontVariant Variant>
base::Result<base::Done> ReadBmFontVariant(document::Typeface& typeface,
                                           std::span<const std::uint8_t> bytes,
                                           const std::string& directory) {
    return ReadBmFont(typeface, bytes, directory, Variant);
}

template <BmFontVariant Variant>
base::Result<base::Done> WriteBmFontVariant(const document::Typeface& typeface,
                                            const std::string& fileName) {
    return WriteBmFont(typeface, fileName, Variant);
}

constexpr FileFormat Formats[] = {
    {FileFormatId::Tf, "Typeface", "Glyfora typeface (.tf)", TfExtensions, &IsTfFile, &ReadTfFile,
     &WriteTfFile, &TfFieldLimits},
    {FileFormatId::XmlImage, "XML & Image", "XML & Image", XmlExtensions, nullptr,
     &ReadXmlDescription, &WriteXmlDescription, &XmlImageFieldLimits},
    {FileFormatId::BmFontText, "BMFont (text)", "BMFont (text)", FntExtensions,
     &IsBmFont<BmFontVariant::Text>, &ReadBmFontVariant<BmFontVariant::Text>,
     &WriteBmFontVariant<BmFontVariant::Text>, nullptr},
    {FileFormatId::BmFontXml, "BMFont (XML)", "BMFont (XML)", FntExtensions,
     &IsBmFont<BmFontVariant::Xml>, &ReadBmFontVariant<BmFontVariant::Xml>,
     &WriteBmFontVariant<BmFontVariant::Xml>, nullptr},
    {FileFormatId::BmFontBinary, "BMFont (binary)", "BMFont (binary)", FntExtensions,
     &IsBmFont<BmFontVariant::Binary>, &ReadBmFontVariant<BmFontVariant::Binary>,
     &WriteBmFontVariant<BmFontVariant::Binary>, nullptr},
    {FileFormatId::BmFontJson, "BMFont (JSON)", "BMFont (JSON)", JsonExtensions,
     &IsBmFont<BmFontVariant::Json>, &ReadBmFontVariant<BmFontVariant::Json>,
     &WriteBmFontVariant<BmFontVariant::Json>, nullptr},
};

} // namespace

std::span<const FileFormat> FileFormats() {
    return Formats;
}

const FileFormat& FileFormatOf(FileFormatId id) {
    const auto found = std::ranges::find(Formats, id, &FileFormat::Id);
    return found != std::end(Formats) ? *found : Formats[0];
}

const FileFormat& DetectFileFormat(std::span<const std::uint8_t> bytes) {
    const FileFormat* fallback = &Formats[0];
    for (const FileFormat& format : Formats) {
        if (format.Detect == nullptr) {
            fallback = &format;
        } else if (format.Detect(bytes)) {
            return format;
        }
    }
    return *fallback;
}

bool HasExtension(const FileFormat& format, std::string_view extension) {
    return std::ranges::any_of(format.Extensions, [extension](std::string_view own) {
        return base::EqualIgnoringAsciiCase(own, extension);
    });
}

std::optional<FileFormatId> FormatForFileName(const std::string& fileName,
                                              std::optional<FileFormatId> current) {
    const std::string extension = ExtensionOf(fileName);
    if (extension.empty()) {
        return std::nullopt;
    }
    if (current && HasExtension(FileFormatOf(*current), extension)) {
        return current;
    }
    for (const FileFormat& format : Formats) {
        if (HasExtension(format, extension)) {
            return format.Id;
        }
    }
    return std::nullopt;
}

std::string ExtensionOf(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t separator = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
        return {};
    }
    std::string extension = fileName.substr(dot + 1);
    std::ranges::transform(extension, extension.begin(), base::AsciiLower);
    return extension;
}

std::string WithExtension(const std::string& fileName, const std::string& extension) {
    const std::string own = ExtensionOf(fileName);
    if (std::ranges::equal(own, extension, {}, {}, base::AsciiLower)) {
        return fileName;
    }
    return fileName + "." + extension;
}

std::string DirectoryOf(const std::string& fileName) {
    const std::size_t separator = fileName.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : fileName.substr(0, separator + 1);
}

} // namespace glyfora::formats
