#pragma once

#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::document {

static_assert(std::endian::native == std::endian::little,
              "pixels are stored as bytes R, G, B, A and read as 0xAABBGGRR");

// Largest decoded picture we accept, in bytes of RGBA pixels. Protects against damaged or hostile
// headers; a byte limit rather than a side limit, because full-coverage imports make tall atlases.
constexpr std::uint64_t MaxImageBytes = std::uint64_t{1} << 30;

// A 32-bit RGBA picture. Each pixel's bytes are R, G, B, A in memory, so a pixel read as a
// little-endian integer is 0xAABBGGRR. Rows are stored top to bottom without padding.
struct Image {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    std::vector<std::uint32_t> Pixels;

    [[nodiscard]] std::uint32_t& At(std::int64_t x, std::int64_t y) {
        return Pixels[static_cast<std::size_t>(y * Width + x)];
    }
    [[nodiscard]] std::uint32_t At(std::int64_t x, std::int64_t y) const {
        return Pixels[static_cast<std::size_t>(y * Width + x)];
    }
    [[nodiscard]] bool Contains(std::int64_t x, std::int64_t y) const {
        return x >= 0 && y >= 0 && x < Width && y < Height;
    }
};

// A rectangle of pixels: columns X to X + Width - 1, rows Y to Y + Height - 1.
struct Rect64 {
    std::int64_t X = 0, Y = 0, Width = 0, Height = 0;
    friend bool operator==(const Rect64&, const Rect64&) = default;
};

// A picture's size, as a header gives it before any pixel is decoded.
struct PictureSize {
    std::int64_t Width = 0, Height = 0;
};

// True when a width × height RGBA picture is non-negative and stays within maxBytes (at most
// MaxImageBytes).
[[nodiscard]] bool ImageSizeAllowed(std::int64_t width, std::int64_t height,
                                    std::uint64_t maxBytes = MaxImageBytes);

// Why a picture of that size is refused, as the decoders say it.
[[nodiscard]] std::string PictureTooLarge(std::int64_t width, std::int64_t height,
                                          std::uint64_t maxBytes);

// A picture of the given size filled with one colour; none when the size is not allowed.
[[nodiscard]] std::optional<Image> MakeImage(std::int64_t width, std::int64_t height,
                                             std::uint32_t fill = 0);

// The part of area that lies inside the picture; none when they do not meet (or area's far edge
// is beyond the 64-bit range).
[[nodiscard]] std::optional<Rect64> PartInPicture(const Image& picture, const Rect64& area);

// The smallest rectangle around the pixels of area whose alpha is not 0; none when there are none.
// Only the part of area inside the picture is looked at.
[[nodiscard]] std::optional<Rect64> InkBoxOf(const Image& picture, const Rect64& area);

// Copies the pixels of area in from to the rectangle of the same size whose corner is (x, y) in to.
// Pixels that fall outside either picture are left out; the rest of to stays as it was. from and to
// may be the same picture when the two rectangles do not overlap.
void CopyRect(const Image& from, const Rect64& area, Image& to, std::int64_t x, std::int64_t y);

// A sprite is a pixel-exact, immutable copy of a picture that a quad surface can draw. Surfaces
// cache their uploads by the sprite's identity, so replacing a picture means making a new sprite.
using Sprite = std::shared_ptr<const Image>;

// A copy of the picture as a sprite (alpha kept); none for a picture without pixels.
[[nodiscard]] Sprite ImageToSprite(const std::optional<Image>& image);

// A copy of the sprite with its rows in reverse order; none for none.
[[nodiscard]] Sprite FlipSpriteRows(const Sprite& sprite);

} // namespace glyfora::document
