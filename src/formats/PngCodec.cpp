#include "formats/PngCodec.h"

#include "document/Pixel.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <limits>
#include <new>
#include <png.h>
#include <system_error>
#include <thread>
#include <vector>
#include <zlib.h>

namespace glyfora::formats {
namespace {

// Settings for white glyphs with alpha, chosen by measuring imported character sets (see
// docs/architecture.md): rows unfiltered, because a glyph's antialiased edge repeats exactly
// elsewhere in the picture while its differences to the neighbouring row do not; zlib level 4
// with the strategy for filtered data. Smaller than any other filter even at level 9; level 4
// gives up 4% of size against level 6 for a quarter less import time, deflating being most of it.
constexpr int WhiteLevel = 4;
constexpr int Strategy = Z_FILTERED;
// Pictures whose grey varies as well, or in colour (outlines, shadows, fills, distance fields),
// are 2 to 2.5 times the area of the plain glyphs and find fewer repeats: level 4 would take 70%
// longer than level 2 to save 12% of their size, and their saving alone longer than the whole
// plain import. Their rows are unfiltered too, for the same reason as the plain glyphs'.
constexpr int PaintedLevel = 2;

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

// What a picture's pixels need: white with any alpha is what imports draw; grey keeps red, green
// and blue equal, so grey + alpha loses nothing and takes half the bytes of RGBA.
enum class PictureColours { White, Grey, Colour };

PictureColours ColoursOf(const document::Image& image) {
    bool white = true;
    for (const std::uint32_t pixel : image.Pixels) {
        const std::uint32_t red = document::Red(pixel);
        if (red != document::Green(pixel) || red != document::Blue(pixel)) {
            return PictureColours::Colour;
        }
        white = white && red == 255;
    }
    return white ? PictureColours::White : PictureColours::Grey;
}

// One row of grey + alpha pairs from a row of RGBA pixels.
void ToGreyAlpha(const std::uint32_t* row, std::int64_t width, std::uint8_t* out) {
    for (std::int64_t x = 0; x < width; ++x) {
        out[2 * x] = static_cast<std::uint8_t>(document::Red(row[x]));
        out[2 * x + 1] = static_cast<std::uint8_t>(document::Alpha(row[x]));
    }
}

// Rows are deflated in stripes, several at once. Each stripe takes the bytes
// before it as its dictionary and ends on a byte boundary (a sync flush), so that the stripes
// joined are one zlib stream, as small as one deflated in a single pass within a few bytes per
// stripe. Stripes are cut by bytes, not by processors, so the file is the same on every machine.
constexpr std::size_t StripeBytes = std::size_t{1} << 18;
constexpr std::size_t WindowBytes = std::size_t{1} << 15; // deflate's window, 32 KiB
constexpr int StripeThreads = 8;

// The bytes a row takes in the PNG: its filter byte, then grey + alpha pairs or RGBA pixels.
std::int64_t RowBytes(const document::Image& image, bool grey) {
    return image.Width * (grey ? 2 : 4) + 1;
}

// The bytes of rows [from, to) as PNG stores them, each row unfiltered.
void AppendRows(const document::Image& image, bool grey, std::int64_t from, std::int64_t to,
                std::vector<std::uint8_t>& out) {
    const auto rowBytes = static_cast<std::size_t>(RowBytes(image, grey));
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(to - from) * rowBytes);
    for (std::int64_t y = from; y < to; ++y, at += rowBytes) {
        out[at] = PNG_FILTER_VALUE_NONE;
        const std::uint32_t* row = image.Pixels.data() + y * image.Width;
        if (grey) {
            ToGreyAlpha(row, image.Width, out.data() + at + 1);
        } else {
            // Pixels hold red in their lowest byte: in memory they are RGBA already.
            std::memcpy(out.data() + at + 1, row, rowBytes - 1);
        }
    }
}

// One worker's stripe and what it keeps from one wave to the next: its buffers and its deflate
// state, so that memory is taken once and not again for every stripe.
struct Stripe {
    std::int64_t FirstRow = 0, EndRow = 0;
    std::vector<std::uint8_t> Raw;
    // Deflated bytes from ZlibHeaderBytes on, with room before them for the stream's header and
    // after them for its checksum.
    std::vector<std::uint8_t> Deflated;
    std::size_t DeflatedBytes = 0;
    uLong Adler = 0;
    std::size_t RawBytes = 0;
    bool Ok = false;
    z_stream Z{};
    bool ZReady = false;

    Stripe() = default;
    Stripe(const Stripe&) = delete;
    Stripe& operator=(const Stripe&) = delete;
    ~Stripe() {
        if (ZReady) {
            deflateEnd(&Z);
        }
    }
};

constexpr std::size_t ZlibHeaderBytes = 2;
constexpr std::size_t AdlerBytes = 4;

// Deflates one stripe's rows after the window of bytes before them; the last one finishes the
// stream.
void DeflateStripe(const document::Image& image, bool grey, int level, bool last, Stripe& stripe) {
    const std::int64_t rowBytes = RowBytes(image, grey);
    const std::int64_t windowRows = std::min(
        stripe.FirstRow, (static_cast<std::int64_t>(WindowBytes) + rowBytes - 1) / rowBytes);
    stripe.Ok = false;
    try {
        stripe.Raw.clear();
        AppendRows(image, grey, stripe.FirstRow - windowRows, stripe.EndRow, stripe.Raw);
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!stripe.ZReady) {
        stripe.ZReady = deflateInit2(&stripe.Z, level, Z_DEFLATED, -MAX_WBITS, 8, Strategy) == Z_OK;
    } else {
        deflateReset(&stripe.Z);
    }
    if (!stripe.ZReady) {
        return;
    }
    z_stream& z = stripe.Z;
    const auto start = static_cast<std::size_t>(windowRows * rowBytes);
    const std::size_t dictionary = std::min(WindowBytes, start);
    if (dictionary > 0) {
        deflateSetDictionary(&z, stripe.Raw.data() + start - dictionary,
                             static_cast<uInt>(dictionary));
    }
    stripe.RawBytes = stripe.Raw.size() - start;
    stripe.Adler = adler32(adler32(0, nullptr, 0), stripe.Raw.data() + start,
                           static_cast<uInt>(stripe.RawBytes));
    // A sync flush adds an empty stored block to the bound of a finished stream.
    const std::size_t room = deflateBound(&z, static_cast<uLong>(stripe.RawBytes)) + 16;
    try {
        stripe.Deflated.resize(ZlibHeaderBytes + room + AdlerBytes);
    } catch (const std::bad_alloc&) {
        return;
    }
    z.next_in = stripe.Raw.data() + start;
    z.avail_in = static_cast<uInt>(stripe.RawBytes);
    z.next_out = stripe.Deflated.data() + ZlibHeaderBytes;
    z.avail_out = static_cast<uInt>(room);
    const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    stripe.Ok =
        (last ? result == Z_STREAM_END : result == Z_OK) && z.avail_in == 0 && z.avail_out > 0;
    stripe.DeflatedBytes = room - z.avail_out;
}

// The zlib stream's two leading bytes: deflate with a 32 KiB window, the level's speed class
// and the check that makes them a multiple of 31.
std::array<std::uint8_t, 2> ZlibHeader(int level) {
    constexpr unsigned Cmf = 0x78;
    const unsigned speed = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    const unsigned flags = speed << 6;
    return {static_cast<std::uint8_t>(Cmf),
            static_cast<std::uint8_t>(flags + (31 - (Cmf * 256 + flags) % 31) % 31)};
}

// Writes one chunk through libpng, which frames it and adds its checksum. Only plain values live
// in this frame, as libpng reports errors through longjmp.
bool WriteChunk(png_structp png, const char* name, const std::uint8_t* data, std::size_t size) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(name), data, size);
    return true;
}

// Writes the header chunks: the size and colour type, and that pixels are sRGB values, as they
// were when libpng's simplified writer stored them.
bool WriteHeader(png_structp png, png_infop info, const document::Image& image, bool grey) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width),
                 static_cast<png_uint_32>(image.Height), 8,
                 grey ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    return true;
}

// The picture's rows as IDAT chunks, deflated a wave of stripes at a time so that only those are
// held, and the end chunk.
bool WriteRows(png_structp png, const document::Image& image, bool grey, int level) {
    const std::int64_t rowBytes = RowBytes(image, grey);
    const std::int64_t stripeRows =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(StripeBytes) / rowBytes);
    const int threads =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, StripeThreads);
    std::vector<Stripe> stripes(static_cast<std::size_t>(threads));
    uLong adler = adler32(0, nullptr, 0);
    for (std::int64_t wave = 0; wave < image.Height; wave += stripeRows * threads) {
        std::size_t used = 0;
        for (std::int64_t row = wave; row < image.Height && used < stripes.size();
             row += stripeRows, ++used) {
            stripes[used].FirstRow = row;
            stripes[used].EndRow = std::min(image.Height, row + stripeRows);
        }
        {
            std::vector<std::jthread> workers;
            for (std::size_t i = 1; i < used; ++i) {
                const auto deflate = [&image, &stripes, i, grey, level] {
                    DeflateStripe(image, grey, level, stripes[i].EndRow == image.Height,
                                  stripes[i]);
                };
                try {
                    workers.emplace_back(deflate);
                } catch (const std::system_error&) {
                    deflate(); // no thread to be had: this one does it
                }
            }
            DeflateStripe(image, grey, level, stripes[0].EndRow == image.Height, stripes[0]);
        }
        for (std::size_t i = 0; i < used; ++i) {
            Stripe& stripe = stripes[i];
            if (!stripe.Ok) {
                return false;
            }
            adler = adler32_combine(adler, stripe.Adler, static_cast<z_off_t>(stripe.RawBytes));
            std::uint8_t* from = stripe.Deflated.data() + ZlibHeaderBytes;
            std::size_t size = stripe.DeflatedBytes;
            if (stripe.FirstRow == 0) {
                const std::array<std::uint8_t, ZlibHeaderBytes> header = ZlibHeader(level);
                from -= ZlibHeaderBytes;
                std::copy(header.begin(), header.end(), from);
                size += ZlibHeaderBytes;
            }
            if (stripe.EndRow == image.Height) {
                for (const int shift : {24, 16, 8, 0}) {
                    from[size++] = static_cast<std::uint8_t>(adler >> shift);
                }
            }
            if (!WriteChunk(png, "IDAT", from, size)) {
                return false;
            }
        }
    }
    return WriteChunk(png, "IEND", nullptr, 0);
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
    const PictureColours colours = ColoursOf(image);
    const bool grey = colours != PictureColours::Colour;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, StopWriting, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return base::Failure{"libpng could not start encoding"};
    }
    PngSink sink{&write};
    png_set_write_fn(png, &sink, WriteToSink, FlushSink);
    bool written = false;
    try {
        written = WriteHeader(png, info, image, grey) &&
                  WriteRows(png, image, grey,
                            colours == PictureColours::White ? WhiteLevel : PaintedLevel);
    } catch (const std::bad_alloc&) {
        written = false;
    }
    png_destroy_write_struct(&png, &info);
    if (!written) {
        return base::Failure{sink.Failed ? "the output took no more bytes"
                                         : "libpng could not encode the picture"};
    }
    return base::Done{};
}

} // namespace glyfora::formats
