#include "document/Image.h"

#include "document/Pixel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
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

std::optional<Rect64> PartInPicture(const Image& picture, const Rect64& area) {
    std::int64_t right = 0;
    std::int64_t bottom = 0;
    if (area.Width <= 0 || area.Height <= 0 || __builtin_add_overflow(area.X, area.Width, &right) ||
        __builtin_add_overflow(area.Y, area.Height, &bottom)) {
        return std::nullopt;
    }
    const std::int64_t left = std::max<std::int64_t>(area.X, 0);
    const std::int64_t top = std::max<std::int64_t>(area.Y, 0);
    right = std::min(right, picture.Width);
    bottom = std::min(bottom, picture.Height);
    if (left >= right || top >= bottom) {
        return std::nullopt;
    }
    return Rect64{left, top, right - left, bottom - top};
}

std::optional<Rect64> InkBoxOf(const Image& picture, const Rect64& area) {
    const std::optional<Rect64> part = PartInPicture(picture, area);
    if (!part) {
        return std::nullopt;
    }
    const auto inked = [](std::uint32_t pixel) { return Alpha(pixel) != 0; };
    std::int64_t left = part->X + part->Width;
    std::int64_t right = part->X;
    std::optional<std::int64_t> top;
    std::int64_t bottom = 0;
    for (std::int64_t y = part->Y; y < part->Y + part->Height; ++y) {
        const std::uint32_t* row =
            picture.Pixels.data() + static_cast<std::size_t>(y * picture.Width + part->X);
        const std::uint32_t* end = row + part->Width;
        // Most rows around a glyph are empty; a plain OR over them is far quicker than searching.
        std::uint32_t any = 0;
        for (const std::uint32_t* pixel = row; pixel != end; ++pixel) {
            any |= *pixel;
        }
        if (!inked(any)) {
            continue;
        }
        const std::uint32_t* first = std::find_if(row, end, inked);
        const std::uint32_t* last =
            std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first), inked)
                .base();
        left = std::min(left, part->X + (first - row));
        right = std::max(right, part->X + (last - row));
        top = top.value_or(y);
        bottom = y + 1;
    }
    if (!top) {
        return std::nullopt;
    }
    return Rect64{left, *top, right - left, bottom - *top};
}

void CopyRect(const Image& from, const Rect64& area, Image& to, std::int64_t x, std::int64_t y) {
    const std::optional<Rect64> source = PartInPicture(from, area);
    std::int64_t shiftX = 0;
    std::int64_t shiftY = 0;
    std::int64_t cornerX = 0;
    std::int64_t cornerY = 0;
    // The corner moves with the part of area that from holds.
    if (!source || __builtin_sub_overflow(source->X, area.X, &shiftX) ||
        __builtin_sub_overflow(source->Y, area.Y, &shiftY) ||
        __builtin_add_overflow(x, shiftX, &cornerX) ||
        __builtin_add_overflow(y, shiftY, &cornerY)) {
        return;
    }
    const std::optional<Rect64> target =
        PartInPicture(to, {cornerX, cornerY, source->Width, source->Height});
    if (!target) {
        return;
    }
    const std::int64_t fromX = source->X + (target->X - cornerX);
    const std::int64_t fromY = source->Y + (target->Y - cornerY);
    const auto rowBytes = static_cast<std::size_t>(target->Width) * sizeof(std::uint32_t);
    for (std::int64_t row = 0; row < target->Height; ++row) {
        // memmove, because a picture may copy rows of its own.
        const std::uint32_t* begin =
            from.Pixels.data() + static_cast<std::size_t>((fromY + row) * from.Width + fromX);
        std::memmove(&to.At(target->X, target->Y + row), begin, rowBytes);
    }
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
