#include "PngBytes.h"
#include "formats/PngCodec.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <stb_image.h>
#include <string>
#include <vector>

namespace glyfora::formats {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t ColourTypeOffset = 25; // signature 8, IHDR length and type 8, size 8, depth 1
constexpr std::uint8_t GreyAlpha = 4;
constexpr std::uint8_t Rgba = 6;

// A picture of pseudo-random pixels, each from mix(random); Grey keeps them grey, Colour does not.
document::Image Picture(std::int64_t width, std::int64_t height,
                        std::uint32_t (*mix)(std::uint32_t)) {
    document::Image picture = *document::MakeImage(width, height);
    std::uint32_t random = 12345;
    for (std::uint32_t& pixel : picture.Pixels) {
        random = random * 1103515245U + 12345U;
        pixel = mix(random >> 8);
    }
    return picture;
}
std::uint32_t Grey(std::uint32_t r) {
    return ((r >> 8) << 24) | (r & 0xFF) * 0x010101U;
}
std::uint32_t Colour(std::uint32_t r) {
    return r * 2654435761U;
}
// White glyph-like runs on transparent white, as an import draws them.
std::uint32_t Glyphs(std::uint32_t r) {
    return (r % 3 == 0 ? (r >> 4) << 24 : 0) | 0x00FFFFFFU;
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
        document::Image Picture;
        std::uint8_t ColourType;
    };
    document::Image oneOff = Picture(64, 64, Glyphs);
    oneOff.At(63, 63) = 0x80FFFEFF; // one pixel's green differs
    document::Image hiddenColour = *document::MakeImage(8, 8);
    hiddenColour.At(3, 3) = 0x000000FF; // invisible, but its red must survive
    const std::vector<Case> cases = {
        {"white glyphs", Picture(300, 200, Glyphs), GreyAlpha},
        {"grey levels", Picture(97, 31, Grey), GreyAlpha},
        {"fully transparent", *document::MakeImage(40, 20), GreyAlpha},
        {"1 x 1 grey", *document::MakeImage(1, 1, 0x7F3A3A3A), GreyAlpha},
        {"1 x 1 colour", *document::MakeImage(1, 1, 0x7F3A3A3B), Rgba},
        {"colour noise", Picture(123, 45, Colour), Rgba},
        {"grey but one pixel", oneOff, Rgba},
        {"colour under zero alpha", hiddenColour, Rgba},
        {"large glyphs", Picture(2048, 1536, Glyphs), GreyAlpha},
        {"large grey levels", Picture(300, 2000, Grey), GreyAlpha},
        {"rows longer than a stripe", Picture(140000, 3, Grey), GreyAlpha},
        {"large colour", Picture(1024, 1024, Colour), Rgba},
    };
    for (const Case& c : cases) {
        const auto png = testsupport::PngBytes(c.Picture);
        ASSERT_TRUE(png) << c.Name;
        ASSERT_GT(png->size(), ColourTypeOffset) << c.Name;
        EXPECT_EQ((*png)[ColourTypeOffset], c.ColourType) << c.Name;
        const base::Result<document::Image> ours = DecodePng(*png);
        ASSERT_TRUE(ours) << c.Name << ": " << ours.Error;
        EXPECT_EQ(ours.Value->Width, c.Picture.Width) << c.Name;
        EXPECT_EQ(ours.Value->Height, c.Picture.Height) << c.Name;
        EXPECT_TRUE(ours.Value->Pixels == c.Picture.Pixels) << c.Name;
        EXPECT_TRUE(DecodeWithStb(*png) == c.Picture.Pixels) << c.Name;
    }
}

TEST(PngCodec, PicturesWithoutTheirPixelsAreNotEncoded) {
    document::Image mismatched = *document::MakeImage(4, 4);
    mismatched.Pixels.resize(5); // size fields that promise more pixels than there are
    for (const document::Image& bad : {document::Image{}, *document::MakeImage(0, 5), mismatched}) {
        bool written = false;
        const base::Result<base::Done> encoded =
            StreamPng(bad, [&written](std::span<const std::uint8_t>) {
                written = true;
                return true;
            });
        EXPECT_FALSE(encoded);
        EXPECT_EQ(encoded.Error, "the picture has no pixels of its size to encode");
        EXPECT_FALSE(written);
        EXPECT_FALSE(testsupport::PngBytes(bad));
    }
}

// A write refused after `accepted` calls ends the encoding with a failure, calling it no more.
void ExpectRefusalStops(const document::Image& picture) {
    for (const int accepted : {0, 1, 2, 9}) {
        int calls = 0;
        const base::Result<base::Done> encoded =
            StreamPng(picture, [&calls, accepted](std::span<const std::uint8_t>) {
                return calls++ < accepted;
            });
        EXPECT_FALSE(encoded) << accepted;
        EXPECT_EQ(encoded.Error, "the output took no more bytes") << accepted;
        EXPECT_EQ(calls, accepted + 1) << "nothing is written after the refusal";
    }
    int calls = 0;
    EXPECT_TRUE(StreamPng(picture, [&calls](std::span<const std::uint8_t>) {
        ++calls;
        return true;
    }));
    EXPECT_GT(calls, 2);
}

TEST(PngCodec, AWriteThatRefusesStopsTheEncoding) {
    for (const document::Image& picture :
         {Picture(64, 64, Colour), Picture(64, 64, Grey), Picture(2048, 1536, Glyphs)}) {
        ExpectRefusalStops(picture);
    }
}

} // namespace
} // namespace glyfora::formats
