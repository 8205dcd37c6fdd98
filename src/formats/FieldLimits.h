#pragma once

// What the numeric fields of a file format hold, so that a save refuses values it would otherwise
// have to cut down.

#include "base/Result.h"
#include "document/SkylinePacking.h"
#include "document/Typeface.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace glyfora::formats {

struct FieldLimits {
    const char* Format = "";                   // as a reason names it: "a .tf file"
    std::int64_t MetricMin = 0, MetricMax = 0; // the eight Outlay and Source fields
    std::int64_t AmountMin = 0, AmountMax = 0; // kerning amounts
};

constexpr FieldLimits TfFieldLimits{"a .tf file", std::numeric_limits<std::int16_t>::min(),
                                    std::numeric_limits<std::int16_t>::max(),
                                    std::numeric_limits<std::int16_t>::min(),
                                    std::numeric_limits<std::int16_t>::max()};
// Its reader takes the metrics as 32-bit numbers and the amounts as 64-bit ones.
constexpr FieldLimits XmlImageFieldLimits{
    "an XML & Image description", std::numeric_limits<std::int32_t>::min(),
    std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int64_t>::min(),
    std::numeric_limits<std::int64_t>::max()};

// The first value of a typeface that its format's field cannot hold.
struct FieldBeyondLimits {
    std::string Reason; // which value, and the range it does not fit
    // When that value is a cell position: the narrowest picture width at which the import's row
    // packing would put every cell within range, if there is one.
    std::optional<std::int64_t> FittingWidth;
};

// Looks at every character code (0..65535), every metric in list order (Outlay X, Y, Width,
// Height, then Source X, Y, Width, Height, as a ".tf" record holds them) and every kerning amount;
// none when every value fits. The advice for a cell position is the row packing's unless compact
// gives the rules of a compact packing, whose fitting width is then PackCells's.
[[nodiscard]] std::optional<FieldBeyondLimits>
FindFieldBeyondLimits(const document::Typeface& typeface, const FieldLimits& limits,
                      const document::PackingRules* compact = nullptr);

// What a writer checks before it encodes anything: fails with FindFieldBeyondLimits's reason.
[[nodiscard]] base::Result<base::Done> CheckFieldLimits(const document::Typeface& typeface,
                                                        const FieldLimits& limits);

// Appended to a reason about a cell position: the narrowest picture width at which packing cells
// in list order keeps every corner within low..high, or that none does.
struct PositionAdvice {
    std::string Text;
    std::optional<std::int64_t> Width;
};
[[nodiscard]] PositionAdvice AdvisePictureWidth(std::span<const document::CellSize> cells,
                                                std::int64_t low, std::int64_t high);
// The same for cells packed by PackCells with rules (its MaxWidth aside).
[[nodiscard]] PositionAdvice AdviseCompactPictureWidth(std::span<const document::CellSize> cells,
                                                       const document::PackingRules& rules,
                                                       std::int64_t low, std::int64_t high);

} // namespace glyfora::formats
