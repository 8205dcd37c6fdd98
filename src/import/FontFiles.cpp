#include "import/FontFiles.h"

#include "base/Utf8.h"
#include "import/FontVariation.h"
#include "platform/GraphicsLibrary.h"

#include <array>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace glyfora::fontimport {

namespace {

// The family and style of a face as one name, "Regular" left out.
std::string FaceName(FT_Face face, const std::string& instance) {
    std::string name = face->family_name != nullptr ? face->family_name : "";
    const std::string style =
        !instance.empty() ? instance : (face->style_name != nullptr ? face->style_name : "");
    if (!style.empty() && style != "Regular") {
        name += name.empty() ? style : " " + style;
    }
    return name;
}

} // namespace

bool NamesFontFile(std::string_view name) {
    if (name.find('/') != std::string_view::npos) {
        return true;
    }
    for (const std::string_view extension : FontFileExtensions) {
        if (name.size() > extension.size() &&
            base::EqualIgnoringAsciiCase(name.substr(name.size() - extension.size()), extension)) {
            return true;
        }
    }
    return false;
}

void FontFaceCloser::operator()(FT_Face face) const {
    FT_Done_Face(face);
}

base::Result<base::Done> FontFiles::OpenFile(const platform::GraphicsLibrary& graphics,
                                             const FontFileChoice& choice) {
    const std::string named = "\"" + choice.Path + "\"";
    if (!graphics.GraphicsLibraryReady || graphics.Library == nullptr) {
        return base::Failure{"The text rasteriser is not running, so " + named +
                             " cannot be read."};
    }
    FontFile file{.Path = choice.Path, .FaceIndex = -1, .ExactFamily = true};
    // Face index -1 only counts the faces of the file.
    const FontFace collection = Face(graphics, file);
    if (!collection) {
        return base::Failure{named + " cannot be read or is not a font file."};
    }
    if (choice.FaceIndex < 0 || choice.FaceIndex >= collection->num_faces) {
        return base::Failure{"The face index " + std::to_string(choice.FaceIndex) +
                             " is beyond the " + std::to_string(collection->num_faces) +
                             " face(s) of " + named + "."};
    }
    file.FaceIndex = static_cast<int>(choice.FaceIndex);
    const FontFace face = Face(graphics, file);
    if (!face) {
        return base::Failure{"The face " + std::to_string(choice.FaceIndex) + " of " + named +
                             " cannot be read."};
    }
    base::Result<FaceVariation> variation =
        VariationCoordinates(face.get(), choice.Instance, choice.Axes);
    if (!variation) {
        return base::Failure{named + ": " + variation.Error + "."};
    }
    file.Coordinates = std::move(variation.Value->Coordinates);
    file.Family = FaceName(face.get(), variation.Value->Instance);
    opened_[choice.Path] = std::move(file);
    return base::Done{};
}

base::Result<std::vector<FileFace>> ListFileFaces(const platform::GraphicsLibrary& graphics,
                                                  const std::string& path) {
    const std::string named = "\"" + path + "\"";
    if (!graphics.GraphicsLibraryReady || graphics.Library == nullptr) {
        return base::Failure{"The text rasteriser is not running, so " + named +
                             " cannot be read."};
    }
    FontFiles files;
    FontFile file{.Path = path, .FaceIndex = -1, .ExactFamily = true};
    const FontFace collection = files.Face(graphics, file);
    if (!collection) {
        return base::Failure{named + " cannot be read or is not a font file."};
    }
    std::vector<FileFace> faces;
    for (FT_Long index = 0; index < collection->num_faces; ++index) {
        file.FaceIndex = static_cast<int>(index);
        const FontFace face = files.Face(graphics, file);
        if (!face) {
            continue; // a damaged face of a collection leaves the others usable
        }
        faces.push_back({index, {}, FaceName(face.get(), {})});
        for (const std::string& instance : NamedInstances(face.get())) {
            faces.push_back({index, instance, FaceName(face.get(), instance)});
        }
    }
    return faces;
}

const std::optional<FontFile>& FontFiles::Match(const std::string& family, std::int64_t style) {
    if (const auto opened = opened_.find(family); opened != opened_.end()) {
        return opened->second;
    }
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
    FontFace made(error == 0 ? face : nullptr);
    if (made && !SetVariationCoordinates(made.get(), file.Coordinates)) {
        return nullptr;
    }
    return made;
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
