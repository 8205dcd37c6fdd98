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

} // namespace

Result<Image> DecodePicture(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes) {
    if (bytes.size() >= PngSignature.size() &&
        std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin())) {
        return DecodePng(bytes, maxBytes);
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return DecodeBmp(bytes, maxBytes);
    }
    if (bytes.empty()) {
        return Failure{"the file is empty"};
    }
    return Failure{"neither a PNG nor a BMP picture"};
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

Result<Done> WritePngFile(const Image& picture, const std::string& path) {
    Result<AtomicFileWriter> file = AtomicFileWriter::Open(path);
    if (!file) {
        return Failure{std::move(file.Error)};
    }
    AtomicFileWriter& writer = *file.Value;
    const bool encoded = StreamPng(
        picture, [&writer](std::span<const std::uint8_t> bytes) { return writer.Write(bytes); });
    if (!encoded && !writer.Failed()) {
        return Failure{"the picture could not be encoded as PNG"};
    }
    return writer.Commit();
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
