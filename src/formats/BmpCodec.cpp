#include "formats/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>

namespace glyfora::formats {

namespace {

constexpr std::uint64_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t Os2HeaderSize = 64; // its compression codes mean something else
constexpr std::uint32_t CompressionRgb = 0;
constexpr std::uint32_t CompressionBitfields = 3;
constexpr std::uint32_t CompressionAlphaBitfields = 6;

// Little-endian reads; callers have checked that offset + width lies within bytes.
std::uint32_t U16(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
    return bytes[offset] | (std::uint32_t{bytes[offset + 1]} << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
    return bytes[offset] | (std::uint32_t{bytes[offset + 1]} << 8) |
           (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
}

std::int64_t S32(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
    return static_cast<std::int32_t>(U32(bytes, offset));
}

// One channel described by a mask: where it starts and its largest value.
struct ChannelMask {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Maximum = 0;
};

// None for masks whose bits are not one contiguous run (zero is a valid, absent channel).
std::optional<ChannelMask> MakeChannelMask(std::uint32_t mask) {
    ChannelMask channel;
    channel.Mask = mask;
    if (mask == 0) {
        return channel;
    }
    channel.Shift = std::countr_zero(mask);
    channel.Maximum = mask >> channel.Shift;
    if ((channel.Maximum & (channel.Maximum + 1)) != 0) {
        return std::nullopt;
    }
    return channel;
}

std::uint32_t Extract(const ChannelMask& channel, std::uint32_t value) {
    if (channel.Mask == 0) {
        return 0;
    }
    const std::uint64_t raw = (value & channel.Mask) >> channel.Shift;
    return static_cast<std::uint32_t>((raw * 255 + channel.Maximum / 2) / channel.Maximum);
}

// What the file and info headers say.
struct BmpHeader {
    std::uint64_t PixelOffset = 0;
    std::uint32_t Size = 0; // of the info header
    std::int64_t Width = 0;
    std::int64_t Height = 0; // positive; TopDown tells the row order
    bool TopDown = false;
    std::uint32_t Planes = 0;
    std::uint32_t BitsPerPixel = 0;
    std::uint32_t Compression = CompressionRgb;
};

// How a pixel value becomes RGBA.
struct PixelFormat {
    std::array<ChannelMask, 4> Channels; // red, green, blue, alpha
    bool AlphaFromFourthByte = false;
};

base::Result<base::Done> ReadHeader(std::span<const std::uint8_t> bytes, BmpHeader& header) {
    if (bytes.size() < FileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
        return base::Failure{"not a BMP picture"};
    }
    header.PixelOffset = U32(bytes, 10);
    header.Size = U32(bytes, FileHeaderSize);
    if (header.Size != CoreHeaderSize && (header.Size < InfoHeaderSize || header.Size > 1024)) {
        return base::Failure{"damaged BMP picture: unknown header size " +
                             std::to_string(header.Size)};
    }
    if (FileHeaderSize + header.Size > bytes.size()) {
        return base::Failure{"truncated BMP picture: the header is incomplete"};
    }
    const std::uint64_t h = FileHeaderSize;
    if (header.Size == CoreHeaderSize) {
        header.Width = U16(bytes, h + 4);
        header.Height = U16(bytes, h + 6);
        header.Planes = U16(bytes, h + 8);
        header.BitsPerPixel = U16(bytes, h + 10);
    } else {
        header.Width = S32(bytes, h + 4);
        header.Height = S32(bytes, h + 8);
        header.Planes = U16(bytes, h + 12);
        header.BitsPerPixel = U16(bytes, h + 14);
        header.Compression = U32(bytes, h + 16);
    }
    header.TopDown = header.Height < 0;
    if (header.TopDown) {
        header.Height = -header.Height; // at most 2^31, from a 32-bit field
    }
    return base::Done{};
}

base::Result<base::Done> CheckPictureSize(const BmpHeader& header, std::uint64_t maxBytes) {
    if (header.Planes != 1) {
        return base::Failure{"damaged BMP picture: " + std::to_string(header.Planes) + " planes"};
    }
    if (header.Width <= 0 || header.Height <= 0) {
        return base::Failure{"damaged BMP picture: size " + std::to_string(header.Width) + " x " +
                             std::to_string(header.Height)};
    }
    if (!document::ImageSizeAllowed(header.Width, header.Height, maxBytes)) {
        return base::Failure{document::PictureTooLarge(header.Width, header.Height, maxBytes)};
    }
    if (header.BitsPerPixel != 16 && header.BitsPerPixel != 24 && header.BitsPerPixel != 32) {
        return base::Failure{"unsupported BMP picture: " + std::to_string(header.BitsPerPixel) +
                             " bits per pixel (16, 24 and 32 are read)"};
    }
    return base::Done{};
}

// Channel masks: the defaults of BI_RGB, or those in the header or just after it.
base::Result<base::Done> ReadPixelFormat(std::span<const std::uint8_t> bytes,
                                         const BmpHeader& header, PixelFormat& format) {
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
    if (header.BitsPerPixel == 16) {
        masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else {
        masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    }
    format.AlphaFromFourthByte = header.BitsPerPixel == 32;
    const std::uint32_t compression = header.Compression;
    if (compression == CompressionBitfields || compression == CompressionAlphaBitfields) {
        if (header.Size == Os2HeaderSize) {
            return base::Failure{"unsupported BMP picture: OS/2 compression"};
        }
        if (header.BitsPerPixel == 24) {
            return base::Failure{"damaged BMP picture: channel masks with 24 bits per pixel"};
        }
        const std::size_t maskCount = compression == CompressionAlphaBitfields ? 4 : 3;
        // A 40-byte header is followed by the masks; larger headers hold them (and alpha).
        const std::uint64_t maskOffset = FileHeaderSize + InfoHeaderSize;
        const std::size_t stored = header.Size >= 56 ? 4 : header.Size >= 52 ? 3 : maskCount;
        if (maskOffset + 4 * std::max(stored, maskCount) > bytes.size()) {
            return base::Failure{"truncated BMP picture: the channel masks are missing"};
        }
        for (std::size_t i = 0; i < std::max(stored, maskCount); ++i) {
            masks[i] = U32(bytes, maskOffset + 4 * i);
        }
        format.AlphaFromFourthByte = false;
    } else if (compression != CompressionRgb) {
        return base::Failure{"unsupported BMP picture: compression " + std::to_string(compression)};
    }
    for (std::size_t i = 0; i < masks.size(); ++i) {
        const auto channel = MakeChannelMask(masks[i]);
        if (!channel) {
            return base::Failure{"damaged BMP picture: a channel mask is not contiguous"};
        }
        format.Channels[i] = *channel;
    }
    return base::Done{};
}

// Bytes per row of pixels, padded to whole 32-bit words.
std::uint64_t RowStride(const BmpHeader& header) {
    return (static_cast<std::uint64_t>(header.Width) * header.BitsPerPixel + 31) / 32 * 4;
}

base::Result<base::Done> CheckPixelRange(std::span<const std::uint8_t> bytes,
                                         const BmpHeader& header) {
    const std::uint64_t stride = RowStride(header);
    const auto rowCount = static_cast<std::uint64_t>(header.Height);
    std::uint64_t headerEnd = FileHeaderSize + header.Size;
    if (header.Size == InfoHeaderSize && header.Compression != CompressionRgb) {
        headerEnd += header.Compression == CompressionAlphaBitfields ? 16 : 12; // the masks
    }
    if (header.PixelOffset < headerEnd) {
        return base::Failure{"damaged BMP picture: the pixels overlap the header"};
    }
    if (header.PixelOffset > bytes.size() ||
        (bytes.size() - header.PixelOffset) / stride < rowCount) {
        return base::Failure{"truncated BMP picture: the pixels end early"};
    }
    return base::Done{};
}

std::uint32_t PixelValue(std::span<const std::uint8_t> bytes, std::uint64_t at,
                         std::uint32_t bytesPerPixel) {
    if (bytesPerPixel == 2) {
        return U16(bytes, at);
    }
    if (bytesPerPixel == 3) {
        return bytes[at] | (std::uint32_t{bytes[at + 1]} << 8) |
               (std::uint32_t{bytes[at + 2]} << 16);
    }
    return U32(bytes, at);
}

// Converts the rows, which CheckPixelRange found within bytes, to RGBA from the top down into
// target from row top on.
void DecodePixels(std::span<const std::uint8_t> bytes, const BmpHeader& header,
                  const PixelFormat& format, document::Image& target, std::int64_t top) {
    const std::uint64_t stride = RowStride(header);
    const std::uint32_t bytesPerPixel = header.BitsPerPixel / 8;
    const std::array<ChannelMask, 4>& channels = format.Channels;
    bool anyAlpha = false;
    for (std::int64_t row = 0; row < header.Height; ++row) {
        const std::int64_t y = top + (header.TopDown ? row : header.Height - 1 - row);
        const std::uint64_t rowStart =
            header.PixelOffset + static_cast<std::uint64_t>(row) * stride;
        for (std::int64_t x = 0; x < header.Width; ++x) {
            const std::uint32_t value = PixelValue(
                bytes, rowStart + static_cast<std::uint64_t>(x) * bytesPerPixel, bytesPerPixel);
            std::uint32_t alpha = 255;
            if (format.AlphaFromFourthByte) {
                alpha = value >> 24;
                anyAlpha = anyAlpha || alpha != 0;
            } else if (channels[3].Mask != 0) {
                alpha = Extract(channels[3], value);
            }
            target.At(x, y) = Extract(channels[0], value) | (Extract(channels[1], value) << 8) |
                              (Extract(channels[2], value) << 16) | (alpha << 24);
        }
    }
    if (format.AlphaFromFourthByte && !anyAlpha) {
        for (std::int64_t y = top; y < top + header.Height; ++y) {
            for (std::int64_t x = 0; x < header.Width; ++x) {
                target.At(x, y) |= 0xFF000000U; // the fourth byte was padding, not transparency
            }
        }
    }
}

// Reads and checks everything but the pixels.
base::Result<base::Done> ReadBmp(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes,
                                 BmpHeader& header, PixelFormat& format) {
    if (base::Result<base::Done> step = ReadHeader(bytes, header); !step) {
        return step;
    }
    if (base::Result<base::Done> step = CheckPictureSize(header, maxBytes); !step) {
        return step;
    }
    if (base::Result<base::Done> step = ReadPixelFormat(bytes, header, format); !step) {
        return step;
    }
    return CheckPixelRange(bytes, header);
}

} // namespace

base::Result<document::Image> DecodeBmp(std::span<const std::uint8_t> bytes,
                                        std::uint64_t maxBytes) {
    BmpHeader header;
    PixelFormat format;
    if (base::Result<base::Done> read = ReadBmp(bytes, maxBytes, header, format); !read) {
        return base::Failure{std::move(read.Error)};
    }
    auto picture = document::MakeImage(header.Width, header.Height);
    if (!picture) {
        return base::Failure{"not enough memory for the picture"};
    }
    DecodePixels(bytes, header, format, *picture, 0);
    return std::move(*picture);
}

base::Result<base::Done> DecodeBmpInto(std::span<const std::uint8_t> bytes, document::Image& target,
                                       std::int64_t top) {
    BmpHeader header;
    PixelFormat format;
    if (base::Result<base::Done> read = ReadBmp(bytes, document::MaxImageBytes, header, format);
        !read) {
        return read;
    }
    if (top < 0 || header.Width > target.Width || header.Height > target.Height - top) {
        return base::Failure{"the picture's size " + std::to_string(header.Width) + " x " +
                             std::to_string(header.Height) +
                             " is not the size its header first gave"};
    }
    DecodePixels(bytes, header, format, target, top);
    return base::Done{};
}

base::Result<document::PictureSize> ReadBmpSize(std::span<const std::uint8_t> head) {
    BmpHeader header;
    if (base::Result<base::Done> step = ReadHeader(head, header); !step) {
        return base::Failure{std::move(step.Error)};
    }
    if (base::Result<base::Done> step = CheckPictureSize(header, document::MaxImageBytes); !step) {
        return base::Failure{std::move(step.Error)};
    }
    return document::PictureSize{header.Width, header.Height};
}

} // namespace glyfora::formats
