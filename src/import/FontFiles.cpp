#include "import/FontFiles.h"

#include "platform/GraphicsLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace glyfora::fontimport {

void FontFaceCloser::operator()(FT_Face face) const {
    FT_Done_Face(face);
}

const std::optional<FontFile>& FontFiles::Match(const std::string& family, std::int64_t style) {
    auto key = std::make_pair(family, style);
    auto found = matches_.find(key);
    if (found == matches_.end()) {
        found = matches_.emplace(std::move(key), MatchFontFile(family, style)).first;
    }
    return found->second;
}

std::span<const std::uint8_t> FontFiles::Bytes(const std::string& path) {
    return files_.try_emplace(path, path).first->second.Bytes();
}

FontFace FontFiles::Face(const platform::GraphicsLibrary& graphics, const FontFile& file) {
    const std::span<const std::uint8_t> bytes = Bytes(file.Path);
    FT_Face face = nullptr;
    const FT_Error error =
        bytes.empty()
            ? FT_New_Face(graphics.Library, file.Path.c_str(), file.FaceIndex, &face)
            : FT_New_Memory_Face(graphics.Library, bytes.data(), static_cast<FT_Long>(bytes.size()),
                                 file.FaceIndex, &face);
    return FontFace(error == 0 ? face : nullptr);
}

FontFace FontFiles::RegularFace(const platform::GraphicsLibrary& graphics,
                                const std::string& family) {
    if (!graphics.GraphicsLibraryReady || graphics.Library == nullptr) {
        return nullptr;
    }
    const std::optional<FontFile>& file = Match(family, 0);
    return file ? Face(graphics, *file) : nullptr;
}

} // namespace glyfora::fontimport
