#include "document/PngCodec.h"

#include <memory>
#include <new>
#include <png.h>

namespace glyfora::document {

Result<Image> DecodePng(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()) == 0) {
        return Failure{std::string("not a readable PNG picture: ") + png.message};
    }
    if (!ImageSizeAllowed(png.width, png.height, maxBytes)) {
        png_image_free(&png);
        return Failure{PictureTooLarge(png.width, png.height, maxBytes)};
    }
    png.format = PNG_FORMAT_RGBA;
    auto picture = MakeImage(png.width, png.height);
    if (!picture || png_image_finish_read(&png, nullptr, picture->Pixels.data(), 0, nullptr) == 0) {
        Failure failure{std::string("damaged PNG picture: ") + png.message};
        png_image_free(&png);
        return failure;
    }
    return std::move(*picture);
}

std::optional<std::vector<std::uint8_t>> EncodePng(const Image& image) {
    if (image.Width <= 0 || image.Height <= 0 || image.Width > PNG_UINT_31_MAX ||
        image.Height > PNG_UINT_31_MAX) {
        return std::nullopt;
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width);
    png.height = static_cast<png_uint_32>(image.Height);
    png.format = PNG_FORMAT_RGBA;
    // One compression pass into a buffer of the largest possible size: it is left uninitialised,
    // so only the pages the PNG actually fills are ever touched. Asking libpng for the exact
    // size first would compress the whole picture twice.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[size]);
    if (!buffer || png_image_write_to_memory(&png, buffer.get(), &size, 0, image.Pixels.data(), 0,
                                             nullptr) == 0) {
        png_image_free(&png);
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(buffer.get(), buffer.get() + size);
}

} // namespace glyfora::document
