#pragma once

#include "base/AtomicFile.h"
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

// The size of a PNG or BMP picture from the first bytes of its file (PictureHeadBytes hold any
// header), so that pictures can be placed before they are decoded. Anything else is refused by
// its signature, a picture beyond the size limit by its header.
[[nodiscard]] base::Result<document::PictureSize>
ReadPictureSize(std::span<const std::uint8_t> head);
constexpr std::size_t PictureHeadBytes = 2048;

// Decodes a PNG or BMP picture straight into the rows of target from row top on, its left edge at
// target's; refused when it does not fit there.
[[nodiscard]] base::Result<base::Done> DecodePictureInto(std::span<const std::uint8_t> bytes,
                                                         document::Image& target, std::int64_t top);

// The path of a file that a description names, relative to the description's folder (which ends
// in a separator or is empty): "\" separates folders as in descriptions written on Windows, and
// an absolute name stands as it is.
[[nodiscard]] std::string PathBeside(const std::string& directory, const std::string& name);

// Reads and decodes a PNG or BMP picture file.
[[nodiscard]] base::Result<document::Image> LoadPictureFile(const std::string& path);

// Writes the picture to path as a PNG (as StreamPng encodes it), atomically and as it is encoded.
// A picture beyond what a PNG holds is refused before anything is written.
[[nodiscard]] base::Result<base::Done> WritePngFile(const document::Image& picture,
                                                    const std::string& path);

// Streams the picture as a PNG into file; refused when a PNG cannot hold it or it cannot be
// encoded. A failure to write is the file's, which its Commit reports.
[[nodiscard]] base::Result<base::Done> WritePng(const document::Image& picture,
                                                base::AtomicFileWriter& file);

// Makes picture the typeface's character-set picture (Image and Sprite) and marks
// the typeface modified. Metrics are not touched.
void ReplaceCharacterSetPicture(document::Typeface& typeface, document::Image picture);

// Loads a picture file into the typeface. On failure the current picture stays.
[[nodiscard]] base::Result<base::Done> ImportCharacterSetPicture(document::Typeface& typeface,
                                                                 const std::string& path);

} // namespace glyfora::formats
