#include "formats/TypefaceIo.h"

#include "base/FileReading.h"

#include <algorithm>

namespace glyfora::formats {

base::Result<LoadedTypeface> LoadTypeface(document::TypefaceRegistry& registry, std::int64_t id,
                                          const std::string& fileName) {
    base::Result<std::vector<std::uint8_t>> bytes = base::ReadWholeFile(fileName);
    if (!bytes) {
        return base::Failure{std::move(bytes.Error)};
    }
    if (bytes.Value->empty()) {
        return base::Failure{"\"" + fileName + "\" is empty"};
    }
    return LoadTypefaceFromMemory(registry, id, *bytes.Value, DirectoryOf(fileName));
}

base::Result<LoadedTypeface> LoadTypefaceFromMemory(document::TypefaceRegistry& registry,
                                                    std::int64_t id,
                                                    std::span<const std::uint8_t> bytes,
                                                    const std::string& directory) {
    if (id < 0 || id > document::MaxTypefaceId) {
        return base::Failure{"no typeface can be registered under id " + std::to_string(id)};
    }
    // The file is read into a typeface of its own and only installed once it proved readable,
    // so a failed open leaves the document under id as it was.
    std::unique_ptr<document::Typeface> typeface = document::MakeTypeface(registry, id);
    const FileFormat& format = DetectFileFormat(bytes);
    base::Result<base::Done> read = format.Read(*typeface, bytes, directory);
    if (!read) {
        // Only the format without a signature is tried on anything else.
        if (format.Detect == nullptr) {
            return base::Failure{"not a Glyfora typeface (.tf) or XML description" +
                                 (read.Error.empty() ? std::string() : " (" + read.Error + ")")};
        }
        return base::Failure{std::move(read.Error)};
    }
    typeface->Modified = false;
    base::Result<LoadedTypeface> result(
        LoadedTypeface{document::InstallTypeface(registry, std::move(typeface)), format.Id});
    result.Warnings = std::move(read.Warnings);
    return result;
}

base::Result<base::Done> SaveTypeface(document::TypefaceRegistry& registry, std::int64_t id,
                                      const std::string& fileName, FileFormatId format) {
    document::Typeface* typeface =
        id == document::DefaultTypefaceId ? nullptr : document::TypefaceFromId(registry, id);
    if (typeface == nullptr) {
        return base::Failure{"no typeface under id " + std::to_string(id)};
    }
    const std::span<const FileFormat> formats = FileFormats();
    const auto known = std::ranges::find(formats, format, &FileFormat::Id);
    if (known == formats.end()) {
        return base::Failure{"unknown file format " + std::to_string(static_cast<int>(format))};
    }
    base::Result<base::Done> result = known->Write(*typeface, fileName);
    if (result) {
        typeface->Modified = false;
    }
    return result;
}

} // namespace glyfora::formats
