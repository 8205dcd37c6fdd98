#pragma once

#include "document/Image.h"
#include "document/Result.h"
#include "document/Typeface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace glyfora::document {

// Decodes a PNG or BMP picture, told apart by their signatures rather than by a file name. A
// picture whose RGBA pixels would take more than maxBytes is refused from its header.
[[nodiscard]] Result<Image> DecodePicture(std::span<const std::uint8_t> bytes,
                                          std::uint64_t maxBytes = MaxImageBytes);

// The path of a file that a description names, relative to the description's folder (which ends
// in a separator or is empty): "\" separates folders as in descriptions written on Windows, and
// an absolute name stands as it is.
[[nodiscard]] std::string PathBeside(const std::string& directory, const std::string& name);

// Reads and decodes a PNG or BMP picture file.
[[nodiscard]] Result<Image> LoadPictureFile(const std::string& path);

// Writes the picture to path as a PNG (as StreamPng encodes it), atomically and as it is encoded.
[[nodiscard]] Result<Done> WritePngFile(const Image& picture, const std::string& path);

// Makes picture the typeface's character-set picture (Image and Sprite) and marks
// the typeface modified. Metrics are not touched.
void ReplaceCharacterSetPicture(Typeface& typeface, Image picture);

// Loads a picture file into the typeface. On failure the current picture stays.
[[nodiscard]] Result<Done> ImportCharacterSetPicture(Typeface& typeface, const std::string& path);

} // namespace glyfora::document
