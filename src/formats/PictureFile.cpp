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

} // namespace

base::Result<document::Image> DecodePicture(std::span<const std::uint8_t> bytes,
                                            std::uint64_t maxBytes) {
    if (bytes.size() >= PngSignature.size() &&
        std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin())) {
        return DecodePng(bytes, maxBytes);
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return DecodeBmp(bytes, maxBytes);
    }
    if (bytes.empty()) {
        return base::Failure{"the file is empty"};
    }
    return base::Failure{"neither a PNG nor a BMP picture"};
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

base::Result<base::Done> WritePngFile(const document::Image& picture, const std::string& path) {
    base::Result<base::AtomicFileWriter> file = base::AtomicFileWriter::Open(path);
    if (!file) {
        return base::Failure{std::move(file.Error)};
    }
    base::AtomicFileWriter& writer = *file.Value;
    const bool encoded = StreamPng(
        picture, [&writer](std::span<const std::uint8_t> bytes) { return writer.Write(bytes); });
    if (!encoded && !writer.Failed()) {
        return base::Failure{"the picture could not be encoded as PNG"};
    }
    return writer.Commit();
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
