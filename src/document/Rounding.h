#pragma once

namespace glyfora::document {

// Rounds to the nearest integer with halves to even (2.5 → 2, 3.5 → 4, −2.5 → −2), whatever the
// floating-point environment says. Non-finite values are returned unchanged.
[[nodiscard]] double RoundHalfToEven(double value);

} // namespace glyfora::document
