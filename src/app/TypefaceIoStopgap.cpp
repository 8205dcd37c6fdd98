// Built only while the document library has no LoadTypeface / SaveTypeface of its own: reads and
// writes ".tf" files through the ".tf" codec; "XML & Image" fails with a clear reason.
#include "document/AtomicFile.h"
#include "document/TypefaceFile.h"
#include "document/TypefaceIo.h"

#include <algorithm>

namespace glyfora::document {

LoadResult LoadTypeface(TypefaceRegistry& registry, std::int64_t id, const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    if (std::string reason = ReadWholeFile(fileName, bytes); !reason.empty()) {
        return {nullptr, reason, {}};
    }
    if (bytes.size() < TfMagic.size() ||
        !std::equal(TfMagic.begin(), TfMagic.end(), bytes.begin())) {
        return {nullptr, "Not a typeface file (XML & Image is not readable by this build).", {}};
    }
    std::unique_ptr<Typeface> typeface = MakeTypeface(registry, id);
    if (typeface == nullptr) {
        return {nullptr, "No such typeface id.", {}};
    }
    LoadResult result;
    ReadTfChunks(*typeface, std::span(bytes).subspan(TfMagic.size()), result.Warnings);
    typeface->Modified = false;
    result.Loaded = InstallTypeface(registry, std::move(typeface));
    return result;
}

SaveResult SaveTypeface(TypefaceRegistry& registry, std::int64_t id, const std::string& fileName,
                        int format) {
    const Typeface* typeface = TypefaceFromId(registry, id);
    if (typeface == nullptr) {
        return {false, "No typeface to save.", {}};
    }
    if (format != FormatTf) {
        return {false, "XML & Image cannot be written by this build.", {}};
    }
    return WriteTfFile(*typeface, fileName);
}

std::string WithExtension(const std::string& fileName, const std::string& extension) {
    const std::size_t dot = fileName.find_last_of('.');
    if (dot != std::string::npos && fileName.substr(dot + 1) == extension) {
        return fileName;
    }
    return fileName + "." + extension;
}

} // namespace glyfora::document
