#include "document/BmpCodec.h"

#include <algorithm>
#include <array>
#include <bit>

namespace glyfora::document {

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

Result<Image> Refuse(std::string reason) {
    return Failure{std::move(reason)};
}

} // namespace

Result<Image> DecodeBmp(std::span<const std::uint8_t> bytes, std::uint64_t maxBytes) {
    if (bytes.size() < FileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') {
        return Refuse("not a BMP picture");
    }
    const std::uint64_t pixelOffset = U32(bytes, 10);
    const std::uint32_t headerSize = U32(bytes, FileHeaderSize);
    if (headerSize != CoreHeaderSize && (headerSize < InfoHeaderSize || headerSize > 1024)) {
        return Refuse("damaged BMP picture: unknown header size " + std::to_string(headerSize));
    }
    if (FileHeaderSize + headerSize > bytes.size()) {
        return Refuse("truncated BMP picture: the header is incomplete");
    }

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = CompressionRgb;
    const std::uint64_t h = FileHeaderSize;
    if (headerSize == CoreHeaderSize) {
        width = U16(bytes, h + 4);
        height = U16(bytes, h + 6);
        planes = U16(bytes, h + 8);
        bitsPerPixel = U16(bytes, h + 10);
    } else {
        width = S32(bytes, h + 4);
        height = S32(bytes, h + 8);
        planes = U16(bytes, h + 12);
        bitsPerPixel = U16(bytes, h + 14);
        compression = U32(bytes, h + 16);
    }
    const bool topDown = height < 0;
    if (topDown) {
        height = -height; // at most 2^31, from a 32-bit field
    }
    if (planes != 1) {
        return Refuse("damaged BMP picture: " + std::to_string(planes) + " planes");
    }
    if (width <= 0 || height <= 0) {
        return Refuse("damaged BMP picture: size " + std::to_string(width) + " x " +
                      std::to_string(height));
    }
    if (!ImageSizeAllowed(width, height, maxBytes)) {
        return Refuse(PictureTooLarge(width, height, maxBytes));
    }
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) {
        return Refuse("unsupported BMP picture: " + std::to_string(bitsPerPixel) +
                      " bits per pixel (16, 24 and 32 are read)");
    }

    // Channel masks: the defaults of BI_RGB, or those in the header or just after it.
    std::array<std::uint32_t, 4> masks{}; // red, green, blue, alpha
    if (bitsPerPixel == 16) {
        masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else {
        masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    }
    bool alphaFromFourthByte = bitsPerPixel == 32;
    if (compression == CompressionBitfields || compression == CompressionAlphaBitfields) {
        if (headerSize == Os2HeaderSize) {
            return Refuse("unsupported BMP picture: OS/2 compression");
        }
        if (bitsPerPixel == 24) {
            return Refuse("damaged BMP picture: channel masks with 24 bits per pixel");
        }
        const std::size_t maskCount = compression == CompressionAlphaBitfields ? 4 : 3;
        // A 40-byte header is followed by the masks; larger headers hold them (and alpha).
        const std::uint64_t maskOffset = h + InfoHeaderSize;
        const std::size_t stored = headerSize >= 56 ? 4 : headerSize >= 52 ? 3 : maskCount;
        if (maskOffset + 4 * std::max(stored, maskCount) > bytes.size()) {
            return Refuse("truncated BMP picture: the channel masks are missing");
        }
        for (std::size_t i = 0; i < std::max(stored, maskCount); ++i) {
            masks[i] = U32(bytes, maskOffset + 4 * i);
        }
        alphaFromFourthByte = false;
    } else if (compression != CompressionRgb) {
        return Refuse("unsupported BMP picture: compression " + std::to_string(compression));
    }
    std::array<ChannelMask, 4> channels;
    for (std::size_t i = 0; i < masks.size(); ++i) {
        const auto channel = MakeChannelMask(masks[i]);
        if (!channel) {
            return Refuse("damaged BMP picture: a channel mask is not contiguous");
        }
        channels[i] = *channel;
    }

    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    const auto rowCount = static_cast<std::uint64_t>(height);
    std::uint64_t headerEnd = FileHeaderSize + headerSize;
    if (headerSize == InfoHeaderSize && compression != CompressionRgb) {
        headerEnd += compression == CompressionAlphaBitfields ? 16 : 12; // the masks
    }
    if (pixelOffset < headerEnd) {
        return Refuse("damaged BMP picture: the pixels overlap the header");
    }
    if (pixelOffset > bytes.size() || (bytes.size() - pixelOffset) / stride < rowCount) {
        return Refuse("truncated BMP picture: the pixels end early");
    }

    auto picture = MakeImage(width, height);
    if (!picture) {
        return Refuse("not enough memory for the picture");
    }
    const std::uint32_t bytesPerPixel = bitsPerPixel / 8;
    bool anyAlpha = false;
    for (std::int64_t row = 0; row < height; ++row) {
        const std::int64_t y = topDown ? row : height - 1 - row;
        const std::uint64_t rowStart = pixelOffset + static_cast<std::uint64_t>(row) * stride;
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint64_t at = rowStart + static_cast<std::uint64_t>(x) * bytesPerPixel;
            std::uint32_t value = 0;
            if (bytesPerPixel == 2) {
                value = U16(bytes, at);
            } else if (bytesPerPixel == 3) {
                value = bytes[at] | (std::uint32_t{bytes[at + 1]} << 8) |
                        (std::uint32_t{bytes[at + 2]} << 16);
            } else {
                value = U32(bytes, at);
            }
            std::uint32_t alpha = 255;
            if (alphaFromFourthByte) {
                alpha = value >> 24;
                anyAlpha = anyAlpha || alpha != 0;
            } else if (channels[3].Mask != 0) {
                alpha = Extract(channels[3], value);
            }
            picture->At(x, y) = Extract(channels[0], value) | (Extract(channels[1], value) << 8) |
                                (Extract(channels[2], value) << 16) | (alpha << 24);
        }
    }
    if (alphaFromFourthByte && !anyAlpha) {
        for (std::uint32_t& pixel : picture->Pixels) {
            pixel |= 0xFF000000U; // the fourth byte was padding, not a transparent picture
        }
    }
    return std::move(*picture);
}

} // namespace glyfora::document
