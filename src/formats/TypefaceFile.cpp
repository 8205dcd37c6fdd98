#include "formats/TypefaceFile.h"

#include "base/AtomicFile.h"
#include "formats/FieldLimits.h"
#include "formats/PngCodec.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <zlib.h>

namespace glyfora::formats {

namespace {

enum class ChunkType : std::int32_t {
    End = 0,
    Image = 1,
    Characters = 2,
    KerningPairs = 3,
    Properties = 4,
};

constexpr std::size_t ChunkHeaderSize = 8;  // payload size, CRC-32
constexpr std::size_t ChunkTypeSize = 4;    // first field of every payload
constexpr std::size_t RecordListHeader = 8; // chunk type, record count
constexpr std::size_t CharacterRecordSize = 18;
constexpr std::size_t PairRecordSize = 6;
constexpr std::size_t MaxPayloadSize = std::numeric_limits<std::int32_t>::max();

// The CRC-32 of bytes, or of earlier bytes whose CRC is crc followed by these. zlib's crc32
// takes a 32-bit length; payloads stay below 2 GiB, but loop anyway so that the helper is correct
// for any span.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0) {
    while (!bytes.empty()) {
        const auto part = static_cast<uInt>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<uInt>::max()));
        crc = static_cast<std::uint32_t>(crc32(crc, bytes.data(), part));
        bytes = bytes.subspan(part);
    }
    return crc;
}

std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int64_t ReadI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(ReadU16(p));
}

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::int64_t ReadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadU32(p));
}

void AppendU16(std::vector<std::uint8_t>& out, std::int64_t value) {
    // The caller has checked that the value fits; signed values are stored in two's complement.
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void PatchU32(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Builds one chunk in place at the end of out: the header is reserved first and filled in once
// the payload is complete, so large payloads (the PNG) are written in place.
class ChunkBuilder {
public:
    ChunkBuilder(std::vector<std::uint8_t>& out, ChunkType type) : out_(out), start_(out.size()) {
        out_.resize(start_ + ChunkHeaderSize);
        AppendU32(out_, static_cast<std::uint32_t>(type));
    }

    std::vector<std::uint8_t>& Payload() { return out_; }

    // Fills in size and CRC; false when the payload is too large for the 32-bit size field.
    [[nodiscard]] bool Finish() {
        const std::size_t payloadStart = start_ + ChunkHeaderSize;
        const std::size_t size = out_.size() - payloadStart;
        if (size > MaxPayloadSize) {
            return false;
        }
        PatchU32(out_, start_, static_cast<std::uint32_t>(size));
        PatchU32(out_, start_ + 4,
                 Crc32(std::span<const std::uint8_t>(out_).subspan(payloadStart, size)));
        return true;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t start_;
};

// A file being encoded into memory, written to as an AtomicFileWriter is.
class BufferOutput {
public:
    bool Write(std::span<const std::uint8_t> bytes) {
        Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
        return true;
    }
    bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), Bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        return true;
    }
    [[nodiscard]] std::uint64_t Size() const { return Bytes.size(); }

    std::vector<std::uint8_t> Bytes;
};

// The image chunk, written out as the PNG is deflated so the PNG is never held whole: the header
// goes first as a placeholder and is filled in at the end, with the CRC taken along the way.
template <typename Output>
[[nodiscard]] base::Result<base::Done>
WriteImageChunk(Output& out, const std::shared_ptr<const document::Image>& image) {
    // No PNG can hold an empty picture; such a typeface is saved like one without an image.
    if (!image || image->Width <= 0 || image->Height <= 0) {
        return base::Done{};
    }
    const std::uint64_t start = out.Size();
    std::vector<std::uint8_t> header(ChunkHeaderSize);
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    const PngOutput payload = [&](std::span<const std::uint8_t> bytes) {
        size += bytes.size();
        crc = Crc32(bytes, crc);
        return out.Write(bytes);
    };
    std::vector<std::uint8_t> type;
    AppendU32(type, static_cast<std::uint32_t>(ChunkType::Image));
    if (!out.Write(header) || !payload(type) || !StreamPng(*image, payload).Ok()) {
        return base::Failure{"the character-set image could not be encoded as PNG"};
    }
    if (size > MaxPayloadSize) {
        return base::Failure{"the character-set image is too large for a .tf file"};
    }
    PatchU32(header, 0, static_cast<std::uint32_t>(size));
    PatchU32(header, 4, crc);
    if (!out.WriteAt(start, header)) {
        return base::Failure{"the character-set image could not be written"};
    }
    return base::Done{};
}

[[nodiscard]] base::Result<base::Done>
AppendCharacterChunk(std::vector<std::uint8_t>& out, const document::TypefaceContent& content) {
    const std::size_t count = content.Characters.Size();
    if (count > (MaxPayloadSize - RecordListHeader) / CharacterRecordSize) {
        return base::Failure{"too many characters for a .tf file"};
    }
    out.reserve(out.size() + ChunkHeaderSize + RecordListHeader + count * CharacterRecordSize);
    ChunkBuilder chunk(out, ChunkType::Characters);
    auto& payload = chunk.Payload();
    AppendU32(payload, static_cast<std::uint32_t>(count));
    for (const document::Character& character : content.Characters) {
        for (std::int64_t value :
             {character.Index, character.Outlay.X, character.Outlay.Y, character.Outlay.Width,
              character.Outlay.Height, character.Source.X, character.Source.Y,
              character.Source.Width, character.Source.Height}) {
            AppendU16(payload, value);
        }
    }
    if (!chunk.Finish()) {
        return base::Failure{"too many characters for a .tf file"};
    }
    return base::Done{};
}

[[nodiscard]] base::Result<base::Done> AppendPairChunk(std::vector<std::uint8_t>& out,
                                                       const document::TypefaceContent& content) {
    const std::size_t count = content.KerningPairs.Size();
    if (count > (MaxPayloadSize - RecordListHeader) / PairRecordSize) {
        return base::Failure{"too many kerning pairs for a .tf file"};
    }
    out.reserve(out.size() + ChunkHeaderSize + RecordListHeader + count * PairRecordSize);
    ChunkBuilder chunk(out, ChunkType::KerningPairs);
    auto& payload = chunk.Payload();
    AppendU32(payload, static_cast<std::uint32_t>(count));
    for (const document::KerningPair& pair : content.KerningPairs) {
        AppendU16(payload, document::PairLeft(pair));
        AppendU16(payload, document::PairRight(pair));
        AppendU16(payload, pair.Amount);
    }
    if (!chunk.Finish()) {
        return base::Failure{"too many kerning pairs for a .tf file"};
    }
    return base::Done{};
}

[[nodiscard]] base::Result<base::Done>
AppendPropertyChunk(std::vector<std::uint8_t>& out, const document::TypefaceContent& content) {
    const auto& properties = content.Properties;
    if (properties.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return base::Failure{"too many properties for a .tf file"};
    }
    ChunkBuilder chunk(out, ChunkType::Properties);
    auto& payload = chunk.Payload();
    AppendU32(payload, static_cast<std::uint32_t>(properties.size()));
    for (const auto& [key, value] : properties) {
        // Strings end at their 0 byte in the file, so one inside would shift every later entry.
        if (key.find('\0') != std::string::npos || value.find('\0') != std::string::npos) {
            return base::Failure{"the property \"" + key.substr(0, key.find('\0')) +
                                 "\" contains a zero byte, which a .tf file cannot hold"};
        }
        payload.insert(payload.end(), key.begin(), key.end());
        payload.push_back(0);
        payload.insert(payload.end(), value.begin(), value.end());
        payload.push_back(0);
    }
    if (!chunk.Finish()) {
        return base::Failure{"the properties are too large for a .tf file"};
    }
    return base::Done{};
}

// A chunk's parsed content, applied to the typeface only when the whole chunk is sound, so a
// damaged chunk adds nothing.
struct ChunkReader {
    document::Typeface& Target;
    std::span<const std::uint8_t> Payload; // the chunk type included
    std::string Name;                      // "chunk 2", for warnings
    std::vector<std::string>& Warnings;

    // Fails with why the chunk cannot be read.
    base::Result<base::Done> Read(ChunkType type) {
        switch (type) {
        case ChunkType::Image:
            return ReadImage();
        case ChunkType::Characters:
            return ReadCharacters();
        case ChunkType::KerningPairs:
            return ReadPairs();
        case ChunkType::Properties:
            return ReadProperties();
        case ChunkType::End:
            break;
        }
        return base::Done{};
    }

    // A picture that does not decode (damaged, too large, of zero size) costs only itself: the
    // chunk's size and CRC were sound, so the chunks after it can still be trusted.
    base::Result<base::Done> ReadImage() {
        base::Result<document::Image> decoded = DecodePng(Payload.subspan(ChunkTypeSize));
        if (!decoded) {
            Warnings.push_back(Name + ": the picture was dropped because it could not be read (" +
                               decoded.Error + "); the rest of the file was read");
            return base::Done{};
        }
        document::SetCharacterSetImage(Target, std::move(decoded.Value));
        return base::Done{};
    }

    // The record count, or the reason it is unusable: records must lie inside the payload.
    base::Result<std::size_t> RecordCount(std::size_t recordSize) {
        if (Payload.size() < RecordListHeader) {
            return base::Failure{"the record count is cut off"};
        }
        const std::int64_t stored = ReadI32(Payload.data() + ChunkTypeSize);
        if (stored < 0) {
            return base::Failure{"negative record count " + std::to_string(stored)};
        }
        const std::size_t room = (Payload.size() - RecordListHeader) / recordSize;
        if (static_cast<std::size_t>(stored) > room) {
            return base::Failure{std::to_string(stored) +
                                 " records do not fit in the chunk (room for " +
                                 std::to_string(room) + ")"};
        }
        return static_cast<std::size_t>(stored);
    }

    base::Result<base::Done> ReadCharacters() {
        const base::Result<std::size_t> count = RecordCount(CharacterRecordSize);
        if (!count) {
            return base::Failure{count.Error};
        }
        const std::uint8_t* record = Payload.data() + RecordListHeader;
        for (std::size_t i = 0; i < *count.Value; ++i, record += CharacterRecordSize) {
            document::Character& character = document::AddCharacter(Target, ReadU16(record));
            character.Outlay = {ReadI16(record + 2), ReadI16(record + 4), ReadI16(record + 6),
                                ReadI16(record + 8)};
            character.Source = {ReadI16(record + 10), ReadI16(record + 12), ReadI16(record + 14),
                                ReadI16(record + 16)};
        }
        return base::Done{};
    }

    base::Result<base::Done> ReadPairs() {
        const base::Result<std::size_t> count = RecordCount(PairRecordSize);
        if (!count) {
            return base::Failure{count.Error};
        }
        const std::uint8_t* record = Payload.data() + RecordListHeader;
        for (std::size_t i = 0; i < *count.Value; ++i, record += PairRecordSize) {
            document::AddKerningPair(Target, ReadU16(record), ReadU16(record + 2),
                                     ReadI16(record + 4));
        }
        return base::Done{};
    }

    base::Result<base::Done> ReadProperties() {
        if (Payload.size() < RecordListHeader) {
            return base::Failure{"the entry count is cut off"};
        }
        const std::int64_t count = ReadI32(Payload.data() + ChunkTypeSize);
        if (count < 0) {
            return base::Failure{"negative entry count " + std::to_string(count)};
        }
        std::vector<std::pair<std::string, std::string>> entries;
        std::size_t offset = RecordListHeader;
        // Each entry needs at least its two 0 bytes, which bounds the loop by the payload.
        for (std::int64_t i = 0; i < count; ++i) {
            std::string strings[2];
            for (std::string& text : strings) {
                const auto* begin = Payload.data() + offset;
                const auto* zero = static_cast<const std::uint8_t*>(
                    std::memchr(begin, 0, Payload.size() - offset));
                if (zero == nullptr) {
                    return base::Failure{"property " + std::to_string(i + 1) + " of " +
                                         std::to_string(count) + " runs past the end of the chunk"};
                }
                text.assign(reinterpret_cast<const char*>(begin),
                            static_cast<std::size_t>(zero - begin));
                offset += text.size() + 1;
            }
            entries.emplace_back(std::move(strings[0]), std::move(strings[1]));
        }
        for (auto& [key, value] : entries) {
            Target.Content.Properties[key] = std::move(value);
        }
        return base::Done{};
    }
};

// Where a chunk's payload lies in the data, or why the chunk header at offset cannot be used.
struct ChunkSpan {
    std::size_t PayloadStart = 0;
    std::size_t Size = 0;
};

base::Result<ChunkSpan> LocateChunk(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const std::size_t left = bytes.size() - offset;
    if (left == 0) {
        return base::Failure{"the data ends without an end chunk"};
    }
    if (left < ChunkHeaderSize) {
        return base::Failure{"the chunk header is cut off after " + std::to_string(left) +
                             " of 8 bytes"};
    }
    const std::int64_t size = ReadI32(bytes.data() + offset);
    if (size < static_cast<std::int64_t>(ChunkTypeSize)) {
        return base::Failure{"invalid payload size " + std::to_string(size)};
    }
    if (static_cast<std::uint64_t>(size) > left - ChunkHeaderSize) {
        return base::Failure{"the payload of " + std::to_string(size) +
                             " bytes runs past the end of the data (" +
                             std::to_string(left - ChunkHeaderSize) + " bytes left)"};
    }
    return ChunkSpan{offset + ChunkHeaderSize, static_cast<std::size_t>(size)};
}

bool IsKnownType(std::int64_t type) {
    return type >= static_cast<std::int64_t>(ChunkType::End) &&
           type <= static_cast<std::int64_t>(ChunkType::Properties);
}

// A chunk whose CRC fails may be damaged in its payload only, or in its size too. Only when its
// size leads to a whole chunk of a known type is the size trusted and the chunk stepped over;
// anywhere else the chunks after it cannot be found.
bool WholeChunkAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const base::Result<ChunkSpan> next = LocateChunk(bytes, offset);
    return next && IsKnownType(ReadI32(bytes.data() + next.Value->PayloadStart));
}

} // namespace

document::Typeface& ReadTfChunks(document::Typeface& typeface, std::span<const std::uint8_t> bytes,
                                 std::vector<std::string>& warnings) {
    std::size_t offset = 0;
    for (std::size_t number = 1;; ++number) {
        const std::string name = "chunk " + std::to_string(number);
        const auto stop = [&](const std::string& reason) {
            warnings.push_back(name + ": " + reason + ", reading stopped");
        };
        const base::Result<ChunkSpan> chunk = LocateChunk(bytes, offset);
        if (!chunk) {
            stop(chunk.Error);
            break;
        }
        const auto payload = bytes.subspan(chunk.Value->PayloadStart, chunk.Value->Size);
        const std::size_t next = chunk.Value->PayloadStart + chunk.Value->Size;
        if (Crc32(payload) != ReadU32(bytes.data() + offset + 4)) {
            if (!WholeChunkAt(bytes, next)) {
                stop("CRC mismatch");
                break;
            }
            warnings.push_back(name + ": CRC mismatch, chunk skipped");
            offset = next;
            continue;
        }
        const std::int64_t type = ReadI32(payload.data());
        if (type == static_cast<std::int64_t>(ChunkType::End)) {
            break;
        }
        // Other chunk types are reserved and skipped.
        if (IsKnownType(type)) {
            ChunkReader reader{typeface, payload, name, warnings};
            if (const base::Result<base::Done> read = reader.Read(static_cast<ChunkType>(type));
                !read) {
                stop(read.Error);
                break;
            }
        }
        offset = next;
    }
    return typeface;
}

namespace {

// The chunks after the picture, end chunk included.
[[nodiscard]] base::Result<base::Done>
AppendRecordChunks(std::vector<std::uint8_t>& out, const document::TypefaceContent& content) {
    base::Result<base::Done> appended = AppendCharacterChunk(out, content);
    if (appended) {
        appended = AppendPairChunk(out, content);
    }
    if (appended) {
        appended = AppendPropertyChunk(out, content);
    }
    if (appended) {
        ChunkBuilder end(out, ChunkType::End);
        static_cast<void>(end.Finish()); // four bytes always fit
    }
    return appended;
}

// The whole file into out. The records are encoded first, so that a typeface that cannot be saved
// is refused before its picture is deflated.
template <typename Output>
[[nodiscard]] base::Result<base::Done> WriteTf(Output& out, const document::Typeface& typeface) {
    // Checked before anything is encoded, so that no field is ever cut to its low bits.
    if (base::Result<base::Done> fits = CheckFieldLimits(typeface, TfFieldLimits); !fits) {
        return fits;
    }
    if (const document::Image* picture = typeface.Content.Image.get()) {
        if (base::Result<base::Done> fits = CheckPngSize(picture->Width, picture->Height); !fits) {
            return base::Failure{"the picture cannot be saved: " + fits.Error};
        }
    }
    std::vector<std::uint8_t> records;
    if (base::Result<base::Done> appended = AppendRecordChunks(records, typeface.Content);
        !appended) {
        return appended;
    }
    if (!out.Write(TfMagic)) {
        return base::Failure{"the signature could not be written"};
    }
    if (base::Result<base::Done> written = WriteImageChunk(out, typeface.Content.Image); !written) {
        return written;
    }
    if (!out.Write(records)) {
        return base::Failure{"the records could not be written"};
    }
    return base::Done{};
}

} // namespace

base::Result<std::vector<std::uint8_t>> EncodeTfFile(const document::Typeface& typeface) {
    BufferOutput out;
    if (base::Result<base::Done> written = WriteTf(out, typeface); !written) {
        return base::Failure{std::move(written.Error)};
    }
    return std::move(out.Bytes);
}

base::Result<base::Done> WriteTfFile(const document::Typeface& typeface,
                                     const std::string& fileName) {
    base::Result<base::AtomicFileWriter> file = base::AtomicFileWriter::Open(fileName);
    if (!file) {
        return base::Failure{std::move(file.Error)};
    }
    base::Result<base::Done> written = WriteTf(*file.Value, typeface);
    // A failed write has the file's own reason, which Commit gives along with the clean-up.
    if (!written && !file.Value->Failed()) {
        return written;
    }
    return file.Value->Commit();
}

bool IsTfFile(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= TfMagic.size() &&
           std::equal(TfMagic.begin(), TfMagic.end(), bytes.begin());
}

base::Result<base::Done> ReadTfFile(document::Typeface& typeface,
                                    std::span<const std::uint8_t> bytes,
                                    const std::string& /*directory*/) {
    base::Result<base::Done> result(base::Done{});
    ReadTfChunks(typeface, bytes.subspan(std::min(bytes.size(), TfMagic.size())), result.Warnings);
    return result;
}

} // namespace glyfora::formats
