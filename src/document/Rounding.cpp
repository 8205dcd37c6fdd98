#include "document/Rounding.h"

#include <cmath>

namespace glyfora::document {

double RoundHalfToEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction < 0.5) {
        return floor;
    }
    if (fraction > 0.5) {
        return floor + 1.0;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

} // namespace glyfora::document
