#include "document/TypefaceIo.h"

#include "document/FileReading.h"

#include <algorithm>

namespace glyfora::document {

Result<LoadedTypeface> LoadTypeface(TypefaceRegistry& registry, std::int64_t id,
                                    const std::string& fileName) {
    Result<std::vector<std::uint8_t>> bytes = ReadWholeFile(fileName);
    if (!bytes) {
        return Failure{std::move(bytes.Error)};
    }
    if (bytes.Value->empty()) {
        return Failure{"\"" + fileName + "\" is empty"};
    }
    return LoadTypefaceFromMemory(registry, id, *bytes.Value, DirectoryOf(fileName));
}

Result<LoadedTypeface> LoadTypefaceFromMemory(TypefaceRegistry& registry, std::int64_t id,
                                              std::span<const std::uint8_t> bytes,
                                              const std::string& directory) {
    if (id < 0 || id > MaxTypefaceId) {
        return Failure{"no typeface can be registered under id " + std::to_string(id)};
    }
    // The file is read into a typeface of its own and only installed once it proved readable,
    // so a failed open leaves the document under id as it was.
    std::unique_ptr<Typeface> typeface = MakeTypeface(registry, id);
    const FileFormat& format = DetectFileFormat(bytes);
    Result<Done> read = format.Read(*typeface, bytes, directory);
    if (!read) {
        // Only the format without a signature is tried on anything else.
        if (format.Detect == nullptr) {
            return Failure{"not a Glyfora typeface (.tf) or XML description" +
                           (read.Error.empty() ? std::string() : " (" + read.Error + ")")};
        }
        return Failure{std::move(read.Error)};
    }
    typeface->Modified = false;
    Result<LoadedTypeface> result(
        LoadedTypeface{InstallTypeface(registry, std::move(typeface)), format.Id});
    result.Warnings = std::move(read.Warnings);
    return result;
}

Result<Done> SaveTypeface(TypefaceRegistry& registry, std::int64_t id, const std::string& fileName,
                          FileFormatId format) {
    Typeface* typeface = id == DefaultTypefaceId ? nullptr : TypefaceFromId(registry, id);
    if (typeface == nullptr) {
        return Failure{"no typeface under id " + std::to_string(id)};
    }
    const std::span<const FileFormat> formats = FileFormats();
    const auto known = std::ranges::find(formats, format, &FileFormat::Id);
    if (known == formats.end()) {
        return Failure{"unknown file format " + std::to_string(static_cast<int>(format))};
    }
    Result<Done> result = known->Write(*typeface, fileName);
    if (result) {
        typeface->Modified = false;
    }
    return result;
}

} // namespace glyfora::document
