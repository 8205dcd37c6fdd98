#include "document/SkylinePacking.h"

#include "document/Image.h"
#include "document/ImportOptions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stb_rect_pack.h>
#include <string>

namespace glyfora::document {

namespace {

// Beyond this many cells a packing takes long enough that fewer tries pay off.
constexpr std::size_t LargeCellCount = 2000;
// The packer works in int; a taller target than this is never needed, since a picture of more
// than MaxImageBytes is refused anyway.
constexpr int UnboundedHeight = std::numeric_limits<int>::max() / 2;

std::int64_t NextPowerOfTwo(std::int64_t value) {
    std::int64_t power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

std::int64_t LargestPowerOfTwoNotAbove(std::int64_t value) {
    std::int64_t power = 1;
    while (power * 2 <= value) {
        power *= 2;
    }
    return power;
}

bool HasPixels(const CellSize& cell) {
    return cell.Width > 0 && cell.Height > 0;
}

struct Attempt {
    std::vector<CellCorner> Corners;
    std::int64_t Height = 0;
    bool Packed = false;
};

// Packs into a picture width wide with one skyline heuristic. Every cell is grown by the gutter to
// the right and below, and the target by one gutter, so gutters separate cells but never pad the
// picture's right and bottom edges.
Attempt PackWith(std::span<const CellSize> cells, std::int64_t width, std::int64_t gutter,
                 int heuristic) {
    std::vector<stbrp_rect> rects;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (HasPixels(cells[i])) {
            rects.push_back({static_cast<int>(i), static_cast<int>(cells[i].Width + gutter),
                             static_cast<int>(cells[i].Height + gutter), 0, 0, 0});
        }
    }
    const int target = static_cast<int>(width + gutter);
    std::vector<stbrp_node> nodes(static_cast<std::size_t>(target));
    stbrp_context context;
    stbrp_init_target(&context, target, UnboundedHeight, nodes.data(), target);
    stbrp_setup_heuristic(&context, heuristic);
    Attempt attempt;
    attempt.Corners.resize(cells.size());
    attempt.Packed = rects.empty() ||
                     stbrp_pack_rects(&context, rects.data(), static_cast<int>(rects.size())) == 1;
    for (const stbrp_rect& rect : rects) {
        const auto i = static_cast<std::size_t>(rect.id);
        attempt.Corners[i] = {rect.x, rect.y};
        attempt.Height = std::max(attempt.Height, rect.y + cells[i].Height);
    }
    return attempt;
}

// The better of the packer's two heuristics at this width; only bottom-left for large sets, where
// the two differ little and each packing is expensive.
Attempt PackAtWidth(std::span<const CellSize> cells, std::int64_t width, std::int64_t gutter) {
    Attempt bottomLeft = PackWith(cells, width, gutter, STBRP_HEURISTIC_Skyline_BL_sortHeight);
    if (cells.size() > LargeCellCount) {
        return bottomLeft;
    }
    Attempt bestFit = PackWith(cells, width, gutter, STBRP_HEURISTIC_Skyline_BF_sortHeight);
    if (!bottomLeft.Packed || (bestFit.Packed && bestFit.Height < bottomLeft.Height)) {
        return bestFit;
    }
    return bottomLeft;
}

PackedCells Finished(Attempt attempt, std::int64_t width, bool powerOfTwo) {
    PackedCells packed{std::move(attempt.Corners), width, attempt.Height};
    if (powerOfTwo) {
        packed.Width = NextPowerOfTwo(packed.Width);
        packed.Height = NextPowerOfTwo(packed.Height);
    }
    return packed;
}

std::int64_t Area(const PackedCells& packed) {
    return packed.Width * packed.Height;
}

// Tries the widths a near-square picture may have and keeps the smallest picture, the squarer
// one on a tie.
PackedCells PackNearSquare(std::span<const CellSize> cells, const PackingRules& rules,
                           std::int64_t widest) {
    double area = 0.0;
    for (const CellSize& cell : cells) {
        if (HasPixels(cell)) {
            area += static_cast<double>(cell.Width + rules.Gutter) *
                    static_cast<double>(cell.Height + rules.Gutter);
        }
    }
    const auto side = static_cast<std::int64_t>(std::ceil(std::sqrt(area)));
    std::vector<std::int64_t> widths;
    if (rules.PowerOfTwo) {
        for (std::int64_t width = NextPowerOfTwo(std::max(widest, side / 2));
             width <= std::min(MaxPackedSide, std::max(widest, side) * 2); width *= 2) {
            widths.push_back(width);
        }
    } else {
        // Packing wastes a little, so the square of the cells' area is a lower bound; a few
        // slightly wider pictures are tried as well. Large sets pack densely at the first widths
        // already, and each try costs them much more.
        const std::vector<double> stretches = cells.size() > LargeCellCount
                                                  ? std::vector<double>{1.0, 1.03}
                                                  : std::vector<double>{1.0, 1.02, 1.05, 1.1};
        for (const double stretch : stretches) {
            widths.push_back(
                std::min(MaxPackedSide,
                         std::max(widest, static_cast<std::int64_t>(std::ceil(side * stretch)))));
        }
    }
    std::optional<PackedCells> best;
    for (const std::int64_t width : widths) {
        Attempt attempt = PackAtWidth(cells, width, rules.Gutter);
        if (!attempt.Packed) {
            continue;
        }
        PackedCells packed = Finished(std::move(attempt), width, rules.PowerOfTwo);
        const auto squareness = [](const PackedCells& p) { return std::abs(p.Width - p.Height); };
        if (!best || Area(packed) < Area(*best) ||
            (Area(packed) == Area(*best) && squareness(packed) < squareness(*best))) {
            best = std::move(packed);
        }
    }
    return best ? std::move(*best) : PackedCells{};
}

std::string SizeText(std::int64_t width, std::int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

base::Result<PackedCells> PackPages(std::span<const CellSize> cells, PageSize page,
                                    std::int64_t gutter) {
    std::vector<stbrp_rect> remaining;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!HasPixels(cells[i])) {
            continue;
        }
        if (cells[i].Width > page.Width || cells[i].Height > page.Height) {
            return base::Failure{"a cell of " + SizeText(cells[i].Width, cells[i].Height) +
                                 " pixels does not fit a page of " +
                                 SizeText(page.Width, page.Height)};
        }
        remaining.push_back({static_cast<int>(i), static_cast<int>(cells[i].Width + gutter),
                             static_cast<int>(cells[i].Height + gutter), 0, 0, 0});
    }
    PackedCells packed{std::vector<CellCorner>(cells.size()), page.Width, 0};
    const int width = static_cast<int>(page.Width + gutter);
    std::vector<stbrp_node> nodes(static_cast<std::size_t>(width));
    do {
        stbrp_context context;
        stbrp_init_target(&context, width, static_cast<int>(page.Height + gutter), nodes.data(),
                          width);
        stbrp_setup_heuristic(&context, STBRP_HEURISTIC_Skyline_BL_sortHeight);
        static_cast<void>(
            stbrp_pack_rects(&context, remaining.data(), static_cast<int>(remaining.size())));
        std::vector<stbrp_rect> later;
        for (const stbrp_rect& rect : remaining) {
            if (rect.was_packed != 0) {
                packed.Corners[static_cast<std::size_t>(rect.id)] = {rect.x,
                                                                     packed.Height + rect.y};
            } else {
                later.push_back(rect);
            }
        }
        packed.Height += page.Height;
        if (!ImageSizeAllowed(packed.Width, packed.Height)) {
            return base::Failure{"the pages would take more than an image may hold (" +
                                 std::to_string(packed.Height / page.Height) + " pages of " +
                                 SizeText(page.Width, page.Height) + " and more)"};
        }
        // Every cell fits an empty page, so each page takes at least one.
        remaining = std::move(later);
    } while (!remaining.empty());
    return packed;
}

} // namespace

base::Result<PackedCells> PackCells(std::span<const CellSize> cells, const PackingRules& rules) {
    std::int64_t widest = 1;
    for (const CellSize& cell : cells) {
        if (HasPixels(cell)) {
            widest = std::max(widest, cell.Width);
            if (cell.Width > MaxPackedSide || cell.Height > MaxPackedSide) {
                return base::Failure{"a cell of " + std::to_string(cell.Width) + " x " +
                                     std::to_string(cell.Height) + " pixels is larger than " +
                                     std::to_string(MaxPackedSide) + " pixels a side"};
            }
        }
    }
    const std::int64_t gutter =
        std::clamp(rules.Gutter, GutterOption.Range.Min, GutterOption.Range.Max);
    if (rules.Pages) {
        return PackPages(cells, *rules.Pages, gutter);
    }
    PackingRules clamped = rules;
    clamped.Gutter = gutter;
    PackedCells packed;
    if (rules.MaxWidth > 0) {
        const std::int64_t width =
            std::min(MaxPackedSide,
                     rules.PowerOfTwo ? LargestPowerOfTwoNotAbove(rules.MaxWidth) : rules.MaxWidth);
        if (widest > width) {
            return base::Failure{"a cell " + std::to_string(widest) +
                                 " pixels wide does not fit a picture " + std::to_string(width) +
                                 " pixels wide; choose a larger width"};
        }
        Attempt attempt = PackAtWidth(cells, width, gutter);
        if (!attempt.Packed) {
            return base::Failure{"the cells do not fit a picture " + std::to_string(width) +
                                 " pixels wide"};
        }
        packed = Finished(std::move(attempt), width, rules.PowerOfTwo);
    } else {
        packed = PackNearSquare(cells, clamped, widest);
    }
    if (packed.Width <= 0 ||
        !ImageSizeAllowed(packed.Width, std::max<std::int64_t>(packed.Height, 1))) {
        return base::Failure{"the packed picture would be " + std::to_string(packed.Width) + " x " +
                             std::to_string(packed.Height) +
                             " pixels, more than an image may hold"};
    }
    return packed;
}

std::optional<std::int64_t> NarrowestCompactWidth(std::span<const CellSize> cells,
                                                  PackingRules rules, std::int64_t low,
                                                  std::int64_t high) {
    const auto fits = [&](std::int64_t width) {
        rules.MaxWidth = width;
        const base::Result<PackedCells> packed = PackCells(cells, rules);
        return packed &&
               std::all_of(packed.Value->Corners.begin(), packed.Value->Corners.end(),
                           [&](const CellCorner& c) { return c.Y >= low && c.Y <= high; });
    };
    std::int64_t narrow = 1;
    for (const CellSize& cell : cells) {
        narrow = std::max(narrow, HasPixels(cell) ? cell.Width : 1);
    }
    if (narrow > MaxPackedSide || !fits(MaxPackedSide)) {
        return std::nullopt;
    }
    std::int64_t wide = MaxPackedSide; // fits; every width below narrow does not
    while (narrow < wide) {
        const std::int64_t middle = narrow + (wide - narrow) / 2;
        if (fits(middle)) {
            wide = middle;
        } else {
            narrow = middle + 1;
        }
    }
    return wide;
}

bool CountCellPixels(std::uint64_t& pixels, CellSize cell) {
    if (HasPixels(cell)) {
        pixels += static_cast<std::uint64_t>(cell.Width) * static_cast<std::uint64_t>(cell.Height);
    }
    return pixels <= MaxImageBytes / sizeof(std::uint32_t);
}

} // namespace glyfora::document
