#include "import/DistanceTransform.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace glyfora::fontimport {

namespace {

constexpr float Far = std::numeric_limits<float>::infinity();

// The sweeps' state: for each pixel the best distance so far and the edge pixel it comes from.
struct Sweep {
    std::int64_t Width = 0, Height = 0;
    std::vector<float> Offsets; // each edge pixel's edge distance from its centre
    std::vector<float> Distances;
    std::vector<std::int64_t> Seeds; // -1 while no edge pixel reached it
};

Sweep StartSweep(const CoverageGrid& grid, EdgeSide side) {
    Sweep sweep{grid.Width, grid.Height, {}, {}, {}};
    const auto count = static_cast<std::size_t>(grid.Width * grid.Height);
    sweep.Offsets.assign(count, 0.0F);
    sweep.Distances.assign(count, Far);
    sweep.Seeds.assign(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        const float c = grid.Values[i];
        const bool edge = side == EdgeSide::Outside ? c > 0.0F : c < 1.0F;
        if (edge) {
            sweep.Offsets[i] = side == EdgeSide::Outside ? 0.5F - c : c - 0.5F;
            sweep.Distances[i] = sweep.Offsets[i];
            sweep.Seeds[i] = static_cast<std::int64_t>(i);
        }
    }
    return sweep;
}

// Offers the pixel (x, y) the edge pixel seed.
void OfferSeed(Sweep& sweep, std::int64_t x, std::int64_t y, std::int64_t seed) {
    const auto ex = static_cast<float>(x - seed % sweep.Width);
    const auto ey = static_cast<float>(y - seed / sweep.Width);
    const float distance =
        std::sqrt(ex * ex + ey * ey) + sweep.Offsets[static_cast<std::size_t>(seed)];
    const auto at = static_cast<std::size_t>(y * sweep.Width + x);
    if (distance < sweep.Distances[at]) {
        sweep.Distances[at] = distance;
        sweep.Seeds[at] = seed;
    }
}

// Offers the pixel (x, y) the pixel (sx, sy) when it holds an edge.
void OfferSeedAt(Sweep& sweep, std::int64_t x, std::int64_t y, std::int64_t sx, std::int64_t sy) {
    if (sx >= 0 && sy >= 0 && sx < sweep.Width && sy < sweep.Height) {
        const std::int64_t at = sy * sweep.Width + sx;
        if (sweep.Seeds[static_cast<std::size_t>(at)] == at) {
            OfferSeed(sweep, x, y, at);
        }
    }
}

// Offers the pixel (x, y) the edge pixel its neighbour at (x + dx, y + dy) comes from.
void Offer(Sweep& sweep, std::int64_t x, std::int64_t y, std::int64_t dx, std::int64_t dy) {
    const std::int64_t nx = x + dx;
    const std::int64_t ny = y + dy;
    if (nx >= 0 && ny >= 0 && nx < sweep.Width && ny < sweep.Height) {
        const std::int64_t seed = sweep.Seeds[static_cast<std::size_t>(ny * sweep.Width + nx)];
        if (seed >= 0) {
            OfferSeed(sweep, x, y, seed);
        }
    }
}

// One sweep down (step 1) or up (step -1): each row takes from the row before it and from its
// left, then from its right (mirrored for the sweep up).
void SweepRows(Sweep& sweep, std::int64_t step) {
    const std::int64_t first = step > 0 ? 0 : sweep.Height - 1;
    const std::int64_t firstX = step > 0 ? 0 : sweep.Width - 1;
    const std::int64_t lastX = step > 0 ? sweep.Width - 1 : 0;
    for (std::int64_t y = first; y >= 0 && y < sweep.Height; y += step) {
        for (std::int64_t x = firstX; x >= 0 && x < sweep.Width; x += step) {
            Offer(sweep, x, y, -step, 0);
            Offer(sweep, x, y, -step, -step);
            Offer(sweep, x, y, 0, -step);
            Offer(sweep, x, y, step, -step);
        }
        for (std::int64_t x = lastX; x >= 0 && x < sweep.Width; x -= step) {
            Offer(sweep, x, y, step, 0);
        }
    }
}

// The sweeps hand on each neighbour's best edge pixel, which near curved edges may be one pixel
// beside the best one for this pixel: a last look at the edge pixels around it settles that.
void Refine(Sweep& sweep) {
    for (std::int64_t y = 0; y < sweep.Height; ++y) {
        for (std::int64_t x = 0; x < sweep.Width; ++x) {
            const std::int64_t seed = sweep.Seeds[static_cast<std::size_t>(y * sweep.Width + x)];
            if (seed < 0) {
                continue;
            }
            const std::int64_t sx = seed % sweep.Width;
            const std::int64_t sy = seed / sweep.Width;
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                for (std::int64_t dx = -1; dx <= 1; ++dx) {
                    OfferSeedAt(sweep, x, y, sx + dx, sy + dy);
                }
            }
        }
    }
}

} // namespace

std::vector<float> DistanceToEdge(const CoverageGrid& grid, EdgeSide side) {
    Sweep sweep = StartSweep(grid, side);
    SweepRows(sweep, 1);
    SweepRows(sweep, -1);
    Refine(sweep);
    return std::move(sweep.Distances);
}

} // namespace glyfora::fontimport
