#include "document/PictureFile.h"

#include "document/FileReading.h"
#include "document/BmpCodec.h"
#include "document/PngCodec.h"

#include <algorithm>
#include <array>

namespace glyfora::document {

namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

} // namespace

LoadedPicture DecodePicture(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes) {
    if (bytes.size() >= PngSignature.size() &&
        std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin())) {
        auto png = DecodePng(bytes, maxBytes);
        return {std::move(png.Picture), std::move(png.Error)};
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        auto bmp = DecodeBmp(bytes, maxBytes);
        return {std::move(bmp.Picture), std::move(bmp.Error)};
    }
    if (bytes.empty()) {
        return {std::nullopt, "the file is empty"};
    }
    return {std::nullopt, "neither a PNG nor a BMP picture"};
}

std::string PathBeside(const std::string& directory, const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path.starts_with('/') ? path : directory + path;
}

LoadedPicture LoadPictureFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (std::string error = ReadWholeFile(path, bytes); !error.empty()) {
        return {std::nullopt, std::move(error)};
    }
    return DecodePicture(bytes);
}

void ReplaceCharacterSetPicture(Typeface& typeface, Image picture) {
    SetCharacterSetImage(typeface, std::move(picture));
    typeface.Modified = true;
}

std::string ImportCharacterSetPicture(Typeface& typeface, const std::string& path) {
    LoadedPicture loaded = LoadPictureFile(path);
    if (!loaded.Picture) {
        return loaded.Error;
    }
    ReplaceCharacterSetPicture(typeface, std::move(*loaded.Picture));
    return {};
}

} // namespace glyfora::document
