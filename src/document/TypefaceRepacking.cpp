#include "document/TypefaceRepacking.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace glyfora::document {

namespace {

using RectKey = std::tuple<std::int64_t, std::int64_t, std::int64_t, std::int64_t>;

// The distinct inked rectangles of the old picture, and for each character in list order the one
// it shows (none for a character without ink).
struct InkCells {
    std::vector<Rect64> Rects;
    std::vector<std::optional<std::size_t>> OfCharacter;
};

InkCells FindInk(const TypefaceContent& content) {
    InkCells ink;
    std::map<RectKey, std::size_t> seen;
    std::map<RectKey, std::optional<std::size_t>> bySource; // shared cells are scanned once
    for (const Character& c : content.Characters) {
        const RectKey source{c.Source.X, c.Source.Y, c.Source.Width, c.Source.Height};
        auto [known, isNew] = bySource.try_emplace(source);
        if (isNew) {
            if (const std::optional<Rect64> rect = InkBoxOf(*content.Image, c.Source)) {
                auto [slot, added] = seen.try_emplace(
                    RectKey{rect->X, rect->Y, rect->Width, rect->Height}, ink.Rects.size());
                if (added) {
                    ink.Rects.push_back(*rect);
                }
                known->second = slot->second;
            }
        }
        ink.OfCharacter.push_back(known->second);
    }
    return ink;
}

// Every character's new metrics in list order, computed before anything changes.
base::Result<std::vector<Character>>
CroppedCharacters(const TypefaceContent& content, const InkCells& ink, const PackedCells& packed) {
    std::vector<Character> cropped;
    cropped.reserve(ink.OfCharacter.size());
    auto slot = ink.OfCharacter.begin();
    for (const Character& c : content.Characters) {
        Character m = c;
        if (const std::optional<std::size_t> index = *slot++) {
            const Rect64& rect = ink.Rects[*index];
            std::int64_t dx = 0;
            std::int64_t dy = 0;
            if (__builtin_sub_overflow(rect.X, c.Source.X, &dx) ||
                __builtin_sub_overflow(rect.Y, c.Source.Y, &dy) ||
                __builtin_add_overflow(c.Outlay.X, dx, &m.Outlay.X) ||
                __builtin_add_overflow(c.Outlay.Y, dy, &m.Outlay.Y)) {
                return base::Failure{"Packing would move the offset of character " +
                                     std::to_string(c.Index) +
                                     " beyond its range; nothing was changed."};
            }
            const CellCorner corner = packed.Corners[*index];
            m.Source = {corner.X, corner.Y, rect.Width, rect.Height};
        } else {
            m.Source = {};
        }
        cropped.push_back(m);
    }
    return cropped;
}

void CopyCells(const Image& old, const InkCells& ink, const PackedCells& packed, Image& picture) {
    for (std::size_t i = 0; i < ink.Rects.size(); ++i) {
        CopyRect(old, ink.Rects[i], picture, packed.Corners[i].X, packed.Corners[i].Y);
    }
}

} // namespace

base::Result<base::Done> PackCompactly(Typeface& typeface, const PackingRules& rules) {
    TypefaceContent& content = typeface.Content;
    if (content.Characters.Size() == 0) {
        return base::Failure{"There are no characters whose cells could be packed."};
    }
    if (!content.Image || content.Image->Width <= 0 || content.Image->Height <= 0) {
        return base::Failure{"There is no character-set picture whose cells could be packed."};
    }
    const InkCells ink = FindInk(content);
    std::vector<CellSize> sizes;
    sizes.reserve(ink.Rects.size());
    for (const Rect64& rect : ink.Rects) {
        sizes.push_back({rect.Width, rect.Height});
    }
    PackingRules paged = rules;
    if (!paged.Pages) {
        paged.Pages = PageSizeOf(typeface);
    }
    const base::Result<PackedCells> packed = PackCells(sizes, paged);
    if (!packed) {
        return base::Failure{"The cells could not be packed: " + packed.Error + "."};
    }
    base::Result<std::vector<Character>> cropped = CroppedCharacters(content, ink, *packed.Value);
    if (!cropped) {
        return base::Failure{cropped.Error};
    }
    // A typeface without ink still gets a picture, the smallest there is.
    std::optional<Image> picture = MakeImage(std::max<std::int64_t>(packed.Value->Width, 1),
                                             std::max<std::int64_t>(packed.Value->Height, 1), 0);
    if (!picture) {
        return base::Failure{"Not enough memory for the packed character-set picture."};
    }
    CopyCells(*content.Image, ink, *packed.Value, *picture);

    auto next = cropped.Value->begin();
    for (Character& c : content.Characters) {
        c = *next++;
    }
    SetCharacterSetImage(typeface, std::move(picture));
    if (paged.Pages) {
        PropertyValue(typeface, PageSizeProperty) = PageSizeText(*paged.Pages);
    }
    typeface.Modified = true;
    return base::Done{};
}

} // namespace glyfora::document
