#pragma once

#include "import/FontServices.h"

#include <cstdint>
#include <vector>

typedef struct FT_FaceRec_* FT_Face;

namespace glyfora::fontimport {

// The pairs with the amounts HarfBuzz's shaping gives each of them at the variable face's current
// design coordinates, in pixels of an em of size pixels: a pair table's values may vary with the
// axes, which the pair reader does not follow. A face that is not variable keeps its amounts.
[[nodiscard]] std::vector<FontKerningPair>
VariedKerningPairs(FT_Face face, std::vector<FontKerningPair> pairs, std::int64_t size);

} // namespace glyfora::fontimport
