#pragma once

#include "document/Image.h"
#include "document/Typeface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace glyfora::document {

struct LoadedPicture {
    std::optional<Image> Picture; // none on failure
    std::string Error;            // why, when Picture is none
};

// Decodes a PNG or BMP picture, told apart by their signatures rather than by a file name.
[[nodiscard]] LoadedPicture DecodePicture(std::span<const std::uint8_t> bytes);

// Reads and decodes a PNG or BMP picture file.
[[nodiscard]] LoadedPicture LoadPictureFile(const std::string& path);

// Makes picture the typeface's character-set picture (Image, Sprite and FlippedSprite) and marks
// the typeface modified. Metrics are not touched.
void ReplaceCharacterSetPicture(Typeface& typeface, Image picture);

// Loads a picture file into the typeface. On failure the current picture stays and the reason is
// returned; an empty string means success.
[[nodiscard]] std::string ImportCharacterSetPicture(Typeface& typeface, const std::string& path);

} // namespace glyfora::document
