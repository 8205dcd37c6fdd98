#include "import/SfntReading.h"

#include <algorithm>
#include <limits>

namespace glyfora::fontimport {

void SumGlyphKerningPairs(std::vector<GlyphKerningPair>& pairs) {
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
        return a.First != b.First ? a.First < b.First : a.Second < b.Second;
    });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < pairs.size();) {
        std::int64_t sum = 0;
        std::size_t j = i;
        for (; j < pairs.size() && pairs[j].First == pairs[i].First &&
               pairs[j].Second == pairs[i].Second;
             ++j) {
            sum += pairs[j].Amount;
        }
        sum = std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max());
        if (sum != 0) {
            pairs[kept++] = {pairs[i].First, pairs[i].Second, static_cast<std::int32_t>(sum)};
        }
        i = j;
    }
    pairs.resize(kept);
}

} // namespace glyfora::fontimport
