#include "document/ImageCharacter.h"

#include "document/PackedCells.h"
#include "document/Pixel.h"

#include <algorithm>
#include <string>
#include <vector>

namespace glyfora::document {

namespace {

// A span of rows [First, Last] and columns [Left, Right) that a cell and its gutter cover.
struct Blocked {
    std::int64_t First = 0, Last = 0, Left = 0, Right = 0;
};

// The other characters' cells grown by the gutter and cut to the picture.
std::vector<Blocked> BlockedAreas(const TypefaceContent& content, const Character* replaced,
                                  const Image& canvas, std::int64_t gutter) {
    std::vector<Blocked> blocked;
    for (const Character& c : content.Characters) {
        const Rect64& cell = c.Source;
        if (&c == replaced || cell.Width <= 0 || cell.Height <= 0) {
            continue;
        }
        const Blocked area{std::max<std::int64_t>(cell.Y - gutter, 0),
                           std::min(cell.Y + cell.Height + gutter, canvas.Height) - 1,
                           std::max<std::int64_t>(cell.X - gutter, 0),
                           std::min(cell.X + cell.Width + gutter, canvas.Width)};
        if (area.First <= area.Last && area.Left < area.Right) {
            blocked.push_back(area);
        }
    }
    return blocked;
}

bool Inside(const Rect64& cell, std::int64_t x, std::int64_t y) {
    return x >= cell.X && y >= cell.Y && x < cell.X + cell.Width && y < cell.Y + cell.Height;
}

// The top-most, then left-most place for a width × height cell that no other cell blocks and,
// with readPixels, whose pixels are transparent. Rows are swept from the bottom up, keeping per
// column how many free pixels run down from the current row, so the search costs one pass over
// the picture.
std::optional<CellCorner> Sweep(const TypefaceContent& content, const Character* replaced,
                                std::int64_t width, std::int64_t height, std::int64_t gutter,
                                bool readPixels) {
    const Image& canvas = *content.Image;
    const std::vector<Blocked> blocked = BlockedAreas(content, replaced, canvas, gutter);
    std::vector<std::vector<const Blocked*>> startsAt(static_cast<std::size_t>(canvas.Height));
    std::vector<std::vector<const Blocked*>> endsAt(static_cast<std::size_t>(canvas.Height));
    for (const Blocked& area : blocked) {
        startsAt[static_cast<std::size_t>(area.Last)].push_back(&area);
        endsAt[static_cast<std::size_t>(area.First)].push_back(&area);
    }
    const Rect64 freed = replaced != nullptr ? replaced->Source : Rect64{};
    std::vector<std::int64_t> cover(static_cast<std::size_t>(canvas.Width));
    std::vector<std::int64_t> freeBelow(static_cast<std::size_t>(canvas.Width));
    const auto mark = [&cover](const std::vector<const Blocked*>& areas, std::int64_t step) {
        for (const Blocked* area : areas) {
            for (std::int64_t x = area->Left; x < area->Right; ++x) {
                cover[static_cast<std::size_t>(x)] += step;
            }
        }
    };
    std::optional<CellCorner> best;
    for (std::int64_t y = canvas.Height - 1; y >= 0; --y) {
        mark(startsAt[static_cast<std::size_t>(y)], 1);
        std::int64_t run = 0;
        std::optional<std::int64_t> left;
        for (std::int64_t x = 0; x < canvas.Width; ++x) {
            auto& below = freeBelow[static_cast<std::size_t>(x)];
            const bool isFree = cover[static_cast<std::size_t>(x)] == 0 &&
                                (!readPixels || Alpha(canvas.At(x, y)) == 0 || Inside(freed, x, y));
            below = isFree ? below + 1 : 0;
            run = below >= height ? run + 1 : 0;
            if (run == width && !left) {
                left = x + 1 - width;
            }
        }
        if (left) {
            best = CellCorner{*left, y};
        }
        mark(endsAt[static_cast<std::size_t>(y)], -1);
    }
    return best;
}

// True when every pixel of the cell at corner is transparent or in the freed cell.
bool IsClear(const Image& canvas, const Rect64& freed, CellCorner corner, std::int64_t width,
             std::int64_t height) {
    for (std::int64_t y = corner.Y; y < corner.Y + height; ++y) {
        for (std::int64_t x = corner.X; x < corner.X + width; ++x) {
            if (Alpha(canvas.At(x, y)) != 0 && !Inside(freed, x, y)) {
                return false;
            }
        }
    }
    return true;
}

// The top-most, then left-most free place for a width × height cell. The cells usually hold all
// the ink there is, so the place they leave is found without reading the picture and only checked
// pixel by pixel; only when ink lies there is the whole picture read.
std::optional<CellCorner> FindFreeSpace(const TypefaceContent& content, const Character* replaced,
                                        std::int64_t width, std::int64_t height,
                                        std::int64_t gutter) {
    const Image& canvas = *content.Image;
    if (width > canvas.Width || height > canvas.Height) {
        return std::nullopt;
    }
    const std::optional<CellCorner> byCells =
        Sweep(content, replaced, width, height, gutter, false);
    const Rect64 freed = replaced != nullptr ? replaced->Source : Rect64{};
    if (!byCells || IsClear(canvas, freed, *byCells, width, height)) {
        return byCells;
    }
    return Sweep(content, replaced, width, height, gutter, true);
}

// The typeface's picture to change: taken over without a copy when nothing but the typeface holds
// it (the editor's undo history may), else a copy. The typeface gets a new picture object either
// way, so surfaces that cache by identity upload it again.
Image PictureToChange(TypefaceContent& content) {
    const long owners = content.Sprite == content.Image ? 2 : 1;
    if (content.Image.use_count() == owners) {
        // Made as a non-const Image by SetCharacterSetImage; only shared as const.
        return std::move(const_cast<Image&>(*content.Image));
    }
    return *content.Image;
}

// The picture grown below its content by the gutter and the cell's height, at least as wide as
// the cell; none when that is beyond the size limit.
std::optional<Image> Grown(const Image* old, std::int64_t width, std::int64_t height,
                           std::int64_t gutter, CellCorner& corner) {
    const std::int64_t oldWidth = old != nullptr ? old->Width : 0;
    const std::int64_t oldHeight = old != nullptr ? old->Height : 0;
    corner = {0, oldHeight > 0 ? oldHeight + gutter : 0};
    std::optional<Image> grown = MakeImage(std::max(oldWidth, width), corner.Y + height, 0);
    if (grown && old != nullptr) {
        CopyRect(*old, {0, 0, oldWidth, oldHeight}, *grown, 0, 0);
    }
    return grown;
}

} // namespace

base::Result<base::Done> AddImageCharacter(Typeface& typeface, std::int64_t code,
                                           const Image& picture, const ImagePlacement& placement) {
    if (code < 0 || code >= CharacterCodeCount) {
        return base::Failure{"The character code " + std::to_string(code) +
                             " is outside 0..65535; nothing was changed."};
    }
    if (picture.Width <= 0 || picture.Height <= 0) {
        return base::Failure{"The picture has no pixels; nothing was changed."};
    }
    TypefaceContent& content = typeface.Content;
    Character* replaced = FindCharacter(typeface, code);
    const std::int64_t gutter = std::max<std::int64_t>(placement.Gutter, 0);
    std::optional<CellCorner> corner;
    if (content.Image && content.Image->Width > 0 && content.Image->Height > 0) {
        corner = FindFreeSpace(content, replaced, picture.Width, picture.Height, gutter);
    }
    std::optional<Image> canvas;
    if (corner) {
        canvas = PictureToChange(content);
    } else {
        corner.emplace();
        canvas = Grown(content.Image.get(), picture.Width, picture.Height, gutter, *corner);
        if (!canvas) {
            return base::Failure{
                "The character-set picture would grow beyond the size limit; nothing "
                "was changed."};
        }
    }
    CopyRect(picture, {0, 0, picture.Width, picture.Height}, *canvas, corner->X, corner->Y);
    const Character* space = FindCharacter(typeface, 32);
    const std::int64_t lineHeight = space != nullptr ? space->Outlay.Height : picture.Height;
    Character& character = replaced != nullptr ? *replaced : AddCharacter(typeface, code);
    character.Source = {corner->X, corner->Y, picture.Width, picture.Height};
    character.Outlay = {placement.OffsetX, placement.OffsetY,
                        placement.Advance.value_or(picture.Width), lineHeight};
    SetCharacterSetImage(typeface, std::move(canvas));
    typeface.Modified = true;
    return base::Done{};
}

std::int64_t FreeImageCode(const Typeface& typeface) {
    constexpr std::int64_t PrivateUseFirst = 0xE000;
    constexpr std::int64_t PrivateUseLast = 0xF8FF;
    for (std::int64_t code = PrivateUseFirst; code <= PrivateUseLast; ++code) {
        if (FindCharacter(typeface, code) == nullptr) {
            return code;
        }
    }
    for (std::int64_t code = 1; code <= 0xFFFF; ++code) {
        if (FindCharacter(typeface, code) == nullptr) {
            return code;
        }
    }
    return -1;
}

} // namespace glyfora::document
