#pragma once

#include "document/LayoutOperations.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace glyfora::app {

// Reads the answer of a number prompt as a 32-bit float: the longest leading part that forms a
// decimal number with "." as separator and an optional exponent ("2", "-.5", "1.5e3", "7px" → 7),
// or "Infinity", "+Infinity", "-Infinity" or "NaN" in any case. Leading blanks are skipped.
// Too large magnitudes give infinity, too small ones zero. None for an empty answer and for one
// that does not start with a number, so the caller can change nothing instead of using 0.
[[nodiscard]] std::optional<float> ReadPromptFloat(std::string_view text);

// The spacing a prompt answer asks for: rounded with halves to even. None for NaN and infinities.
// Magnitudes beyond 2^40 are clamped there; every such spacing is too large for any picture.
[[nodiscard]] std::optional<std::int64_t> SpacingFromAnswer(float answer);

// ScaleLayout and SpacingLayout driven by the text a number prompt returned. An empty answer (the
// prompt was closed) changes nothing and carries no refusal; an answer that is not a number, or a
// spacing that is not finite, changes nothing and is refused.
[[nodiscard]] base::Result<base::Done> ScaleLayoutFromAnswer(document::Typeface& typeface,
                                                             std::string_view answer);
[[nodiscard]] base::Result<base::Done> SpacingLayoutFromAnswer(document::Typeface& typeface,
                                                               std::string_view answer);

} // namespace glyfora::app
