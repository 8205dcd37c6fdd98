#include "document/FieldLimits.h"

#include <vector>

namespace glyfora::document {

namespace {

std::string Range(std::int64_t low, std::int64_t high) {
    return "(" + std::to_string(low) + ".." + std::to_string(high) + ")";
}

std::vector<CellSize> CellSizes(const Typeface& typeface) {
    std::vector<CellSize> cells;
    cells.reserve(typeface.Content.Characters.Size());
    for (const Character& character : typeface.Content.Characters) {
        cells.push_back({character.Source.Width, character.Source.Height});
    }
    return cells;
}

} // namespace

FieldCheck CheckFieldLimits(const Typeface& typeface, const FieldLimits& limits,
                            const PackingRules* compact) {
    const auto outside = [](std::int64_t value, std::int64_t low, std::int64_t high) {
        return value < low || value > high;
    };
    for (const Character& c : typeface.Content.Characters) {
        if (outside(c.Index, 0, CharacterCodeCount - 1)) {
            return {"the character code " + std::to_string(c.Index) + " does not fit " +
                        limits.Format + " " + Range(0, CharacterCodeCount - 1),
                    std::nullopt};
        }
        const struct {
            const char* Name;
            std::int64_t Value;
            bool Position;
        } fields[] = {
            {"Outlay X", c.Outlay.X, false},         {"Outlay Y", c.Outlay.Y, false},
            {"Outlay Width", c.Outlay.Width, false}, {"Outlay Height", c.Outlay.Height, false},
            {"Source X", c.Source.X, true},          {"Source Y", c.Source.Y, true},
            {"Source Width", c.Source.Width, false}, {"Source Height", c.Source.Height, false},
        };
        for (const auto& field : fields) {
            if (!outside(field.Value, limits.MetricMin, limits.MetricMax)) {
                continue;
            }
            FieldCheck check{"character " + std::to_string(c.Index) + ": " + field.Name + " " +
                                 std::to_string(field.Value) + " does not fit " + limits.Format +
                                 " " + Range(limits.MetricMin, limits.MetricMax),
                             std::nullopt};
            if (field.Position) {
                const std::vector<CellSize> cells = CellSizes(typeface);
                PositionAdvice advice =
                    compact != nullptr
                        ? AdviseCompactPictureWidth(cells, *compact, limits.MetricMin,
                                                    limits.MetricMax)
                        : AdvisePictureWidth(cells, limits.MetricMin, limits.MetricMax);
                check.Reason += advice.Text;
                check.FittingWidth = advice.Width;
            }
            return check;
        }
    }
    for (const KerningPair& pair : typeface.Content.KerningPairs) {
        if (outside(pair.Amount, limits.AmountMin, limits.AmountMax)) {
            return {"the kerning pair " + std::to_string(PairLeft(pair)) + ", " +
                        std::to_string(PairRight(pair)) + ": amount " +
                        std::to_string(pair.Amount) + " does not fit " + limits.Format + " " +
                        Range(limits.AmountMin, limits.AmountMax),
                    std::nullopt};
        }
    }
    return {};
}

PositionAdvice AdvisePictureWidth(std::span<const CellSize> cells, std::int64_t low,
                                  std::int64_t high) {
    const std::optional<std::int64_t> width = NarrowestPackingWidth(cells, low, high);
    if (!width) {
        return {"; no picture width packs every cell within that range", std::nullopt};
    }
    return {"; packed into a picture " + std::to_string(*width) +
                " pixels wide, every cell would fit",
            width};
}

PositionAdvice AdviseCompactPictureWidth(std::span<const CellSize> cells, const PackingRules& rules,
                                         std::int64_t low, std::int64_t high) {
    const std::optional<std::int64_t> width = NarrowestCompactWidth(cells, rules, low, high);
    if (!width) {
        return {"; no compact picture up to " + std::to_string(MaxPackedSide) +
                    " pixels wide packs every cell within that range",
                std::nullopt};
    }
    return {"; packed compactly into a picture " + std::to_string(*width) +
                " pixels wide, every cell would fit",
            width};
}

} // namespace glyfora::document
