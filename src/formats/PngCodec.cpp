#include "formats/PngCodec.h"

#include "document/Pixel.h"

#include <algorithm>
#include <csetjmp>
#include <limits>
#include <new>
#include <png.h>
#include <zlib.h>

namespace glyfora::formats {
namespace {

// Settings for grey + alpha pictures, chosen by measuring imported character sets (see
// docs/architecture.md): rows unfiltered, because a glyph's antialiased edge repeats exactly
// elsewhere in the picture while its differences to the neighbouring row do not; zlib level 4
// with the strategy for filtered data. Smaller than any other filter even at level 9; level 4
// gives up 4% of size against level 6 for a quarter less import time, deflating being most of it.
constexpr int GreyFilters = PNG_FILTER_NONE;
constexpr int GreyLevel = 4;
constexpr int GreyStrategy = Z_FILTERED;

// Where the encoded bytes go, and whether taking them failed.
struct PngSink {
    const PngOutput* Write = nullptr;
    bool Failed = false;
};

void WriteToSink(png_structp png, png_bytep data, png_size_t size) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    try {
        sink->Failed = !(*sink->Write)(std::span<const std::uint8_t>(data, size));
    } catch (const std::bad_alloc&) {
        sink->Failed = true;
    }
    // Outside the handler: libpng leaves through longjmp, which must not skip a C++ frame that
    // still owns something.
    if (sink->Failed) {
        png_error(png, "the output took no more bytes");
    }
}

void FlushSink(png_structp) {}

// libpng would print its messages; the caller reports a failure in its own words.
[[noreturn]] void StopWriting(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// True when every pixel's red, green and blue are equal: the picture then loses nothing as grey +
// alpha, half the bytes of RGBA. Imported character sets are white glyphs on transparent white.
bool IsGreyPicture(const document::Image& image) {
    return std::all_of(image.Pixels.begin(), image.Pixels.end(), [](std::uint32_t pixel) {
        return document::Red(pixel) == document::Green(pixel) &&
               document::Green(pixel) == document::Blue(pixel);
    });
}

// One row of grey + alpha pairs from a row of RGBA pixels.
void ToGreyAlpha(const std::uint32_t* row, std::int64_t width, std::uint8_t* out) {
    for (std::int64_t x = 0; x < width; ++x) {
        out[2 * x] = static_cast<std::uint8_t>(document::Red(row[x]));
        out[2 * x + 1] = static_cast<std::uint8_t>(document::Alpha(row[x]));
    }
}

// Writes the picture row by row, converting each grey row into greyRow, so no second picture is
// ever held. Only plain values live in this frame, as libpng reports errors through longjmp.
bool WriteRows(png_structp png, png_infop info, const document::Image& image,
               std::uint8_t* greyRow) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    const auto width = static_cast<png_uint_32>(image.Width);
    const auto height = static_cast<png_uint_32>(image.Height);
    png_set_IHDR(png, info, width, height, 8,
                 greyRow ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Pixels are sRGB values, as they were when libpng's simplified writer stored them.
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    if (greyRow) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, GreyFilters);
        png_set_compression_level(png, GreyLevel);
        png_set_compression_strategy(png, GreyStrategy);
    }
    png_write_info(png, info);
    for (png_uint_32 y = 0; y < height; ++y) {
        const std::uint32_t* row = image.Pixels.data() + static_cast<std::size_t>(y) * width;
        if (greyRow) {
            ToGreyAlpha(row, image.Width, greyRow);
            png_write_row(png, greyRow);
        } else {
            png_write_row(png, reinterpret_cast<png_const_bytep>(row));
        }
    }
    png_write_end(png, info);
    return true;
}

// Reads the header of a PNG in memory into png, asking for RGBA8 pixels.
base::Result<base::Done> BeginPng(png_image& png, std::span<const std::uint8_t> bytes) {
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()) == 0) {
        return base::Failure{std::string("not a readable PNG picture: ") + png.message};
    }
    png.format = PNG_FORMAT_RGBA;
    return base::Done{};
}

// Decodes the pixels of a begun PNG into rows strideInPixels apart, and frees png.
base::Result<base::Done> FinishPng(png_image& png, std::uint32_t* firstRow,
                                   std::int64_t strideInPixels) {
    // libpng counts the stride in components (four per pixel) as a 32-bit number.
    if (strideInPixels > std::numeric_limits<png_int_32>::max() / 4) {
        png_image_free(&png);
        return base::Failure{"the picture's rows are too long to decode"};
    }
    if (png_image_finish_read(&png, nullptr, firstRow, static_cast<png_int_32>(strideInPixels * 4),
                              nullptr) == 0) {
        base::Failure failure{std::string("damaged PNG picture: ") + png.message};
        png_image_free(&png);
        return failure;
    }
    return base::Done{};
}

} // namespace

static_assert(MaxPngSide == PNG_USER_WIDTH_MAX && MaxPngSide == PNG_USER_HEIGHT_MAX,
              "the limit named to users is libpng's");

base::Result<document::Image> DecodePng(std::span<const std::uint8_t> bytes,
                                        std::uint64_t maxBytes) {
    png_image png{};
    if (base::Result<base::Done> begun = BeginPng(png, bytes); !begun) {
        return base::Failure{std::move(begun.Error)};
    }
    if (!document::ImageSizeAllowed(png.width, png.height, maxBytes)) {
        png_image_free(&png);
        return base::Failure{document::PictureTooLarge(png.width, png.height, maxBytes)};
    }
    auto picture = document::MakeImage(png.width, png.height);
    if (!picture) {
        png_image_free(&png);
        return base::Failure{"not enough memory for the picture"};
    }
    if (base::Result<base::Done> read = FinishPng(png, picture->Pixels.data(), picture->Width);
        !read) {
        return base::Failure{std::move(read.Error)};
    }
    return std::move(*picture);
}

base::Result<base::Done> DecodePngInto(std::span<const std::uint8_t> bytes, document::Image& target,
                                       std::int64_t top) {
    png_image png{};
    if (base::Result<base::Done> begun = BeginPng(png, bytes); !begun) {
        return begun;
    }
    if (top < 0 || png.width > target.Width || png.height > target.Height - top) {
        png_image_free(&png);
        return base::Failure{"the picture's size " + std::to_string(png.width) + " x " +
                             std::to_string(png.height) + " is not the size its header first gave"};
    }
    return FinishPng(png, target.Pixels.data() + top * target.Width, target.Width);
}

base::Result<base::Done> CheckPngSize(std::int64_t width, std::int64_t height) {
    if (width > MaxPngSide || height > MaxPngSide) {
        return base::Failure{"a PNG picture is at most " + std::to_string(MaxPngSide) +
                             " pixels wide and high, not " + std::to_string(width) + " x " +
                             std::to_string(height)};
    }
    return base::Done{};
}

base::Result<base::Done> StreamPng(const document::Image& image, const PngOutput& write) {
    if (image.Width <= 0 || image.Height <= 0 || image.Width > PNG_UINT_31_MAX ||
        image.Height > PNG_UINT_31_MAX ||
        image.Pixels.size() != static_cast<std::size_t>(image.Width * image.Height)) {
        return base::Failure{"the picture has no pixels of its size to encode"};
    }
    std::vector<std::uint8_t> greyRow;
    try {
        if (IsGreyPicture(image)) {
            greyRow.resize(static_cast<std::size_t>(image.Width) * 2);
        }
    } catch (const std::bad_alloc&) {
        return base::Failure{"there is not enough memory to encode the picture"};
    }
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, StopWriting, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return base::Failure{"libpng could not start encoding"};
    }
    PngSink sink{&write};
    png_set_write_fn(png, &sink, WriteToSink, FlushSink);
    const bool written = WriteRows(png, info, image, greyRow.empty() ? nullptr : greyRow.data());
    png_destroy_write_struct(&png, &info);
    if (!written) {
        return base::Failure{sink.Failed ? "the output took no more bytes"
                                         : "libpng could not encode the picture"};
    }
    return base::Done{};
}

} // namespace glyfora::formats
