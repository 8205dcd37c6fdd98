#pragma once

#include "base/Result.h"
#include "document/Image.h"
#include "document/Typeface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace glyfora::formats {

// Decodes a PNG or BMP picture, told apart by their signatures rather than by a file name. A
// picture whose RGBA pixels would take more than maxBytes is refused from its header.
[[nodiscard]] base::Result<document::Image>
DecodePicture(std::span<const std::uint8_t> bytes,
              std::uint64_t maxBytes = document::MaxImageBytes);

// The path of a file that a description names, relative to the description's folder (which ends
// in a separator or is empty): "\" separates folders as in descriptions written on Windows, and
// an absolute name stands as it is.
[[nodiscard]] std::string PathBeside(const std::string& directory, const std::string& name);

// Reads and decodes a PNG or BMP picture file.
[[nodiscard]] base::Result<document::Image> LoadPictureFile(const std::string& path);

// Writes the picture to path as a PNG (as StreamPng encodes it), atomically and as it is encoded.
[[nodiscard]] base::Result<base::Done> WritePngFile(const document::Image& picture,
                                                    const std::string& path);

// Makes picture the typeface's character-set picture (Image and Sprite) and marks
// the typeface modified. Metrics are not touched.
void ReplaceCharacterSetPicture(document::Typeface& typeface, document::Image picture);

// Loads a picture file into the typeface. On failure the current picture stays.
[[nodiscard]] base::Result<base::Done> ImportCharacterSetPicture(document::Typeface& typeface,
                                                                 const std::string& path);

} // namespace glyfora::formats
