#include "PngBytes.h"
#include "document/Pixel.h"
#include "formats/BmpCodec.h"
#include "formats/PictureFile.h"
#include "formats/PngCodec.h"

#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::formats {
namespace {

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

// How a test bitmap is laid out; pixels are given top row first as 0xAABBGGRR.
struct BmpLayout {
    std::uint32_t HeaderSize = 40;
    std::uint32_t BitsPerPixel = 32;
    std::uint32_t Compression = 0;
    bool TopDown = false;
    std::vector<std::uint32_t> Masks; // stored after a 40-byte header or inside larger ones
};

// Writes a bitmap the way the usual writers do: rows padded to 4 bytes, bottom row first unless
// top-down, pixels as B, G, R(, A) bytes or, with masks, packed by the masks.
std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout, std::int32_t width, std::int32_t height,
                                  const std::vector<std::uint32_t>& pixels) {
    const std::size_t masksAfterHeader = layout.HeaderSize == 40 ? layout.Masks.size() : 0;
    const std::size_t pixelOffset = 14 + layout.HeaderSize + 4 * masksAfterHeader;
    const std::size_t stride =
        (static_cast<std::size_t>(width) * layout.BitsPerPixel + 31) / 32 * 4;
    std::vector<std::uint8_t> bytes(pixelOffset + stride * static_cast<std::size_t>(height));
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    Put32(bytes, 10, static_cast<std::uint32_t>(pixelOffset));
    Put32(bytes, 14, layout.HeaderSize);
    Put32(bytes, 18, static_cast<std::uint32_t>(width));
    Put32(bytes, 22, static_cast<std::uint32_t>(layout.TopDown ? -height : height));
    Put16(bytes, 26, 1);
    Put16(bytes, 28, layout.BitsPerPixel);
    Put32(bytes, 30, layout.Compression);
    for (std::size_t i = 0; i < layout.Masks.size(); ++i) {
        Put32(bytes, 54 + 4 * i, layout.Masks[i]);
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t fileRow = layout.TopDown ? y : height - 1 - y;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t rgba = pixels[static_cast<std::size_t>(y * width + x)];
            const std::uint32_t r = rgba & 0xFF;
            const std::uint32_t g = (rgba >> 8) & 0xFF;
            const std::uint32_t b = (rgba >> 16) & 0xFF;
            const std::uint32_t a = document::Alpha(rgba);
            const std::size_t at = pixelOffset + static_cast<std::size_t>(fileRow) * stride +
                                   static_cast<std::size_t>(x) * layout.BitsPerPixel / 8;
            if (layout.BitsPerPixel == 16) {
                Put16(bytes, at, ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
            } else if (!layout.Masks.empty()) {
                // Test masks: red in the low byte, then green, blue, alpha (the RGBA order).
                Put32(bytes, at, rgba);
            } else {
                bytes[at] = static_cast<std::uint8_t>(b);
                bytes[at + 1] = static_cast<std::uint8_t>(g);
                bytes[at + 2] = static_cast<std::uint8_t>(r);
                if (layout.BitsPerPixel == 32) {
                    bytes[at + 3] = static_cast<std::uint8_t>(a);
                }
            }
        }
    }
    return bytes;
}

const std::vector<std::uint32_t> ThreeByTwo = {
    0x80FF0000U, 0xFF00FF00U, 0x000000FFU, // top row: half blue, green, transparent red
    0xFF102030U, 0x40A0B0C0U, 0xFFFFFFFFU,
};

std::vector<std::uint32_t> Opaque(std::vector<std::uint32_t> pixels) {
    for (std::uint32_t& pixel : pixels) {
        pixel |= 0xFF000000U;
    }
    return pixels;
}

void ExpectPicture(const base::Result<document::Image>& decoded, std::int64_t width,
                   std::int64_t height, const std::vector<std::uint32_t>& pixels) {
    ASSERT_TRUE(decoded.Value.has_value()) << decoded.Error;
    EXPECT_EQ(decoded.Value->Width, width);
    EXPECT_EQ(decoded.Value->Height, height);
    EXPECT_EQ(decoded.Value->Pixels, pixels);
}

TEST(DecodeBmp, ThirtyTwoBitsKeepAlpha) {
    ExpectPicture(DecodeBmp(MakeBmp({}, 3, 2, ThreeByTwo)), 3, 2, ThreeByTwo);
}

TEST(DecodeBmp, ThirtyTwoBitsWithoutAnyAlphaAreOpaque) {
    std::vector<std::uint32_t> noAlpha = ThreeByTwo;
    for (std::uint32_t& pixel : noAlpha) {
        pixel &= 0x00FFFFFFU;
    }
    ExpectPicture(DecodeBmp(MakeBmp({}, 3, 2, noAlpha)), 3, 2, Opaque(ThreeByTwo));
}

TEST(DecodeBmp, TwentyFourBitsArePaddedAndOpaque) {
    // Width 3 × 3 bytes = 9, padded to 12 per row.
    ExpectPicture(DecodeBmp(MakeBmp({40, 24, 0, false, {}}, 3, 2, ThreeByTwo)), 3, 2,
                  Opaque(ThreeByTwo));
}

TEST(DecodeBmp, TopDownRowsStayInOrder) {
    ExpectPicture(DecodeBmp(MakeBmp({40, 32, 0, true, {}}, 3, 2, ThreeByTwo)), 3, 2, ThreeByTwo);
    ExpectPicture(DecodeBmp(MakeBmp({40, 24, 0, true, {}}, 3, 2, ThreeByTwo)), 3, 2,
                  Opaque(ThreeByTwo));
}

TEST(DecodeBmp, BitfieldsWithMasksAfterOrInsideTheHeader) {
    const std::vector<std::uint32_t> rgbaMasks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    // BI_BITFIELDS after a 40-byte header: three masks, no alpha.
    ExpectPicture(
        DecodeBmp(MakeBmp({40, 32, 3, false, {0xFF, 0xFF00, 0xFF0000}}, 3, 2, ThreeByTwo)), 3, 2,
        Opaque(ThreeByTwo));
    // BI_ALPHABITFIELDS after a 40-byte header, and a version 5 header holding all four masks.
    ExpectPicture(DecodeBmp(MakeBmp({40, 32, 6, false, rgbaMasks}, 3, 2, ThreeByTwo)), 3, 2,
                  ThreeByTwo);
    ExpectPicture(DecodeBmp(MakeBmp({124, 32, 3, true, rgbaMasks}, 3, 2, ThreeByTwo)), 3, 2,
                  ThreeByTwo);
}

TEST(DecodeBmp, SixteenBitsScaleFiveBitChannels) {
    const std::vector<std::uint32_t> pixels = {0xFFFFFFFFU, 0xFF000000U, 0xFF0000FFU, 0xFF00FF00U};
    ExpectPicture(DecodeBmp(MakeBmp({40, 16, 0, false, {}}, 2, 2, pixels)), 2, 2, pixels);
}

TEST(DecodeBmp, DamagedAndTruncatedFilesAreRefused) {
    const std::vector<std::uint8_t> good = MakeBmp({}, 3, 2, ThreeByTwo);
    struct Damage {
        const char* What;
        std::size_t At;
        std::uint32_t Value;
        bool Wide; // 32-bit field rather than 16-bit
    };
    const Damage damages[] = {
        {"pixel offset beyond the end", 10, 1000, true},
        {"pixel offset inside the header", 10, 20, true},
        {"header size unknown", 14, 20, true},
        {"header larger than the file", 14, 1000, true},
        {"zero width", 18, 0, true},
        {"negative width", 18, 0xFFFFFFFD, true},
        {"zero height", 22, 0, true},
        {"height beyond the pixels", 22, 3, true},
        {"huge top-down height", 22, 0x80000000, true},
        {"huge size", 18, 0x7FFFFFFF, true},
        {"two planes", 26, 2, false},
        {"8 bits per pixel", 28, 8, false},
        {"0 bits per pixel", 28, 0, false},
        {"run-length compression", 30, 1, true},
        {"bitfields whose masks are missing", 30, 3, true},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.What);
        std::vector<std::uint8_t> bytes = good;
        if (damage.Wide) {
            Put32(bytes, damage.At, damage.Value);
        } else {
            Put16(bytes, damage.At, damage.Value);
        }
        const base::Result<document::Image> decoded = DecodeBmp(bytes);
        EXPECT_FALSE(decoded.Value.has_value());
        EXPECT_FALSE(decoded.Error.empty());
    }
    // Every truncation of a good file is refused, never read past its end.
    for (std::size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        const std::vector<std::uint8_t> cut(good.begin(),
                                            good.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(DecodeBmp(cut).Value.has_value());
    }
}

TEST(DecodeBmp, NonContiguousMasksAreRefused) {
    const base::Result<document::Image> decoded =
        DecodeBmp(MakeBmp({40, 32, 3, false, {0x0F0F, 0xF0F0, 0xFF0000}}, 1, 1, {0}));
    EXPECT_FALSE(decoded.Value.has_value());
    EXPECT_FALSE(decoded.Error.empty());
}

TEST(DecodePicture, TellsPngAndBmpApartByContent) {
    document::Image picture = *document::MakeImage(2, 1);
    picture.Pixels = {0x80FF0000U, 0xFF00FF00U};
    const auto png = testsupport::PngBytes(picture);
    ASSERT_TRUE(png.has_value());
    const base::Result<document::Image> fromPng = DecodePicture(*png);
    ASSERT_TRUE(fromPng.Value.has_value()) << fromPng.Error;
    EXPECT_EQ(fromPng.Value->Pixels, picture.Pixels);

    const base::Result<document::Image> fromBmp = DecodePicture(MakeBmp({}, 2, 1, picture.Pixels));
    ASSERT_TRUE(fromBmp.Value.has_value()) << fromBmp.Error;
    EXPECT_EQ(fromBmp.Value->Pixels, picture.Pixels);

    for (const std::vector<std::uint8_t>& bytes :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'G', 'I', 'F', '8'},
          std::vector<std::uint8_t>(png->begin(), png->begin() + 20)}) {
        const base::Result<document::Image> loaded = DecodePicture(bytes);
        EXPECT_FALSE(loaded.Value.has_value());
        EXPECT_FALSE(loaded.Error.empty());
    }
}

std::string TestData(const std::string& name) {
    const char* folder = std::getenv("GLYFORA_TEST_DATA");
    return std::string(folder != nullptr ? folder : GLYFORA_TEST_DATA_FALLBACK) + "/" + name;
}

// Pictures written by another program (ImageMagick): a version 5 header with an alpha mask, and a
// plain 24-bit file, against the PNG they were made from.
TEST(LoadPictureFile, BmpFilesFromAnotherWriterMatchTheirPng) {
    const base::Result<document::Image> png = LoadPictureFile(TestData("picture-3x2.png"));
    ASSERT_TRUE(png.Value.has_value()) << png.Error;
    const std::uint32_t halfAlpha =
        document::Alpha(png.Value->At(0, 0)); // the source has partial alpha
    ASSERT_GT(halfAlpha, 0U);
    ASSERT_LT(halfAlpha, 255U);

    const base::Result<document::Image> withAlpha =
        LoadPictureFile(TestData("picture-3x2-alpha.bmp"));
    ASSERT_TRUE(withAlpha.Value.has_value()) << withAlpha.Error;
    EXPECT_EQ(withAlpha.Value->Pixels, png.Value->Pixels);

    const base::Result<document::Image> opaque = LoadPictureFile(TestData("picture-3x2.bmp"));
    ASSERT_TRUE(opaque.Value.has_value()) << opaque.Error;
    ASSERT_EQ(opaque.Value->Pixels.size(), png.Value->Pixels.size());
    for (std::size_t i = 0; i < png.Value->Pixels.size(); ++i) {
        // Without alpha each pixel is opaque; ImageMagick keeps the colour underneath.
        EXPECT_EQ(opaque.Value->Pixels[i], png.Value->Pixels[i] | 0xFF000000U) << i;
    }
}

TEST(ImportCharacterSetPicture, ReplacesThePictureButNotTheMetrics) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::SetCharacterSetImage(typeface, document::MakeImage(4, 4, 0xFF0000FFU));
    document::Character& a = document::AddCharacter(typeface, 65);
    a.Source = {1, 1, 2, 2};
    ASSERT_EQ(ImportCharacterSetPicture(typeface, TestData("picture-3x2-alpha.bmp")).Error, "");
    EXPECT_EQ(typeface.Content.Image->Width, 3);
    ASSERT_NE(typeface.Content.Sprite, nullptr);
    EXPECT_EQ(typeface.Content.Sprite->Pixels, typeface.Content.Image->Pixels);
    ASSERT_NE(document::FlippedSprite(typeface.Content), nullptr);
    EXPECT_EQ(document::FlippedSprite(typeface.Content)->At(0, 1),
              typeface.Content.Image->At(0, 0));
    EXPECT_EQ(document::FindCharacter(typeface, 65)->Source, (document::Rect64{1, 1, 2, 2}));
    EXPECT_TRUE(typeface.Modified);
}

TEST(ImportCharacterSetPicture, KeepsTheCurrentPictureWhenTheFileCannotBeLoaded) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::SetCharacterSetImage(typeface, document::MakeImage(4, 4, 0xFF0000FFU));
    const document::Sprite sprite = typeface.Content.Sprite;
    const base::Result<base::Done> imported =
        ImportCharacterSetPicture(typeface, "no-such-folder/no-such-picture.png");
    EXPECT_FALSE(imported.Error.empty());
    EXPECT_EQ(typeface.Content.Sprite, sprite);
    EXPECT_EQ(typeface.Content.Image->Width, 4);
    EXPECT_FALSE(typeface.Modified);
}

} // namespace
} // namespace glyfora::formats
