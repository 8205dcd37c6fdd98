#include "document/Image.h"

#include <algorithm>
#include <cstdint>
#include <sys/mman.h>

namespace glyfora::document {

namespace {

constexpr std::uintptr_t HugePageSize = std::uintptr_t{2} << 20;

// Asks the kernel to back the large aligned part of a new pixel buffer with huge pages. Touching a
// picture of many megabytes page by page costs more than filling it; with huge pages it takes a
// few hundred faults instead of tens of thousands. Only a hint: where the kernel has no huge pages
// to give, nothing changes.
void AdviseHugePages(const void* data, std::size_t bytes) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + HugePageSize - 1) & ~(HugePageSize - 1);
    const std::uintptr_t last = (start + bytes) & ~(HugePageSize - 1);
    if (last > first) {
        static_cast<void>(::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE));
    }
}

} // namespace

bool ImageSizeAllowed(std::int64_t width, std::int64_t height, std::uint64_t maxBytes) {
    if (width < 0 || height < 0) {
        return false;
    }
    if (width == 0 || height == 0) {
        return true;
    }
    const auto pixelLimit = std::min(maxBytes, MaxImageBytes) / 4;
    return static_cast<std::uint64_t>(width) <= pixelLimit / static_cast<std::uint64_t>(height);
}

std::string PictureTooLarge(std::int64_t width, std::int64_t height, std::uint64_t maxBytes) {
    const std::string size =
        "the picture's size " + std::to_string(width) + " x " + std::to_string(height);
    if (maxBytes >= MaxImageBytes) {
        return size + " exceeds the limit of 1 GiB of pixels";
    }
    return size + " exceeds the " + std::to_string(maxBytes) + " bytes of pixels left for it";
}

std::optional<Image> MakeImage(std::int64_t width, std::int64_t height, std::uint32_t fill) {
    if (!ImageSizeAllowed(width, height)) {
        return std::nullopt;
    }
    Image image;
    image.Width = width;
    image.Height = height;
    const auto count = static_cast<std::size_t>(width * height);
    image.Pixels.reserve(count);
    AdviseHugePages(image.Pixels.data(), count * sizeof(std::uint32_t));
    image.Pixels.assign(count, fill);
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
    // Copying the rows bottom-up is the same as swapping rows n and h-1-n of a copy, in one pass.
    Image flipped;
    flipped.Width = sprite->Width;
    flipped.Height = sprite->Height;
    flipped.Pixels.reserve(sprite->Pixels.size());
    const auto width = static_cast<std::ptrdiff_t>(sprite->Width);
    for (std::int64_t y = sprite->Height - 1; y >= 0; --y) {
        const auto row = sprite->Pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
        flipped.Pixels.insert(flipped.Pixels.end(), row, row + width);
    }
    return std::make_shared<const Image>(std::move(flipped));
}

} // namespace glyfora::document
