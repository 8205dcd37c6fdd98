#include "document/LayoutOperations.h"

#include "document/Pixel.h"
#include "document/Rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::document {

namespace {

// The scale as a user would write it: the shortest digits that read back as it ("1e+30", "0.5").
std::string ScaleText(float scale) {
    char text[32];
    const auto written = std::to_chars(std::begin(text), std::end(text), scale);
    return std::string(text, written.ptr);
}

constexpr std::int64_t GridColumns = 16;

// value × scale rounded with halves to even, or none when it leaves the 32-bit signed range. The
// product is a 32-bit float, so 5 × 0.1 is exactly 0.5 and rounds to 0, where a double product
// (0.50000000745) would round to 1.
std::optional<std::int64_t> ScaledMetric(std::int64_t value, float scale) {
    const float product32 = static_cast<float>(value) * scale;
    const double product = RoundHalfToEven(static_cast<double>(product32));
    if (!(product >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
          product <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(product);
}

bool Add(std::int64_t a, std::int64_t b, std::int64_t& result) {
    return !__builtin_add_overflow(a, b, &result);
}

bool Multiply(std::int64_t a, std::int64_t b, std::int64_t& result) {
    return !__builtin_mul_overflow(a, b, &result);
}

// The part [begin, end) of the span start..start+length that lies within 0..limit, computed
// without overflow for any start and length. Empty (begin == end) when they do not meet.
struct Span {
    std::int64_t Begin = 0;
    std::int64_t End = 0;
};

Span ClipSpan(std::int64_t start, std::int64_t length, std::int64_t limit) {
    if (length <= 0 || start >= limit) {
        return {};
    }
    if (start >= 0) {
        return {start, start + std::min(length, limit - start)};
    }
    if (length <= -start) {
        return {};
    }
    return {0, std::min(limit, start + length)};
}

// The spaced picture's size; every cell grows by twice the spacing.
struct SpreadSize {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    std::int64_t DoubleSpacing = 0;
};

base::Result<base::Done> GrowPicture(const Image& old, std::int64_t spacing, SpreadSize& size) {
    std::int64_t growth = 0;
    const bool sizeOverflows =
        !Multiply(spacing, 2 * GridColumns, growth) || !Multiply(spacing, 2, size.DoubleSpacing) ||
        !Add(old.Width, growth, size.Width) || !Add(old.Height, growth, size.Height);
    if (sizeOverflows ||
        (size.Width > 0 && size.Height > 0 && !ImageSizeAllowed(size.Width, size.Height))) {
        return base::Failure{"A spacing of " + std::to_string(spacing) +
                             " would make the character-set picture larger than allowed."};
    }
    if (size.Width <= 0 || size.Height <= 0) {
        return base::Failure{"A spacing of " + std::to_string(spacing) +
                             " would leave no character-set picture."};
    }
    return base::Done{};
}

// The new metrics of every character in list order, all computed before anything changes.
base::Result<base::Done> MoveCharacters(const TypefaceContent& content, std::int64_t spacing,
                                        const SpreadSize& size, std::vector<Character>& moved) {
    const std::int64_t doubleSpacing = size.DoubleSpacing;
    moved.reserve(content.Characters.Size());
    for (const Character& c : content.Characters) {
        Character m = c;
        std::int64_t dx = 0;
        std::int64_t dy = 0;
        if (!Multiply(c.Index % GridColumns, doubleSpacing, dx) ||
            !Multiply(c.Index / GridColumns, doubleSpacing, dy) ||
            !Add(c.Source.X, dx, m.Source.X) || !Add(c.Source.Y, dy, m.Source.Y) ||
            !Add(c.Source.Width, doubleSpacing, m.Source.Width) ||
            !Add(c.Source.Height, doubleSpacing, m.Source.Height) ||
            !Add(c.Outlay.X, -spacing, m.Outlay.X) || !Add(c.Outlay.Y, -spacing, m.Outlay.Y)) {
            return base::Failure{"A spacing of " + std::to_string(spacing) +
                                 " would move the metrics of character " + std::to_string(c.Index) +
                                 " beyond their range; nothing was changed."};
        }
        moved.push_back(m);
    }
    return base::Done{};
}

// Blends the part of a cell that the old picture holds onto spread, each pixel offset by
// (offsetX, offsetY); pixels falling off spread are dropped.
void BlendCell(const Image& old, const Span& columns, const Span& rows, std::int64_t offsetX,
               std::int64_t offsetY, Image& spread) {
    for (std::int64_t y = rows.Begin; y < rows.End; ++y) {
        const std::int64_t targetY = y + offsetY;
        if (targetY < 0 || targetY >= spread.Height) {
            continue;
        }
        for (std::int64_t x = columns.Begin; x < columns.End; ++x) {
            const std::int64_t targetX = x + offsetX;
            if (targetX < 0 || targetX >= spread.Width) {
                continue;
            }
            std::uint32_t& target = spread.At(targetX, targetY);
            target = BlendSourceOver(old.At(x, y), target);
        }
    }
}

// Each pixel of a cell that the old picture holds keeps its place relative to the cell, which
// itself lands spacing pixels inside the grown cell; pixels falling off the new picture
// (possible only with a negative spacing) are dropped.
void SpreadCells(const TypefaceContent& content, const std::vector<Character>& moved,
                 const Image& old, std::int64_t spacing, Image& spread) {
    auto next = moved.begin();
    for (const Character& c : content.Characters) {
        const Character& m = *next++;
        const Span columns = ClipSpan(c.Source.X, c.Source.Width, old.Width);
        const Span rows = ClipSpan(c.Source.Y, c.Source.Height, old.Height);
        std::int64_t offsetX = 0;
        std::int64_t offsetY = 0;
        std::int64_t farthest = 0;
        if (!Add(m.Source.X - c.Source.X, spacing, offsetX) ||
            !Add(m.Source.Y - c.Source.Y, spacing, offsetY) ||
            !Add(offsetX, columns.End, farthest) || !Add(offsetY, rows.End, farthest)) {
            continue; // so far off that none of it can land on the picture
        }
        BlendCell(old, columns, rows, offsetX, offsetY, spread);
    }
}

} // namespace

std::int64_t CopyUpperToLower(Typeface& typeface, std::int64_t first, std::int64_t last,
                              std::int64_t shift) {
    auto& content = typeface.Content;
    std::int64_t written = 0;
    for (std::int64_t code = std::max<std::int64_t>(first, 32);
         code <= last && code < CharacterCodeCount; ++code) {
        const Character* upper = FindCharacter(typeface, code - 32);
        if (upper == nullptr) {
            continue;
        }
        Character copy = *upper;
        if (Character* existing = FindCharacter(typeface, code)) {
            content.CharacterIndex.Set(code, nullptr);
            if (content.Characters.MakeCurrent(existing)) {
                content.Characters.DeleteCurrent();
            }
        }
        copy.Index = code;
        copy.Source.Y += shift;
        content.CharacterIndex.Set(code, &content.Characters.InsertAfterCurrent(copy));
        ++written;
    }
    if (written > 0) {
        typeface.Modified = true;
    }
    return written;
}

base::Result<base::Done> ScaleLayout(Typeface& typeface, float scale) {
    if (!std::isfinite(scale)) {
        return base::Failure{"The scale must be a finite number."};
    }
    // Every result is computed before anything is stored, so a refusal leaves the layout whole.
    std::vector<std::int64_t> results;
    const auto scaleAll = [&](std::initializer_list<std::int64_t> values) {
        for (const std::int64_t value : values) {
            const auto scaled = ScaledMetric(value, scale);
            if (!scaled) {
                return false;
            }
            results.push_back(*scaled);
        }
        return true;
    };
    for (const Character& c : typeface.Content.Characters) {
        if (!scaleAll({c.Source.X, c.Source.Y, c.Source.Width, c.Source.Height, c.Outlay.X,
                       c.Outlay.Y, c.Outlay.Width, c.Outlay.Height})) {
            return base::Failure{"Scaling by " + ScaleText(scale) +
                                 " would move the metrics of "
                                 "character " +
                                 std::to_string(c.Index) +
                                 " beyond the 32-bit range; nothing was changed."};
        }
    }
    for (const KerningPair& pair : typeface.Content.KerningPairs) {
        if (!scaleAll({pair.Amount})) {
            return base::Failure{
                "Scaling by " + ScaleText(scale) + " would move the kerning amount of the pair " +
                std::to_string(PairLeft(pair)) + ", " + std::to_string(PairRight(pair)) +
                " beyond the 32-bit range; nothing was changed."};
        }
    }

    bool changed = false;
    auto next = results.begin();
    const auto store = [&](std::int64_t& field) {
        changed = changed || field != *next;
        field = *next++;
    };
    for (Character& c : typeface.Content.Characters) {
        for (std::int64_t* field : {&c.Source.X, &c.Source.Y, &c.Source.Width, &c.Source.Height,
                                    &c.Outlay.X, &c.Outlay.Y, &c.Outlay.Width, &c.Outlay.Height}) {
            store(*field);
        }
    }
    for (KerningPair& pair : typeface.Content.KerningPairs) {
        store(pair.Amount);
    }
    if (changed) {
        typeface.Modified = true;
    }
    return base::Done{};
}

base::Result<base::Done> SpacingLayout(Typeface& typeface, std::int64_t spacing) {
    auto& content = typeface.Content;
    if (spacing == 0) {
        return base::Done{}; // the rebuilt picture and the metrics would equal the old ones
    }
    if (!content.Image || content.Image->Width <= 0 || content.Image->Height <= 0) {
        return base::Failure{"There is no character-set picture whose cells could be spaced."};
    }
    const Image& old = *content.Image;
    SpreadSize size;
    if (base::Result<base::Done> step = GrowPicture(old, spacing, size); !step) {
        return step;
    }
    std::vector<Character> moved;
    if (base::Result<base::Done> step = MoveCharacters(content, spacing, size, moved); !step) {
        return step;
    }
    auto spread = MakeImage(size.Width, size.Height, 0);
    if (!spread) {
        return base::Failure{"Not enough memory for the spaced character-set picture."};
    }
    SpreadCells(content, moved, old, spacing, *spread);

    auto next = moved.begin();
    for (Character& c : content.Characters) {
        c = *next++;
    }
    SetCharacterSetImage(typeface, std::move(spread));
    typeface.Modified = true;
    return base::Done{};
}

} // namespace glyfora::document
