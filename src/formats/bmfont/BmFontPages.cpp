#include "formats/bmfont/BmFontPages.h"

#include "document/PageSize.h"

#include <algorithm>
#include <string>

namespace glyfora::formats {

namespace {

std::int64_t FittingSide(std::int64_t width) {
    std::int64_t side = document::PageSideRange.Min;
    while (side < width && side < PortableTextureSide) {
        side *= 2;
    }
    return side;
}

} // namespace

base::Result<BmFontPaging> PlanBmFontPages(const document::Typeface& typeface) {
    const document::Image* picture = typeface.Content.Image.get();
    const std::int64_t width = picture != nullptr ? picture->Width : 0;
    const std::int64_t height = picture != nullptr ? picture->Height : 0;
    const std::optional<document::PageSize> size = document::PageSizeOf(typeface);
    if (!size) {
        base::Result<BmFontPaging> whole = BmFontPaging{width, height, 1, true};
        if (width > PortableTextureSide || height > PortableTextureSide) {
            const std::int64_t side = FittingSide(width);
            whole.Warnings.push_back(
                "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, more than the " + std::to_string(PortableTextureSide) +
                " a side that browsers and many GPUs can load; pages of " + std::to_string(side) +
                " x " + std::to_string(side) + " would fit it (layout --compact --page-size " +
                std::to_string(side) + ", or \"Pack compactly\" with that page size)");
        }
        return whole;
    }
    if (width > size->Width) {
        return base::Failure{
            "the picture is " + std::to_string(width) + " pixels wide, wider than its pages of " +
            document::PageSizeText(*size) + "; pack it into its pages first (layout --compact)"};
    }
    const std::int64_t count =
        std::max<std::int64_t>(1, (height + size->Height - 1) / size->Height);
    return BmFontPaging{size->Width, size->Height, count, false};
}

std::optional<PagePlace> PlaceOnPage(const document::Rect64& cell, const BmFontPaging& paging) {
    if (cell.Width <= 0 || cell.Height <= 0 || paging.Whole) {
        return PagePlace{0, cell.Y};
    }
    if (cell.Y < 0 || cell.X < 0 || cell.X + cell.Width > paging.Width) {
        return std::nullopt;
    }
    const std::int64_t page = cell.Y / paging.Height;
    const std::int64_t y = cell.Y - page * paging.Height;
    if (page >= paging.Count || y + cell.Height > paging.Height) {
        return std::nullopt;
    }
    return PagePlace{page, y};
}

std::optional<document::Image> CutBmFontPage(const document::Image& picture,
                                             const BmFontPaging& paging, std::int64_t page) {
    std::optional<document::Image> cut = document::MakeImage(paging.Width, paging.Height, 0);
    if (cut) {
        document::CopyRect(picture, {0, page * paging.Height, paging.Width, paging.Height}, *cut, 0,
                           0);
    }
    return cut;
}

} // namespace glyfora::formats
