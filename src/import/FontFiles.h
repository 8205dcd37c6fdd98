#pragma once

#include "base/MappedFile.h"
#include "base/Result.h"
#include "import/FontMatching.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

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

// The extensions of the font files the import reads, as the command line and the file dialog
// recognise them.
inline constexpr std::array<std::string_view, 6> FontFileExtensions{".ttf", ".otf",  ".ttc",
                                                                    ".otc", ".woff", ".woff2"};

// Whether name stands for a font file rather than a family: it holds a folder separator or ends
// in one of FontFileExtensions, case ignored.
[[nodiscard]] bool NamesFontFile(std::string_view name);

// A face of a font file, and for a variable font a named instance (empty: the default) and axis
// values "TAG=VALUE" applied after it.
struct FontFileChoice {
    std::string Path;
    std::int64_t FaceIndex = 0;
    std::string Instance;
    std::vector<std::string> Axes;
};

// One entry of a font file's list of faces: the face, a named instance of it (empty: the face
// itself) and the family and style they draw as one name.
struct FileFace {
    std::int64_t FaceIndex = 0;
    std::string Instance;
    std::string Name;
};

// The faces of the file at path in file order, each variable face followed by its named
// instances. Fails naming the file when it cannot be read or is no font.
[[nodiscard]] base::Result<std::vector<FileFace>>
ListFileFaces(const platform::GraphicsLibrary& graphics, const std::string& path);

// The font files of one import: each family and style matched once and each file mapped once, so
// that the character choice, coverage, kerning and the faces of all its workers are made from the
// same bytes without asking fontconfig and the file system again for every one. Matching and
// mapping happen on the one thread that opens the import's fonts; faces on other threads may read
// the bytes at the same time. Every face made from the bytes must be closed before the FontFiles
// is destroyed.
class FontFiles {
public:
    // Opens the chosen face of a file so that Match(choice.Path, style) gives it from then on, with
    // the face's family and style as its family. Fails naming the file when it cannot be read or
    // is no font, the face index when the file has no such face, and the instance, axis or value
    // a variable font lacks.
    [[nodiscard]] base::Result<base::Done> OpenFile(const platform::GraphicsLibrary& graphics,
                                                    const FontFileChoice& choice);
    // The file opened by OpenFile for that name, else MatchFontFile(family, style), asked once.
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
    std::map<std::string, std::optional<FontFile>> opened_;
};

} // namespace glyfora::fontimport
