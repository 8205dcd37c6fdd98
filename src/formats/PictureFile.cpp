#include "formats/PictureFile.h"

#include "base/AtomicFile.h"
#include "base/FileReading.h"
#include "formats/BmpCodec.h"
#include "formats/PngCodec.h"

#include <algorithm>
#include <array>

namespace glyfora::formats {

namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= PngSignature.size() &&
           std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin());
}

bool IsBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

base::Failure NotAPicture(std::span<const std::uint8_t> bytes) {
    return base::Failure{bytes.empty() ? "the file is empty" : "neither a PNG nor a BMP picture"};
}

std::int64_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::int64_t{bytes[at]} << 24) | (std::int64_t{bytes[at + 1]} << 16) |
           (std::int64_t{bytes[at + 2]} << 8) | std::int64_t{bytes[at + 3]};
}

} // namespace

base::Result<document::PictureSize> ReadPictureSize(std::span<const std::uint8_t> head) {
    if (IsPng(head)) {
        // The signature, then the IHDR chunk: length 13, "IHDR", width and height.
        constexpr std::array<std::uint8_t, 8> Ihdr = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
        if (head.size() < 24 || !std::equal(Ihdr.begin(), Ihdr.end(), head.begin() + 8)) {
            return base::Failure{"damaged PNG picture: no header chunk"};
        }
        const document::PictureSize size{BigEndian32(head, 16), BigEndian32(head, 20)};
        if (size.Width <= 0 || size.Height <= 0) {
            return base::Failure{"damaged PNG picture: size " + std::to_string(size.Width) + " x " +
                                 std::to_string(size.Height)};
        }
        if (base::Result<base::Done> readable = CheckPngSize(size.Width, size.Height); !readable) {
            return base::Failure{std::move(readable.Error)};
        }
        if (!document::ImageSizeAllowed(size.Width, size.Height)) {
            return base::Failure{
                document::PictureTooLarge(size.Width, size.Height, document::MaxImageBytes)};
        }
        return size;
    }
    if (IsBmp(head)) {
        return ReadBmpSize(head);
    }
    return NotAPicture(head);
}

base::Result<base::Done> DecodePictureInto(std::span<const std::uint8_t> bytes,
                                           document::Image& target, std::int64_t top) {
    if (IsPng(bytes)) {
        return DecodePngInto(bytes, target, top);
    }
    if (IsBmp(bytes)) {
        return DecodeBmpInto(bytes, target, top);
    }
    return NotAPicture(bytes);
}

base::Result<document::Image> DecodePicture(std::span<const std::uint8_t> bytes,
                                            std::uint64_t maxBytes) {
    if (IsPng(bytes)) {
        return DecodePng(bytes, maxBytes);
    }
    if (IsBmp(bytes)) {
        return DecodeBmp(bytes, maxBytes);
    }
    return NotAPicture(bytes);
}

std::string PathBeside(const std::string& directory, const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path.starts_with('/') ? path : directory + path;
}

base::Result<document::Image> LoadPictureFile(const std::string& path) {
    const base::Result<std::vector<std::uint8_t>> bytes = base::ReadWholeFile(path);
    if (!bytes) {
        return base::Failure{bytes.Error};
    }
    return DecodePicture(*bytes.Value);
}

base::Result<base::Done> WritePng(const document::Image& picture, base::AtomicFileWriter& file) {
    if (base::Result<base::Done> fits = CheckPngSize(picture.Width, picture.Height); !fits) {
        return fits;
    }
    const base::Result<base::Done> encoded = StreamPng(
        picture, [&file](std::span<const std::uint8_t> bytes) { return file.Write(bytes); });
    // A refused write is the file's to report (at Commit), in its own words.
    if (!encoded && !file.Failed()) {
        return base::Failure{"the picture could not be encoded as PNG"};
    }
    return base::Done{};
}

base::Result<base::Done> WritePngFile(const document::Image& picture, const std::string& path) {
    if (base::Result<base::Done> fits = CheckPngSize(picture.Width, picture.Height); !fits) {
        return fits;
    }
    base::Result<base::AtomicFileWriter> file = base::AtomicFileWriter::Open(path);
    if (!file) {
        return base::Failure{std::move(file.Error)};
    }
    if (base::Result<base::Done> written = WritePng(picture, *file.Value); !written) {
        return written;
    }
    return file.Value->Commit();
}

void ReplaceCharacterSetPicture(document::Typeface& typeface, document::Image picture) {
    document::SetCharacterSetImage(typeface, std::move(picture));
    typeface.Modified = true;
}

base::Result<base::Done> ImportCharacterSetPicture(document::Typeface& typeface,
                                                   const std::string& path) {
    base::Result<document::Image> loaded = LoadPictureFile(path);
    if (!loaded) {
        return base::Failure{std::move(loaded.Error)};
    }
    ReplaceCharacterSetPicture(typeface, std::move(*loaded.Value));
    return base::Done{};
}

} // namespace glyfora::formats
