#include "document/PngCodec.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <stb_image.h>
#include <string>
#include <vector>

namespace glyfora::document {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t ColourTypeOffset = 25; // signature 8, IHDR length and type 8, size 8, depth 1
constexpr std::uint8_t GreyAlpha = 4;
constexpr std::uint8_t Rgba = 6;

// A pseudo-random picture: each pixel from make(x, y, random).
template <typename Make> Image Picture(std::int64_t width, std::int64_t height, Make make) {
    Image picture = *MakeImage(width, height);
    std::uint32_t random = 12345;
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            random = random * 1103515245U + 12345U;
            picture.At(x, y) = make(x, y, random >> 8);
        }
    }
    return picture;
}

// White glyph-like blobs on transparent white, as an import draws them.
std::uint32_t Atlas(std::int64_t x, std::int64_t y, std::uint32_t) {
    const auto alpha = static_cast<std::uint32_t>((x * 7 + y * 3) % 40 < 12 ? (x * y) % 256 : 0);
    return (alpha << 24) | 0x00FFFFFFU;
}

std::uint32_t GreyNoise(std::int64_t, std::int64_t, std::uint32_t random) {
    const std::uint32_t grey = random & 0xFF;
    return ((random >> 8) << 24) | (grey << 16) | (grey << 8) | grey;
}

std::uint32_t ColourNoise(std::int64_t, std::int64_t, std::uint32_t random) {
    return random * 2654435761U;
}

// The RGBA pixels stb_image reads from the PNG, a decoder that shares no code with libpng.
std::vector<std::uint32_t> DecodeWithStb(const Bytes& png) {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height, &channels,
                              4),
        stbi_image_free);
    if (!pixels) {
        ADD_FAILURE() << "stb_image: " << stbi_failure_reason();
        return {};
    }
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    std::memcpy(out.data(), pixels.get(), out.size() * 4);
    return out;
}

TEST(PngCodec, PicturesDecodeToTheSameRgbaWithTwoDecoders) {
    struct Case {
        const char* Name;
        Image Picture;
        std::uint8_t ColourType;
    };
    Image oneOff = Picture(64, 64, Atlas);
    oneOff.At(63, 63) = 0x80FFFEFF; // one pixel's green differs
    Image hiddenColour = *MakeImage(8, 8);
    hiddenColour.At(3, 3) = 0x000000FF; // invisible, but its red must survive
    const std::vector<Case> cases = {
        {"white atlas", Picture(300, 200, Atlas), GreyAlpha},
        {"grey levels", Picture(97, 31, GreyNoise), GreyAlpha},
        {"fully transparent", *MakeImage(40, 20), GreyAlpha},
        {"1 x 1 grey", *MakeImage(1, 1, 0x7F3A3A3A), GreyAlpha},
        {"1 x 1 colour", *MakeImage(1, 1, 0x7F3A3A3B), Rgba},
        {"colour noise", Picture(123, 45, ColourNoise), Rgba},
        {"grey but one pixel", oneOff, Rgba},
        {"colour under zero alpha", hiddenColour, Rgba},
        {"large atlas", Picture(2048, 1536, Atlas), GreyAlpha},
        {"large colour", Picture(1024, 1024, ColourNoise), Rgba},
    };
    for (const Case& c : cases) {
        const auto png = EncodePng(c.Picture);
        ASSERT_TRUE(png) << c.Name;
        ASSERT_GT(png->size(), ColourTypeOffset) << c.Name;
        EXPECT_EQ((*png)[ColourTypeOffset], c.ColourType) << c.Name;
        const Result<Image> ours = DecodePng(*png);
        ASSERT_TRUE(ours) << c.Name << ": " << ours.Error;
        EXPECT_EQ(ours.Value->Width, c.Picture.Width) << c.Name;
        EXPECT_EQ(ours.Value->Height, c.Picture.Height) << c.Name;
        EXPECT_TRUE(ours.Value->Pixels == c.Picture.Pixels) << c.Name;
        EXPECT_TRUE(DecodeWithStb(*png) == c.Picture.Pixels) << c.Name;
    }
}

TEST(PngCodec, AppendsAfterWhatIsThereAndLeavesItAloneOnFailure) {
    const Bytes prefix = {1, 2, 3};
    Bytes out = prefix;
    ASSERT_TRUE(AppendPng(*MakeImage(3, 2, 0xFFFFFFFF), out));
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 3), prefix);
    EXPECT_EQ(Bytes(out.begin() + 3, out.end()), *EncodePng(*MakeImage(3, 2, 0xFFFFFFFF)));

    Image mismatched = *MakeImage(4, 4);
    mismatched.Pixels.resize(5); // size fields that promise more pixels than there are
    for (const Image& bad : {Image{}, *MakeImage(0, 5), mismatched}) {
        Bytes kept = prefix;
        EXPECT_FALSE(AppendPng(bad, kept));
        EXPECT_EQ(kept, prefix);
        EXPECT_FALSE(EncodePng(bad));
    }
}

} // namespace
} // namespace glyfora::document
