#pragma once

// How a typeface's one picture becomes the pages of a BMFont descriptor: the whole picture as one
// page, or, for a typeface with a page size, pages of exactly that size cut from it top to bottom.

#include "base/Result.h"
#include "document/Image.h"
#include "document/Typeface.h"

#include <cstdint>
#include <optional>

namespace glyfora::formats {

struct BmFontPaging {
    std::int64_t Width = 0, Height = 0; // of every page
    std::int64_t Count = 1;
    bool Whole = true; // the one page is the picture as it is
};

// The largest side browsers and many GPUs load as one texture.
constexpr std::int64_t PortableTextureSide = 4096;

// The pages of typeface's picture. With a page size, the picture must be no wider than a page and
// is as many pages as its height needs. Without one, a picture beyond PortableTextureSide is
// written whole with a warning that names a page size that would fit.
[[nodiscard]] base::Result<BmFontPaging> PlanBmFontPages(const document::Typeface& typeface);

struct PagePlace {
    std::int64_t Page = 0;
    std::int64_t Y = 0; // within the page
};

// Where a cell lies on the pages; cells without pixels lie on page 0 as they are. None for a cell
// that crosses a page's edge or lies outside the pages.
[[nodiscard]] std::optional<PagePlace> PlaceOnPage(const document::Rect64& cell,
                                                   const BmFontPaging& paging);

// Page number page of picture: its rows, transparent below the picture's end.
[[nodiscard]] std::optional<document::Image>
CutBmFontPage(const document::Image& picture, const BmFontPaging& paging, std::int64_t page);

} // namespace glyfora::formats
