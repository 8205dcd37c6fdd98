#include "document/TypefaceIo.h"

#include "document/FileReading.h"
#include "document/BmFontFile.h"
#include "document/TypefaceFile.h"
#include "document/XmlImageFile.h"

#include <algorithm>

namespace glyfora::document {

namespace {

bool StartsWithTfMagic(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= TfMagic.size() &&
           std::equal(TfMagic.begin(), TfMagic.end(), bytes.begin());
}

} // namespace

LoadResult LoadTypeface(TypefaceRegistry& registry, std::int64_t id, const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    if (std::string error = ReadWholeFile(fileName, bytes); !error.empty()) {
        return {nullptr, error, {}};
    }
    if (bytes.empty()) {
        return {nullptr, "\"" + fileName + "\" is empty", {}};
    }
    return LoadTypefaceFromMemory(registry, id, bytes, DirectoryOf(fileName));
}

LoadResult LoadTypefaceFromMemory(TypefaceRegistry& registry, std::int64_t id,
                                  std::span<const std::uint8_t> bytes,
                                  const std::string& directory) {
    LoadResult result;
    if (id < 0 || id > MaxTypefaceId) {
        result.Error = "no typeface can be registered under id " + std::to_string(id);
        return result;
    }
    // The file is read into a typeface of its own and only installed once it proved readable,
    // so a failed open leaves the document under id as it was.
    std::unique_ptr<Typeface> typeface = MakeTypeface(registry, id);
    if (StartsWithTfMagic(bytes)) {
        ReadTfChunks(*typeface, bytes.subspan(TfMagic.size()), result.Warnings);
    } else if (const std::optional<BmFontVariant> variant = DetectBmFontVariant(bytes)) {
        result.Error = ReadBmFont(*typeface, bytes, directory, *variant, result.Warnings);
        if (!result.Error.empty()) {
            result.Warnings.clear();
            return result;
        }
        result.Format = BmFontFormat(*variant);
    } else if (!ReadXmlDescription(*typeface, bytes, directory, result.Warnings)) {
        result.Error = "not a Glyfora typeface (.tf) or XML description";
        if (!result.Warnings.empty()) {
            result.Error += " (" + result.Warnings.front() + ")";
        }
        result.Warnings.clear();
        return result;
    } else {
        result.Format = FormatXmlImage;
    }
    typeface->Modified = false;
    result.Loaded = InstallTypeface(registry, std::move(typeface));
    return result;
}

SaveResult SaveTypeface(TypefaceRegistry& registry, std::int64_t id, const std::string& fileName,
                        int format) {
    Typeface* typeface = id == DefaultTypefaceId ? nullptr : TypefaceFromId(registry, id);
    if (typeface == nullptr) {
        return {false, "no typeface under id " + std::to_string(id), {}};
    }
    SaveResult result;
    if (format == FormatTf) {
        result = WriteTfFile(*typeface, fileName);
    } else if (format == FormatXmlImage) {
        result = WriteXmlDescription(*typeface, fileName);
    } else if (const std::optional<BmFontVariant> variant = BmFontVariantOfFormat(format)) {
        result = WriteBmFont(*typeface, fileName, *variant);
    } else {
        return {false, "unknown file format " + std::to_string(format), {}};
    }
    if (result.Saved) {
        typeface->Modified = false;
    }
    return result;
}

std::string WithExtension(const std::string& fileName, const std::string& extension) {
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && fileName.compare(dot + 1, std::string::npos, extension) == 0) {
        return fileName;
    }
    return fileName + "." + extension;
}

std::string DirectoryOf(const std::string& fileName) {
    const std::size_t separator = fileName.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : fileName.substr(0, separator + 1);
}

} // namespace glyfora::document
