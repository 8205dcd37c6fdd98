#include "document/PageSize.h"

#include "document/Typeface.h"

#include <charconv>

namespace glyfora::document {

namespace {

// A side as the user gives it (a power of two within PageSideRange), or as a file recorded it
// (any size up to the range's top: pages other tools made need not be powers of two).
std::optional<std::int64_t> ParseSide(std::string_view text, bool chosen) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > PageSideRange.Max ||
        (chosen && (value < PageSideRange.Min || (value & (value - 1)) != 0))) {
        return std::nullopt;
    }
    return value;
}

std::optional<PageSize> ParseSides(std::string_view text, bool chosen) {
    const std::size_t cross = text.find('x');
    const std::optional<std::int64_t> width = ParseSide(text.substr(0, cross), chosen);
    const std::optional<std::int64_t> height =
        cross == std::string_view::npos ? width : ParseSide(text.substr(cross + 1), chosen);
    if (!width || !height) {
        return std::nullopt;
    }
    return PageSize{*width, *height};
}

} // namespace

std::optional<PageSize> ParsePageSize(std::string_view text) {
    return ParseSides(text, true);
}

std::string PageSizeForm() {
    return "N or WxH, powers of two from " + std::to_string(PageSideRange.Min) + " to " +
           std::to_string(PageSideRange.Max);
}

std::string PageSizeText(PageSize size) {
    return std::to_string(size.Width) + "x" + std::to_string(size.Height);
}

std::optional<PageSize> PageSizeOf(const Typeface& typeface) {
    const auto found = typeface.Content.Properties.find(PageSizeProperty);
    if (found == typeface.Content.Properties.end()) {
        return std::nullopt;
    }
    return ParseSides(found->second, false);
}

} // namespace glyfora::document
