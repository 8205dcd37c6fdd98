#include "document/PictureFile.h"

#include "document/AtomicFile.h"
#include "document/BmpCodec.h"
#include "document/FileReading.h"
#include "document/PngCodec.h"

#include <algorithm>
#include <array>

namespace glyfora::document {

namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= PngSignature.size() &&
           std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin());
}

bool IsBmp(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

Failure NotAPicture(std::span<const std::uint8_t> bytes) {
    return Failure{bytes.empty() ? "the file is empty" : "neither a PNG nor a BMP picture"};
}

std::int64_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::int64_t{bytes[at]} << 24) | (std::int64_t{bytes[at + 1]} << 16) |
           (std::int64_t{bytes[at + 2]} << 8) | std::int64_t{bytes[at + 3]};
}

} // namespace

Result<PictureSize> ReadPictureSize(std::span<const std::uint8_t> head) {
    if (IsPng(head)) {
        // The signature, then the IHDR chunk: length 13, "IHDR", width and height.
        constexpr std::array<std::uint8_t, 8> Ihdr = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
        if (head.size() < 24 || !std::equal(Ihdr.begin(), Ihdr.end(), head.begin() + 8)) {
            return Failure{"damaged PNG picture: no header chunk"};
        }
        const PictureSize size{BigEndian32(head, 16), BigEndian32(head, 20)};
        if (size.Width <= 0 || size.Height <= 0) {
            return Failure{"damaged PNG picture: size " + std::to_string(size.Width) + " x " +
                           std::to_string(size.Height)};
        }
        if (Result<Done> readable = CheckPngSize(size.Width, size.Height); !readable) {
            return Failure{std::move(readable.Error)};
        }
        if (!ImageSizeAllowed(size.Width, size.Height)) {
            return Failure{PictureTooLarge(size.Width, size.Height, MaxImageBytes)};
        }
        return size;
    }
    if (IsBmp(head)) {
        return ReadBmpSize(head);
    }
    return NotAPicture(head);
}

Result<Done> DecodePictureInto(std::span<const std::uint8_t> bytes, Image& target,
                               std::int64_t top) {
    if (IsPng(bytes)) {
        return DecodePngInto(bytes, target, top);
    }
    if (IsBmp(bytes)) {
        return DecodeBmpInto(bytes, target, top);
    }
    return NotAPicture(bytes);
}

Result<Image> DecodePicture(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes) {
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

Result<Image> LoadPictureFile(const std::string& path) {
    const Result<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes) {
        return Failure{bytes.Error};
    }
    return DecodePicture(*bytes.Value);
}

Result<Done> WritePng(const Image& picture, AtomicFileWriter& file) {
    if (Result<Done> fits = CheckPngSize(picture.Width, picture.Height); !fits) {
        return fits;
    }
    const bool encoded = StreamPng(
        picture, [&file](std::span<const std::uint8_t> bytes) { return file.Write(bytes); });
    if (!encoded && !file.Failed()) {
        return Failure{"the picture could not be encoded as PNG"};
    }
    return Done{};
}

Result<Done> WritePngFile(const Image& picture, const std::string& path) {
    if (Result<Done> fits = CheckPngSize(picture.Width, picture.Height); !fits) {
        return fits;
    }
    Result<AtomicFileWriter> file = AtomicFileWriter::Open(path);
    if (!file) {
        return Failure{std::move(file.Error)};
    }
    if (Result<Done> written = WritePng(picture, *file.Value); !written) {
        return written;
    }
    return file.Value->Commit();
}

void ReplaceCharacterSetPicture(Typeface& typeface, Image picture) {
    SetCharacterSetImage(typeface, std::move(picture));
    typeface.Modified = true;
}

Result<Done> ImportCharacterSetPicture(Typeface& typeface, const std::string& path) {
    Result<Image> loaded = LoadPictureFile(path);
    if (!loaded) {
        return Failure{std::move(loaded.Error)};
    }
    ReplaceCharacterSetPicture(typeface, std::move(*loaded.Value));
    return Done{};
}

} // namespace glyfora::document
