// The binary variant, version 3: "BMF", the version byte, then blocks of a type byte, a 32-bit
// payload size and the payload. All numbers are little-endian.

#include "formats/bmfont/BmFontModel.h"

#include <algorithm>
#include <string_view>

namespace glyfora::formats {

namespace {

constexpr std::uint8_t BinaryVersion = 3;
constexpr std::size_t InfoFixedSize = 14;
constexpr std::size_t CommonSize = 15;
constexpr std::size_t CharSize = 20;
constexpr std::size_t KerningSize = 10;

// Bits as BMFont writes them. Its documentation numbers bits from the most significant one.
constexpr std::uint8_t InfoSmooth = 0x80;
constexpr std::uint8_t InfoUnicode = 0x40;
constexpr std::uint8_t InfoItalic = 0x20;
constexpr std::uint8_t InfoBold = 0x10;
constexpr std::uint8_t CommonPacked = 0x01;

std::uint32_t ReadU(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return value;
}

std::int64_t ReadI16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int16_t>(ReadU(bytes, offset, 2));
}

std::string ReadString(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), 0);
    return {bytes.begin(), end};
}

void ReadInfo(BmFont& font, std::span<const std::uint8_t> block,
              std::vector<std::string>& warnings) {
    if (block.size() < InfoFixedSize) {
        warnings.push_back("the info block is too short and was skipped");
        return;
    }
    BmFontInfo& info = font.Info;
    info.Size = ReadI16(block, 0);
    const std::uint8_t bits = block[2];
    // Some writers put the flags into the low bits in reverse order (smooth 0x01 … bold 0x08).
    // The flags only describe how the pictures were made, so the guess costs nothing if wrong.
    const bool lowFirst = (bits & 0xF0) == 0 && (bits & 0x0F) != 0;
    info.Smooth = (bits & (lowFirst ? 0x01 : InfoSmooth)) != 0;
    info.Unicode = (bits & (lowFirst ? 0x02 : InfoUnicode)) != 0;
    info.Italic = (bits & (lowFirst ? 0x04 : InfoItalic)) != 0;
    info.Bold = (bits & (lowFirst ? 0x08 : InfoBold)) != 0;
    info.Charset = info.Unicode && block[3] == 0 ? std::string() : BmFontCharsetName(block[3]);
    info.StretchH = ReadU(block, 4, 2);
    info.Aa = block[6];
    for (std::size_t i = 0; i < 4; ++i) {
        info.Padding[i] = block[7 + i];
    }
    info.Spacing = {block[11], block[12]};
    info.Outline = block[13];
    info.Face = ReadString(block.subspan(InfoFixedSize));
}

void ReadCommon(BmFont& font, std::span<const std::uint8_t> block,
                std::vector<std::string>& warnings) {
    if (block.size() < CommonSize) {
        warnings.push_back("the common block is too short and was skipped");
        return;
    }
    BmFontCommon& common = font.Common;
    common.LineHeight = ReadU(block, 0, 2);
    common.Base = ReadU(block, 2, 2);
    common.ScaleW = ReadU(block, 4, 2);
    common.ScaleH = ReadU(block, 6, 2);
    common.Pages = ReadU(block, 8, 2);
    // Packed is bit 0x01 for BMFont; writers that number bits the other way set 0x80. Expansion
    // only touches characters that name a single channel, so either reading is safe.
    common.Packed = (block[10] & (CommonPacked | 0x80)) != 0;
    common.AlphaChnl = block[11];
    common.RedChnl = block[12];
    common.GreenChnl = block[13];
    common.BlueChnl = block[14];
}

void ReadPages(BmFont& font, std::span<const std::uint8_t> block) {
    const bool terminated = std::find(block.begin(), block.end(), 0) != block.end();
    if (!terminated && font.Common.Pages > 0 &&
        block.size() % static_cast<std::size_t>(font.Common.Pages) == 0) {
        // Names written without their terminating zero byte; they still have equal lengths.
        const std::size_t length = block.size() / static_cast<std::size_t>(font.Common.Pages);
        for (std::int64_t id = 0; id < font.Common.Pages && length > 0; ++id) {
            const auto name = block.subspan(static_cast<std::size_t>(id) * length, length);
            font.Pages.push_back({id, std::string(name.begin(), name.end())});
        }
        return;
    }
    std::int64_t id = 0;
    while (!block.empty()) {
        std::string name = ReadString(block);
        block = block.subspan(std::min(block.size(), name.size() + 1));
        font.Pages.push_back({id++, std::move(name)});
    }
}

void ReadChars(BmFont& font, std::span<const std::uint8_t> block) {
    for (std::size_t at = 0; at + CharSize <= block.size(); at += CharSize) {
        const std::uint32_t id = ReadU(block, at, 4);
        font.Chars.push_back({id == 0xFFFFFFFFu ? -1 : static_cast<std::int64_t>(id),
                              ReadU(block, at + 4, 2), ReadU(block, at + 6, 2),
                              ReadU(block, at + 8, 2), ReadU(block, at + 10, 2),
                              ReadI16(block, at + 12), ReadI16(block, at + 14),
                              ReadI16(block, at + 16), block[at + 18], block[at + 19]});
    }
}

void ReadKernings(BmFont& font, std::span<const std::uint8_t> block) {
    for (std::size_t at = 0; at + KerningSize <= block.size(); at += KerningSize) {
        font.Kernings.push_back(
            {ReadU(block, at, 4), ReadU(block, at + 4, 4), ReadI16(block, at + 8)});
    }
}

class Writer {
public:
    void U(std::uint32_t value, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            Bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    void String(const std::string& text) {
        Bytes.insert(Bytes.end(), text.begin(), text.end());
        Bytes.push_back(0);
    }
    // Starts a block; returns where its size goes.
    std::size_t Begin(std::uint8_t type) {
        Bytes.push_back(type);
        U(0, 4);
        return Bytes.size() - 4;
    }
    void End(std::size_t sizeAt) {
        const auto size = static_cast<std::uint32_t>(Bytes.size() - sizeAt - 4);
        for (std::size_t i = 0; i < 4; ++i) {
            Bytes[sizeAt + i] = static_cast<std::uint8_t>(size >> (8 * i));
        }
    }
    std::vector<std::uint8_t> Bytes;
};

// The first value found that does not fit a field of the binary variant, by the field's name.
struct BinaryRangeCheck {
    std::string Error;

    void Fits(const std::string& what, std::int64_t value, std::int64_t low, std::int64_t high) {
        if (Error.empty() && (value < low || value > high)) {
            Error = what + " " + std::to_string(value) + " does not fit the binary variant (" +
                    std::to_string(low) + ".." + std::to_string(high) + ")";
        }
    }
};

void CheckInfoRanges(BinaryRangeCheck& check, const BmFontInfo& info) {
    check.Fits("the size", info.Size, -32768, 32767);
    check.Fits("stretchH", info.StretchH, 0, 65535);
    check.Fits("aa", info.Aa, 0, 255);
    for (const std::int64_t padding : info.Padding) {
        check.Fits("a padding", padding, 0, 255);
    }
    for (const std::int64_t spacing : info.Spacing) {
        check.Fits("a spacing", spacing, 0, 255);
    }
    check.Fits("the outline", info.Outline, 0, 255);
    if (check.Error.empty() && !info.Unicode && !info.Charset.empty() &&
        !BmFontCharsetNumber(info.Charset)) {
        check.Error =
            "the character set \"" + info.Charset + "\" has no number in the binary variant";
    }
    if (info.Face.find('\0') != std::string::npos) {
        check.Error = "the face name holds a zero byte";
    }
}

void CheckCommonRanges(BinaryRangeCheck& check, const BmFontCommon& common) {
    check.Fits("lineHeight", common.LineHeight, 0, 65535);
    check.Fits("base", common.Base, 0, 65535);
    check.Fits("the picture width", common.ScaleW, 0, 65535);
    check.Fits("the picture height", common.ScaleH, 0, 65535);
    check.Fits("the page count", common.Pages, 0, 65535);
    for (const std::int64_t channel :
         {common.AlphaChnl, common.RedChnl, common.GreenChnl, common.BlueChnl}) {
        check.Fits("a channel value", channel, 0, 255);
    }
}

// Page names are stored one after another without lengths, so they must all be equally long.
void CheckPageNames(BinaryRangeCheck& check, const std::vector<BmFontPage>& pages) {
    for (const BmFontPage& page : pages) {
        if (check.Error.empty() && page.File.size() != pages.front().File.size()) {
            check.Error = "the page names \"" + pages.front().File + "\" and \"" + page.File +
                          "\" differ in length, which the binary variant cannot store";
        }
        if (check.Error.empty() && page.File.find('\0') != std::string::npos) {
            check.Error = "the page name holds a zero byte";
        }
    }
}

// Names are built only for the value that does not fit: large fonts have many records.
void CheckCharRanges(BinaryRangeCheck& check, const BmFont& font) {
    using CharField = std::int64_t BmFontChar::*;
    struct CharRange {
        const char* Key;
        CharField Field;
        std::int64_t Low, High;
    };
    static constexpr CharRange CharRanges[] = {
        {"id", &BmFontChar::Id, -1, 0xFFFFFFFE},
        {"x", &BmFontChar::X, 0, 65535},
        {"y", &BmFontChar::Y, 0, 65535},
        {"width", &BmFontChar::Width, 0, 65535},
        {"height", &BmFontChar::Height, 0, 65535},
        {"xoffset", &BmFontChar::XOffset, -32768, 32767},
        {"yoffset", &BmFontChar::YOffset, -32768, 32767},
        {"xadvance", &BmFontChar::XAdvance, -32768, 32767},
        {"page", &BmFontChar::Page, 0, 255},
        {"chnl", &BmFontChar::Chnl, 0, 255},
    };
    for (const BmFontChar& c : font.Chars) {
        for (const CharRange& range : CharRanges) {
            const std::int64_t value = c.*(range.Field);
            if (value < range.Low || value > range.High) {
                check.Fits("character " + std::to_string(c.Id) + ": " + range.Key, value, range.Low,
                           range.High);
                if (range.Field == &BmFontChar::X || range.Field == &BmFontChar::Y) {
                    check.Error += AdviseBmFontPictureWidth(font, range.Low, range.High).Text;
                }
                return;
            }
        }
    }
}

void CheckKerningRanges(BinaryRangeCheck& check, const std::vector<BmFontKerning>& kernings) {
    for (const BmFontKerning& k : kernings) {
        const bool fits = k.First >= 0 && k.First <= 0xFFFFFFFF && k.Second >= 0 &&
                          k.Second <= 0xFFFFFFFF && k.Amount >= -32768 && k.Amount <= 32767;
        if (!fits) {
            const std::string name =
                "kerning pair " + std::to_string(k.First) + ", " + std::to_string(k.Second) + ": ";
            check.Fits(name + "first", k.First, 0, 0xFFFFFFFF);
            check.Fits(name + "second", k.Second, 0, 0xFFFFFFFF);
            check.Fits(name + "amount", k.Amount, -32768, 32767);
            return;
        }
    }
}

base::Result<base::Done> CheckBinaryRanges(const BmFont& font) {
    BinaryRangeCheck check;
    CheckInfoRanges(check, font.Info);
    CheckCommonRanges(check, font.Common);
    CheckPageNames(check, font.Pages);
    if (check.Error.empty()) {
        CheckCharRanges(check, font);
    }
    if (check.Error.empty()) {
        CheckKerningRanges(check, font.Kernings);
    }
    if (!check.Error.empty()) {
        return base::Failure{check.Error};
    }
    return base::Done{};
}

} // namespace

std::optional<BmFont> ParseBmFontBinary(std::span<const std::uint8_t> bytes,
                                        std::vector<std::string>& warnings) {
    if (bytes.size() < 4 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[2] != 'F') {
        return std::nullopt;
    }
    if (bytes[3] != BinaryVersion) {
        warnings.push_back("binary version " + std::to_string(bytes[3]) +
                           " is not supported (only version 3)");
        return std::nullopt;
    }
    BmFont font;
    std::size_t at = 4;
    while (at < bytes.size()) {
        if (bytes.size() - at < 5) {
            warnings.push_back("the file ends inside a block header");
            break;
        }
        const std::uint8_t type = bytes[at];
        const auto size = static_cast<std::int32_t>(ReadU(bytes, at + 1, 4));
        at += 5;
        if (size < 0 || static_cast<std::size_t>(size) > bytes.size() - at) {
            warnings.push_back("block " + std::to_string(type) +
                               " runs past the end of the file; reading stopped there");
            break;
        }
        const auto block = bytes.subspan(at, static_cast<std::size_t>(size));
        at += static_cast<std::size_t>(size);
        switch (type) {
        case 1:
            ReadInfo(font, block, warnings);
            break;
        case 2:
            ReadCommon(font, block, warnings);
            break;
        case 3:
            ReadPages(font, block);
            break;
        case 4:
            ReadChars(font, block);
            break;
        case 5:
            ReadKernings(font, block);
            break;
        default:
            break; // unknown blocks are skipped by their size
        }
    }
    return font;
}

base::Result<std::vector<std::uint8_t>> EncodeBmFontBinary(const BmFont& font) {
    if (base::Result<base::Done> fits = CheckBinaryRanges(font); !fits) {
        return base::Failure{std::move(fits.Error)};
    }
    Writer out;
    out.Bytes = {'B', 'M', 'F', BinaryVersion};

    const BmFontInfo& info = font.Info;
    std::size_t block = out.Begin(1);
    out.U(static_cast<std::uint32_t>(info.Size), 2);
    out.U((info.Smooth ? InfoSmooth : 0) | (info.Unicode ? InfoUnicode : 0) |
              (info.Italic ? InfoItalic : 0) | (info.Bold ? InfoBold : 0),
          1);
    out.U(static_cast<std::uint32_t>(
              info.Charset.empty() ? 0 : BmFontCharsetNumber(info.Charset).value_or(0)),
          1);
    out.U(static_cast<std::uint32_t>(info.StretchH), 2);
    out.U(static_cast<std::uint32_t>(info.Aa), 1);
    for (const std::int64_t padding : info.Padding) {
        out.U(static_cast<std::uint32_t>(padding), 1);
    }
    for (const std::int64_t spacing : info.Spacing) {
        out.U(static_cast<std::uint32_t>(spacing), 1);
    }
    out.U(static_cast<std::uint32_t>(info.Outline), 1);
    out.String(info.Face);
    out.End(block);

    const BmFontCommon& common = font.Common;
    block = out.Begin(2);
    for (const std::int64_t value :
         {common.LineHeight, common.Base, common.ScaleW, common.ScaleH, common.Pages}) {
        out.U(static_cast<std::uint32_t>(value), 2);
    }
    out.U(common.Packed ? CommonPacked : 0, 1);
    for (const std::int64_t channel :
         {common.AlphaChnl, common.RedChnl, common.GreenChnl, common.BlueChnl}) {
        out.U(static_cast<std::uint32_t>(channel), 1);
    }
    out.End(block);

    block = out.Begin(3);
    for (const BmFontPage& page : font.Pages) {
        out.String(page.File);
    }
    out.End(block);

    block = out.Begin(4);
    for (const BmFontChar& c : font.Chars) {
        out.U(static_cast<std::uint32_t>(c.Id), 4);
        for (const std::int64_t value :
             {c.X, c.Y, c.Width, c.Height, c.XOffset, c.YOffset, c.XAdvance}) {
            out.U(static_cast<std::uint32_t>(value), 2);
        }
        out.U(static_cast<std::uint32_t>(c.Page), 1);
        out.U(static_cast<std::uint32_t>(c.Chnl), 1);
    }
    out.End(block);

    if (!font.Kernings.empty()) {
        block = out.Begin(5);
        for (const BmFontKerning& k : font.Kernings) {
            out.U(static_cast<std::uint32_t>(k.First), 4);
            out.U(static_cast<std::uint32_t>(k.Second), 4);
            out.U(static_cast<std::uint32_t>(k.Amount), 2);
        }
        out.End(block);
    }
    base::Result<std::vector<std::uint8_t>> encoded(std::move(out.Bytes));
    if (font.DistanceField) {
        encoded.Warnings.push_back("the binary variant has no place for the distance field (" +
                                   font.DistanceField->FieldType + ", range " +
                                   std::to_string(font.DistanceField->Range) +
                                   "); the text and XML variants keep it");
    }
    return encoded;
}

} // namespace glyfora::formats
