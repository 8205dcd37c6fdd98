#pragma once

#include "base/MappedFile.h"
#include "import/FontMatching.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

typedef struct FT_FaceRec_* FT_Face;

namespace glyfora::platform {
struct GraphicsLibrary;
}

namespace glyfora::fontimport {

struct FontFaceCloser {
    void operator()(FT_Face face) const;
};
// A FreeType face, closed when it goes.
using FontFace = std::unique_ptr<std::remove_pointer_t<FT_Face>, FontFaceCloser>;

// The font files of one import: each family and style matched once and each file mapped once, so
// that the character choice, coverage, kerning and the faces of all its workers are made from the
// same bytes without asking fontconfig and the file system again for every one. Matching and
// mapping happen on the one thread that opens the import's fonts; faces on other threads may read
// the bytes at the same time. Every face made from the bytes must be closed before the FontFiles
// is destroyed.
class FontFiles {
public:
    // MatchFontFile(family, style), asked once.
    [[nodiscard]] const std::optional<FontFile>& Match(const std::string& family,
                                                       std::int64_t style);
    // The bytes of the file at path, mapped on first use; empty when it cannot be read.
    [[nodiscard]] std::span<const std::uint8_t> Bytes(const std::string& path);
    // A face of file, made from its mapped bytes, or read by FreeType itself when they cannot be
    // mapped; none when FreeType cannot read it.
    [[nodiscard]] FontFace Face(const platform::GraphicsLibrary& graphics, const FontFile& file);
    // The face of the regular font of family; none when the rasteriser is not running or no font
    // can be opened.
    [[nodiscard]] FontFace RegularFace(const platform::GraphicsLibrary& graphics,
                                       const std::string& family);

private:
    std::map<std::pair<std::string, std::int64_t>, std::optional<FontFile>> matches_;
    std::map<std::string, base::MappedFile> files_;
};

} // namespace glyfora::fontimport
