#include "import/DistanceTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace glyfora::fontimport {

std::vector<float> DistanceToEdge(const CoverageGrid& grid, EdgeSide side, float reach) {
    // d(p) = min over edge pixels q of |p - q| + 0.5 - v(q), v the coverage seen from side, is
    // 0.5 - max(v(q) - |p - q|): a dilation of v by a cone. Every offset nearer than reach + 1
    // (beyond it no pixel comes within reach) is tried over whole rows at once.
    constexpr float None = -std::numeric_limits<float>::infinity();
    std::vector<float> edge(grid.Values.size());
    std::transform(grid.Values.begin(), grid.Values.end(), edge.begin(), [side](float c) {
        const float v = side == EdgeSide::Outside ? c : 1.0F - c;
        return v > 0.0F ? v : None;
    });
    std::vector<float> best(grid.Values.size(), None);
    const float limit = reach + 1.0F;
    const auto offsets = static_cast<std::int64_t>(std::ceil(limit));
    for (std::int64_t dy = -offsets; dy <= offsets; ++dy) {
        for (std::int64_t dx = -offsets; dx <= offsets; ++dx) {
            const auto distance = static_cast<float>(std::hypot(dx, dy));
            if (!(distance < limit)) {
                continue;
            }
            const std::int64_t x0 = std::max<std::int64_t>(0, -dx);
            const std::int64_t x1 = std::min(grid.Width, grid.Width - dx);
            const std::int64_t y1 = std::min(grid.Height, grid.Height - dy);
            for (std::int64_t y = std::max<std::int64_t>(0, -dy); y < y1; ++y) {
                const float* from = edge.data() + (y + dy) * grid.Width + dx;
                float* to = best.data() + y * grid.Width;
                for (std::int64_t x = x0; x < x1; ++x) {
                    to[x] = std::max(to[x], from[x] - distance);
                }
            }
        }
    }
    for (float& value : best) {
        value = 0.5F - value; // no edge pixel near: infinity
    }
    return best;
}

} // namespace glyfora::fontimport
