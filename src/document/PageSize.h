#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glyfora::document {

struct Typeface;

// The size of the pages of a multi-page atlas: the character-set picture is that many pages
// stacked top to bottom, and no cell crosses a page's edge. Both sides are powers of two within
// PageSideRange, which every GPU and browser that takes such a texture at all can load.
struct PageSize {
    std::int64_t Width = 0, Height = 0;
    bool operator==(const PageSize&) const = default;
};

struct PageSideLimits {
    std::int64_t Min = 64, Max = 16384;
};
constexpr PageSideLimits PageSideRange{};

// The property that records a typeface's page size, "WxH", so that it is paged again on save.
constexpr const char* PageSizeProperty = "PageSize";

// "N" (square) or "WxH", each a power of two within PageSideRange; none for anything else.
[[nodiscard]] std::optional<PageSize> ParsePageSize(std::string_view text);

// What ParsePageSize takes, for messages: "N or WxH, powers of two from 64 to 16384".
[[nodiscard]] std::string PageSizeForm();

// "WxH", as ParsePageSize reads it and the property holds it.
[[nodiscard]] std::string PageSizeText(PageSize size);

// The page size the typeface records, any size up to PageSideRange's top (pages read from another
// tool's files need not be powers of two); none when it records none or one that does not parse.
[[nodiscard]] std::optional<PageSize> PageSizeOf(const Typeface& typeface);

} // namespace glyfora::document
