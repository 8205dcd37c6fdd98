#include "formats/FieldLimits.h"

#include "document/RowPacking.h"

#include <vector>

namespace glyfora::formats {

namespace {

std::string Range(std::int64_t low, std::int64_t high) {
    return "(" + std::to_string(low) + ".." + std::to_string(high) + ")";
}

std::vector<document::CellSize> CellSizes(const document::Typeface& typeface) {
    std::vector<document::CellSize> cells;
    cells.reserve(typeface.Content.Characters.Size());
    for (const document::Character& character : typeface.Content.Characters) {
        cells.push_back({character.Source.Width, character.Source.Height});
    }
    return cells;
}

} // namespace

std::optional<FieldBeyondLimits> FindFieldBeyondLimits(const document::Typeface& typeface,
                                                       const FieldLimits& limits,
                                                       const document::PackingRules* compact) {
    const auto outside = [](std::int64_t value, std::int64_t low, std::int64_t high) {
        return value < low || value > high;
    };
    for (const document::Character& c : typeface.Content.Characters) {
        if (outside(c.Index, 0, document::CharacterCodeCount - 1)) {
            return FieldBeyondLimits{"the character code " + std::to_string(c.Index) +
                                         " does not fit " + limits.Format + " " +
                                         Range(0, document::CharacterCodeCount - 1),
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
            FieldBeyondLimits check{"character " + std::to_string(c.Index) + ": " + field.Name +
                                        " " + std::to_string(field.Value) + " does not fit " +
                                        limits.Format + " " +
                                        Range(limits.MetricMin, limits.MetricMax),
                                    std::nullopt};
            if (field.Position) {
                const std::vector<document::CellSize> cells = CellSizes(typeface);
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
    for (const document::KerningPair& pair : typeface.Content.KerningPairs) {
        if (outside(pair.Amount, limits.AmountMin, limits.AmountMax)) {
            return FieldBeyondLimits{
                "the kerning pair " + std::to_string(document::PairLeft(pair)) + ", " +
                    std::to_string(document::PairRight(pair)) + ": amount " +
                    std::to_string(pair.Amount) + " does not fit " + limits.Format + " " +
                    Range(limits.AmountMin, limits.AmountMax),
                std::nullopt};
        }
    }
    return std::nullopt;
}

base::Result<base::Done> CheckFieldLimits(const document::Typeface& typeface,
                                          const FieldLimits& limits) {
    if (std::optional<FieldBeyondLimits> beyond = FindFieldBeyondLimits(typeface, limits)) {
        return base::Failure{std::move(beyond->Reason)};
    }
    return base::Done{};
}

PositionAdvice AdvisePictureWidth(std::span<const document::CellSize> cells, std::int64_t low,
                                  std::int64_t high) {
    const std::optional<std::int64_t> width = document::NarrowestPackingWidth(cells, low, high);
    if (!width) {
        return {"; no picture width packs every cell within that range", std::nullopt};
    }
    return {"; packed into a picture " + std::to_string(*width) +
                " pixels wide, every cell would fit",
            width};
}

PositionAdvice AdviseCompactPictureWidth(std::span<const document::CellSize> cells,
                                         const document::PackingRules& rules, std::int64_t low,
                                         std::int64_t high) {
    if (rules.Pages) {
        // Pages are filled one after another whatever the width; only larger ones hold more.
        return {"; its pages of " + document::PageSizeText(*rules.Pages) +
                    " stack beyond that range",
                std::nullopt};
    }
    const std::optional<std::int64_t> width = NarrowestCompactWidth(cells, rules, low, high);
    if (!width) {
        return {"; no compact picture up to " + std::to_string(document::MaxPackedSide) +
                    " pixels wide packs every cell within that range",
                std::nullopt};
    }
    return {"; packed compactly into a picture " + std::to_string(*width) +
                " pixels wide, every cell would fit",
            width};
}

} // namespace glyfora::formats
