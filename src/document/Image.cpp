#include "document/Image.h"

#include <algorithm>

namespace glyfora::document {

bool ImageSizeAllowed(std::int64_t width, std::int64_t height) {
    if (width < 0 || height < 0) {
        return false;
    }
    if (width == 0 || height == 0) {
        return true;
    }
    const auto pixelLimit = MaxImageBytes / 4;
    return static_cast<std::uint64_t>(width) <= pixelLimit / static_cast<std::uint64_t>(height);
}

std::optional<Image> MakeImage(std::int64_t width, std::int64_t height, std::uint32_t fill) {
    if (!ImageSizeAllowed(width, height)) {
        return std::nullopt;
    }
    Image image;
    image.Width = width;
    image.Height = height;
    image.Pixels.assign(static_cast<std::size_t>(width * height), fill);
    return image;
}

Sprite ImageToSprite(const std::optional<Image>& image) {
    if (!image || image->Width <= 0 || image->Height <= 0) {
        return nullptr;
    }
    return std::make_shared<const Image>(*image);
}

Sprite FlipSpriteRows(const Sprite& sprite) {
    if (!sprite) {
        return nullptr;
    }
    Image flipped = *sprite;
    const auto width = static_cast<std::size_t>(flipped.Width);
    const auto height = flipped.Height;
    // Rows n and h-1-n swap for n from (h-2)/2 down to 0; a middle row of odd height stays.
    for (std::int64_t n = (height - 2) / 2; n >= 0; --n) {
        auto top = flipped.Pixels.begin() + static_cast<std::ptrdiff_t>(n * flipped.Width);
        auto bottom =
            flipped.Pixels.begin() + static_cast<std::ptrdiff_t>((height - 1 - n) * flipped.Width);
        std::swap_ranges(top, top + static_cast<std::ptrdiff_t>(width), bottom);
    }
    return std::make_shared<const Image>(std::move(flipped));
}

} // namespace glyfora::document
