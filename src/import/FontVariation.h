#pragma once

#include "base/Result.h"

#include <cstdint>
#include <string>
#include <vector>

typedef struct FT_FaceRec_* FT_Face;

namespace glyfora::fontimport {

// Where a variable face is drawn: the design coordinate of each axis in 16.16 (empty: the
// default), and the named instance as the font spells it (empty when none was asked for).
struct FaceVariation {
    std::vector<std::int64_t> Coordinates;
    std::string Instance;
};

// The variation of a face at its named instance (empty: the default coordinates) with the axis
// values "TAG=VALUE" set after it, in order; no coordinates when neither is asked for. Instance
// names compare without regard to case. Fails naming an unknown instance or axis, a value that is
// no number or lies outside its axis's range, or a face that is not variable.
[[nodiscard]] base::Result<FaceVariation>
VariationCoordinates(FT_Face face, const std::string& instance,
                     const std::vector<std::string>& axes);

// The names of the named instances of a variable face as the font spells them, in font order; none
// for a face that is not variable.
[[nodiscard]] std::vector<std::string> NamedInstances(FT_Face face);

// Sets coordinates on face, nothing when they are empty; false when FreeType refuses them.
[[nodiscard]] bool SetVariationCoordinates(FT_Face face,
                                           const std::vector<std::int64_t>& coordinates);

} // namespace glyfora::fontimport
