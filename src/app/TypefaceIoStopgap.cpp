// Built only while the document library has no typeface reader and writer: loading and saving
// then fail with a clear reason instead of the editor failing to link.
#include "document/TypefaceIo.h"

namespace glyfora::document {

LoadResult LoadTypeface(TypefaceRegistry& /*registry*/, std::int64_t /*id*/,
                        const std::string& /*fileName*/) {
    return {nullptr, "Typeface files cannot be read by this build.", {}};
}

SaveResult SaveTypeface(TypefaceRegistry& /*registry*/, std::int64_t /*id*/,
                        const std::string& /*fileName*/, int /*format*/) {
    return {false, "Typeface files cannot be written by this build.", {}};
}

std::string WithExtension(const std::string& fileName, const std::string& extension) {
    const std::size_t dot = fileName.find_last_of('.');
    if (dot != std::string::npos && fileName.substr(dot + 1) == extension) {
        return fileName;
    }
    return fileName + "." + extension;
}

} // namespace glyfora::document
