#include "document/Pixel.h"
#include "import/ImportRun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace glyfora::fontimport {
namespace {

constexpr std::int64_t Id = 5;

class DistanceFieldQuality : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }

    // DejaVu Sans at size, the printable ASCII glyphs in rows; a distance field of spread 4 or
    // plain coverage.
    std::unique_ptr<document::Typeface> Import(std::int64_t size, bool field) {
        ImportOptions options;
        options.Family = "DejaVu Sans";
        options.Size = size;
        options.Characters = "33-126";
        options.PaddingLeft = options.PaddingRight = options.PaddingTop = options.PaddingBottom = 2;
        options.MaxWidth = 2048;
        options.Effects.DistanceField = field;
        ImportOutcome outcome = RunImport(graphics, registry, Id, options, {}, 2);
        EXPECT_EQ(outcome.End, ImportEnd::Created) << outcome.Reason;
        return std::move(outcome.Typeface);
    }

    platform::GraphicsLibrary graphics;
    document::TypefaceRegistry registry;
};

// Alpha of a character's pixel at (x, y) relative to the cursor, 0 beyond its cell.
double AlphaAt(const document::Typeface& typeface, const document::Character& character,
               std::int64_t x, std::int64_t y) {
    const std::int64_t px = x - character.Outlay.X;
    const std::int64_t py = y - character.Outlay.Y;
    if (px < 0 || py < 0 || px >= character.Source.Width || py >= character.Source.Height) {
        return 0.0;
    }
    return document::Alpha(
        typeface.Content.Image->At(character.Source.X + px, character.Source.Y + py));
}

// The field sampled bilinearly at (u, v) in pixels relative to the cursor, pixel centres at
// whole coordinates.
double Bilinear(const document::Typeface& typeface, const document::Character& character, double u,
                double v) {
    const double x0 = std::floor(u);
    const double y0 = std::floor(v);
    const double fx = u - x0;
    const double fy = v - y0;
    const auto x = static_cast<std::int64_t>(x0);
    const auto y = static_cast<std::int64_t>(y0);
    return (1 - fy) * ((1 - fx) * AlphaAt(typeface, character, x, y) +
                       fx * AlphaAt(typeface, character, x + 1, y)) +
           fy * ((1 - fx) * AlphaAt(typeface, character, x, y + 1) +
                 fx * AlphaAt(typeface, character, x + 1, y + 1));
}

struct Overlap {
    std::uint64_t Both = 0, Either = 0;
    [[nodiscard]] double IntersectionOverUnion() const {
        return Either == 0 ? 0.0 : static_cast<double>(Both) / static_cast<double>(Either);
    }
    void Add(bool a, bool b) {
        Both += a && b ? 1 : 0;
        Either += a || b ? 1 : 0;
    }
};

// The box around both characters' cells relative to the cursor, the second scaled by scale.
document::Rect64 Around(const document::Character& a, const document::Character& b,
                        std::int64_t scale) {
    const std::int64_t left = std::min(a.Outlay.X, b.Outlay.X * scale);
    const std::int64_t top = std::min(a.Outlay.Y, b.Outlay.Y * scale);
    const std::int64_t right =
        std::max(a.Outlay.X + a.Source.Width, (b.Outlay.X + b.Source.Width) * scale);
    const std::int64_t bottom =
        std::max(a.Outlay.Y + a.Source.Height, (b.Outlay.Y + b.Source.Height) * scale);
    return {left, top, right - left, bottom - top};
}

TEST_F(DistanceFieldQuality, EdgeMatchesHalfCoverageAtSizeAndFourTimesLarger) {
    const auto field = Import(32, true);
    const auto plain = Import(32, false);
    const auto large = Import(128, false);
    ASSERT_TRUE(field && plain && large);
    Overlap atSize;
    Overlap upscaled;
    auto plainCharacter = plain->Content.Characters.begin();
    auto largeCharacter = large->Content.Characters.begin();
    for (const document::Character& character : field->Content.Characters) {
        const document::Rect64 box = Around(*plainCharacter, character, 1);
        for (std::int64_t y = box.Y; y < box.Y + box.Height; ++y) {
            for (std::int64_t x = box.X; x < box.X + box.Width; ++x) {
                atSize.Add(AlphaAt(*field, character, x, y) >= 128,
                           AlphaAt(*plain, *plainCharacter, x, y) >= 128);
            }
        }
        const document::Rect64 large4 = Around(*largeCharacter, character, 4);
        for (std::int64_t y = large4.Y; y < large4.Y + large4.Height; ++y) {
            for (std::int64_t x = large4.X; x < large4.X + large4.Width; ++x) {
                // Pixel centres lie on whole coordinates at both sizes.
                const double u = static_cast<double>(x) / 4.0;
                const double v = static_cast<double>(y) / 4.0;
                upscaled.Add(Bilinear(*field, character, u, v) >= 127.5,
                             AlphaAt(*large, *largeCharacter, x, y) >= 128);
            }
        }
        ++plainCharacter;
        ++largeCharacter;
    }
    std::printf("intersection over union: %.4f at 32 px, %.4f upscaled 4x against 128 px\n",
                atSize.IntersectionOverUnion(), upscaled.IntersectionOverUnion());
    EXPECT_GE(atSize.IntersectionOverUnion(), 0.95);
    EXPECT_GE(upscaled.IntersectionOverUnion(), 0.95);
    EXPECT_GT(upscaled.Either, 100000U); // the glyphs were there
}

} // namespace
} // namespace glyfora::fontimport
