#include "document/Image.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace glyfora::document {
namespace {

constexpr std::int64_t Huge = std::numeric_limits<std::int64_t>::max();

// 6 × 5, transparent but for three inked pixels and two that carry colour without alpha.
Image InkedPicture() {
    Image picture = *MakeImage(6, 5, 0);
    picture.At(1, 1) = 0x80FFFFFFU;
    picture.At(4, 1) = 0x01000000U; // the faintest ink still counts
    picture.At(2, 3) = 0xFF102030U;
    picture.At(0, 4) = 0x00FFFFFFU; // colour, but no alpha: not ink
    picture.At(5, 4) = 0x00000001U;
    return picture;
}

TEST(Image, InkBoxIsTheSmallestRectangleAroundAlphaInsideTheArea) {
    const struct {
        const char* Name;
        Rect64 Area;
        std::optional<Rect64> Expected;
    } cases[] = {
        {"whole picture", {0, 0, 6, 5}, Rect64{1, 1, 4, 3}},
        {"right part", {2, 0, 4, 5}, Rect64{2, 1, 3, 3}},
        {"one inked pixel", {2, 3, 1, 1}, Rect64{2, 3, 1, 1}},
        {"beyond the top left corner", {-3, -3, 5, 5}, Rect64{1, 1, 1, 1}},
        {"larger than the picture", {-10, -10, 100, 100}, Rect64{1, 1, 4, 3}},
        {"colour without alpha", {0, 4, 6, 1}, std::nullopt},
        {"clear part", {3, 2, 3, 3}, std::nullopt},
        {"beside the picture", {6, 0, 2, 2}, std::nullopt},
        {"above the picture", {0, -4, 6, 4}, std::nullopt},
        {"no width", {1, 1, 0, 3}, std::nullopt},
        {"negative height", {1, 3, 3, -2}, std::nullopt},
        {"far edge beyond the range", {Huge - 1, 0, 5, 5}, std::nullopt},
    };
    const Image picture = InkedPicture();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(InkBoxOf(picture, c.Area), c.Expected);
    }
}

TEST(Image, InkBoxOfAPictureWithoutPixelsIsNone) {
    EXPECT_EQ(InkBoxOf(Image{}, {0, 0, 4, 4}), std::nullopt);
}

TEST(Image, PartInPictureClipsToThePicture) {
    const struct {
        Rect64 Area;
        std::optional<Rect64> Expected;
    } cases[] = {
        {{1, 2, 3, 2}, Rect64{1, 2, 3, 2}}, {{-2, -1, 4, 3}, Rect64{0, 0, 2, 2}},
        {{4, 3, 9, 9}, Rect64{4, 3, 2, 2}}, {{-5, 0, 5, 5}, std::nullopt},
        {{0, 5, 6, 1}, std::nullopt},       {{0, 0, 0, 0}, std::nullopt},
        {{0, Huge, 1, 1}, std::nullopt},
    };
    const Image picture = *MakeImage(6, 5, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.Area.X << "," << c.Area.Y << " " << c.Area.Width << "x" << c.Area.Height);
        EXPECT_EQ(PartInPicture(picture, c.Area), c.Expected);
    }
}

// Every pixel of from tells its own place.
Image NumberedPicture(std::int64_t width, std::int64_t height) {
    Image picture = *MakeImage(width, height, 0);
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            picture.At(x, y) = 0xFF000000U | static_cast<std::uint32_t>(y * 256 + x + 1);
        }
    }
    return picture;
}

TEST(Image, CopyRectCopiesWhatLiesInsideBothPictures) {
    constexpr std::uint32_t Fill = 0x12345678U;
    const struct {
        const char* Name;
        Rect64 Area;
        std::int64_t X, Y;
        std::int64_t Copied; // pixels that change in the target
    } cases[] = {
        {"whole source to the corner", {0, 0, 4, 3}, 0, 0, 12},
        {"part of the source inside", {1, 1, 2, 2}, 2, 1, 4},
        {"to the far corner", {0, 0, 4, 3}, 1, 1, 12},
        {"area beyond the source's top left", {-2, -1, 4, 3}, 0, 0, 4},
        {"area beyond the source's bottom right", {2, 1, 5, 5}, 3, 2, 4},
        {"target beyond the left and bottom", {0, 0, 4, 3}, -1, 2, 6},
        {"target wholly outside", {0, 0, 4, 3}, 5, 0, 0},
        {"area wholly outside the source", {4, 0, 2, 2}, 0, 0, 0},
        {"empty area", {1, 1, 0, 2}, 0, 0, 0},
    };
    const Image from = NumberedPicture(4, 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Image to = *MakeImage(5, 4, Fill);
        CopyRect(from, c.Area, to, c.X, c.Y);
        std::int64_t copied = 0;
        for (std::int64_t y = 0; y < to.Height; ++y) {
            for (std::int64_t x = 0; x < to.Width; ++x) {
                // The pixel of from that lands here, if any.
                const std::int64_t fromX = x - c.X + c.Area.X;
                const std::int64_t fromY = y - c.Y + c.Area.Y;
                const bool inArea = fromX >= c.Area.X && fromY >= c.Area.Y &&
                                    fromX - c.Area.X < c.Area.Width &&
                                    fromY - c.Area.Y < c.Area.Height && from.Contains(fromX, fromY);
                EXPECT_EQ(to.At(x, y), inArea ? from.At(fromX, fromY) : Fill) << x << "," << y;
                copied += to.At(x, y) != Fill ? 1 : 0;
            }
        }
        EXPECT_EQ(copied, c.Copied);
    }
}

TEST(Image, CopyRectBeyondTheRangeCopiesNothing) {
    const struct {
        Rect64 Area;
        std::int64_t X, Y;
    } cases[] = {
        {{-2, 0, 4, 3}, Huge, 0},
        {{0, -2, 4, 3}, 0, Huge},
        {{Huge - 1, 0, 4, 3}, 0, 0},
        {{std::numeric_limits<std::int64_t>::min(), 0, 4, 3}, 0, 0},
    };
    const Image from = NumberedPicture(4, 3);
    for (const auto& c : cases) {
        Image to = *MakeImage(5, 4, 0);
        CopyRect(from, c.Area, to, c.X, c.Y);
        EXPECT_EQ(to.Pixels, MakeImage(5, 4, 0)->Pixels) << c.Area.X << "," << c.X << "," << c.Y;
    }
}

TEST(Image, CopyRectWithinOnePicture) {
    Image picture = NumberedPicture(3, 4);
    const Image before = picture;
    CopyRect(picture, {0, 0, 3, 2}, picture, 0, 2); // the top half over the bottom half
    for (std::int64_t y = 0; y < 4; ++y) {
        for (std::int64_t x = 0; x < 3; ++x) {
            EXPECT_EQ(picture.At(x, y), before.At(x, y % 2)) << x << "," << y;
        }
    }
    const Image copied = picture;
    CopyRect(picture, {1, 1, 2, 2}, picture, 1, 1); // onto itself: nothing changes
    EXPECT_EQ(picture.Pixels, copied.Pixels);
}

} // namespace
} // namespace glyfora::document
