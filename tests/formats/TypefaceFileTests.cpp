#include "FileSizeLimit.h"
#include "PngBytes.h"
#include "ScratchFolder.h"
#include "base/AtomicFile.h"
#include "base/FileReading.h"
#include "document/Pixel.h"
#include "formats/FieldLimits.h"
#include "formats/PngCodec.h"
#include "formats/TypefaceFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <map>
#include <optional>
#include <png.h>
#include <string>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace glyfora::formats {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Le32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// A chunk made by hand: size, zlib's CRC-32 of the payload, payload (type first).
Bytes Chunk(std::int32_t type, const Bytes& body) {
    const Bytes payload = Concat({Le32(static_cast<std::uint32_t>(type)), body});
    const auto crc =
        static_cast<std::uint32_t>(crc32(0L, payload.data(), static_cast<uInt>(payload.size())));
    return Concat({Le32(static_cast<std::uint32_t>(payload.size())), Le32(crc), payload});
}

const Bytes EndChunk{0x04, 0x00, 0x00, 0x00, 0x1C, 0xDF, 0x44, 0x21, 0x00, 0x00, 0x00, 0x00};
const Bytes Magic(TfMagic.begin(), TfMagic.end());

// Glyph-like content with varied alpha, so that a lost or swapped channel shows.
document::Image TestPicture(std::int64_t width, std::int64_t height) {
    document::Image picture = *document::MakeImage(width, height);
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            const auto v = static_cast<std::uint32_t>(x * 37 + y * 11);
            picture.At(x, y) = (v & 0xFF) | ((v * 3 & 0xFF) << 8) | ((v * 7 & 0xFF) << 16) |
                               (((x + y) * 40 & 0xFF) << 24);
        }
    }
    return picture;
}

struct Fixture {
    document::TypefaceRegistry Registry;
    document::Typeface* Face = document::CreateTypeface(Registry, 5);
};

document::Character& Add(document::Typeface& face, std::int64_t code, document::Rect64 outlay,
                         document::Rect64 source) {
    document::Character& character = document::AddCharacter(face, code);
    character.Outlay = outlay;
    character.Source = source;
    return character;
}

// A typeface with something in every chunk.
void FillSample(document::Typeface& face) {
    document::SetCharacterSetImage(face, TestPicture(5, 3));
    Add(face, 65, {0, 0, 10, 16}, {1, 2, 10, 16});
    Add(face, 66, {-2, 3, 9, 16}, {12, 2, 9, 16});
    document::AddKerningPair(face, 65, 86, -3);
    document::AddKerningPair(face, 0xFFFF, 0, 7);
    face.Content.Properties["Comment"] = "\xC3\xA4"
                                         "b";
    face.Content.Properties["Author"] = "X";
}

struct Read {
    document::TypefaceRegistry Registry;
    document::Typeface* Face = document::CreateTypeface(Registry, 5);
    std::vector<std::string> Warnings;
};

// Reads a whole file image (signature included) the way the loader hands it over.
std::unique_ptr<Read> ReadFile(std::span<const std::uint8_t> file) {
    auto read = std::make_unique<Read>();
    EXPECT_GE(file.size(), 8U);
    ReadTfChunks(*read->Face, file.subspan(8), read->Warnings);
    return read;
}

std::vector<std::int64_t> Codes(const document::Typeface& face) {
    std::vector<std::int64_t> codes;
    for (const document::Character& character : face.Content.Characters) {
        codes.push_back(character.Index);
    }
    return codes;
}

std::vector<std::int64_t> Keys(const document::Typeface& face) {
    std::vector<std::int64_t> keys;
    for (const document::KerningPair& pair : face.Content.KerningPairs) {
        keys.push_back(pair.PairKey);
    }
    return keys;
}

// Offsets at which the chunks after the signature start, plus the end of the file.
std::vector<std::size_t> ChunkStarts(const Bytes& file) {
    std::vector<std::size_t> starts;
    std::size_t offset = 8;
    while (offset < file.size()) {
        starts.push_back(offset);
        offset += 8 + (file[offset] | file[offset + 1] << 8 | file[offset + 2] << 16);
    }
    starts.push_back(file.size());
    return starts;
}

// --- Writing: golden bytes ---------------------------------------------------------------------

TEST(TfWrite, EmptyTypefaceWithImageHasEveryChunkInOrder) {
    Fixture f;
    const document::Image picture = TestPicture(4, 3);
    document::SetCharacterSetImage(*f.Face, picture);
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeTfFile(*f.Face);
    ASSERT_EQ(encoded.Error, "");
    const Bytes& file = encoded.Value.value_or(Bytes{});

    const auto png = testsupport::PngBytes(picture);
    ASSERT_TRUE(png);
    const Bytes expected = Concat(
        {Magic, Chunk(1, *png), Chunk(2, Le32(0)), Chunk(3, Le32(0)), Chunk(4, Le32(0)), EndChunk});
    EXPECT_EQ(file, expected);
    // The list chunks are 8-byte payloads: size field 08 00 00 00.
    const auto starts = ChunkStarts(file);
    ASSERT_EQ(starts.size(), 6U);
    for (std::size_t chunk = 1; chunk <= 3; ++chunk) {
        EXPECT_EQ(Bytes(file.begin() + static_cast<std::ptrdiff_t>(starts[chunk]),
                        file.begin() + static_cast<std::ptrdiff_t>(starts[chunk] + 4)),
                  (Bytes{8, 0, 0, 0}));
    }
    EXPECT_EQ(encoded.Error, "");
}

TEST(TfWrite, TypefaceWithoutImageLeavesOutTheImageChunk) {
    Fixture f;
    for (const std::optional<document::Image>& image :
         {std::optional<document::Image>(), document::MakeImage(0, 0)}) {
        f.Face->Content.Image = image ? std::make_shared<const document::Image>(*image) : nullptr;
        const base::Result<std::vector<std::uint8_t>> encoded = EncodeTfFile(*f.Face);
        ASSERT_EQ(encoded.Error, "");
        EXPECT_EQ(
            encoded.Value.value_or(Bytes{}),
            Concat({Magic, Chunk(2, Le32(0)), Chunk(3, Le32(0)), Chunk(4, Le32(0)), EndChunk}));
    }
}

Bytes CharacterPayload(const document::Typeface& face) {
    const Bytes file = EncodeTfFile(face).Value.value_or(Bytes{});
    const auto starts = ChunkStarts(file);
    // No image: the characters are the first chunk; skip the header and the type.
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(starts[0] + 8),
                 file.begin() + static_cast<std::ptrdiff_t>(starts[1]));
}

TEST(TfWrite, OneCharacterRecordBytes) {
    Fixture f;
    Add(*f.Face, 65, {0, 0, 10, 16}, {1, 2, 10, 16});
    EXPECT_EQ(
        CharacterPayload(*f.Face),
        (Bytes{0x02, 0,    0,    0,    0x01, 0,    0,    0,    0x41, 0x00, 0x00, 0x00, 0x00,
               0x00, 0x0A, 0x00, 0x10, 0x00, 0x01, 0x00, 0x02, 0x00, 0x0A, 0x00, 0x10, 0x00}));
}

struct FieldCase {
    const char* Name;
    std::int64_t Index;
    std::int64_t OutlayX;
    Bytes Stored;           // the record's first four bytes: Index, Outlay X
    std::int64_t ReadIndex; // what comes back
    std::int64_t ReadX;
};

TEST(TfWrite, SixteenBitFieldsReadBackSignExtended) {
    const FieldCase cases[] = {
        {"negative offset", 65, -2, {0x41, 0x00, 0xFE, 0xFF}, 65, -2},
        {"largest code", 0xFFFF, 0, {0xFF, 0xFF, 0x00, 0x00}, 65535, 0},
        {"int16 limits", 1, -32768, {0x01, 0x00, 0x00, 0x80}, 1, -32768},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Fixture f;
        Add(*f.Face, c.Index, {c.OutlayX, 0, 0, 0}, {});
        const base::Result<std::vector<std::uint8_t>> encoded = EncodeTfFile(*f.Face);
        const Bytes payload = CharacterPayload(*f.Face);
        ASSERT_EQ(payload.size(), 8U + 18U);
        EXPECT_EQ(Bytes(payload.begin() + 8, payload.begin() + 12), c.Stored);
        EXPECT_EQ(encoded.Error, "");

        const auto read = ReadFile(encoded.Value.value_or(Bytes{}));
        EXPECT_TRUE(read->Warnings.empty());
        ASSERT_EQ(read->Face->Content.Characters.Size(), 1U);
        const document::Character& back = *read->Face->Content.Characters.begin();
        EXPECT_EQ(back.Index, c.ReadIndex);
        EXPECT_EQ(back.Outlay.X, c.ReadX);
        EXPECT_EQ(document::FindCharacter(*read->Face, c.ReadIndex), &back);
    }
}

// 4000 cells of 10 x 100 packed ten to a row, so the rows reach down to 39900. At 13 cells a row
// (130 pixels) the last row starts at 30700; at 12 (129 pixels) it would start at 33300.
void AddTallColumnOfRows(document::Typeface& face) {
    for (std::int64_t i = 0; i < 4000; ++i) {
        Add(face, i, {}, {(i % 10) * 10, (i / 10) * 100, 10, 100});
    }
}

TEST(TfWrite, ValuesBeyondTheirFieldAreRefusedWithTheFirstNamed) {
    const struct {
        const char* Name;
        void (*Fill)(document::Typeface&);
        FieldLimits Limits;
        std::string Reason;
        std::optional<std::int64_t> Width;
    } cases[] = {
        {"metric above 16 bits",
         [](document::Typeface& t) {
             Add(t, 65, {0, 0, 40000, 0}, {});
         },
         TfFieldLimits, "character 65: Outlay Width 40000 does not fit a .tf file (-32768..32767)",
         std::nullopt},
        {"first of several",
         [](document::Typeface& t) {
             Add(t, 66, {}, {0, 0, 0, -50000});
             Add(t, 65, {-40000, 0, 0, 0}, {});
         },
         TfFieldLimits,
         "character 66: Source Height -50000 does not fit a .tf file (-32768..32767)",
         std::nullopt},
        {"code above 16 bits", [](document::Typeface& t) { Add(t, 0x10041, {}, {}); },
         TfFieldLimits, "the character code 65601 does not fit a .tf file (0..65535)",
         std::nullopt},
        {"kerning amount", [](document::Typeface& t) { document::AddKerningPair(t, 1, 2, 70000); },
         TfFieldLimits,
         "the kerning pair 1, 2: amount 70000 does not fit a .tf file (-32768..32767)",
         std::nullopt},
        {"cell position", &AddTallColumnOfRows, TfFieldLimits,
         "character 3280: Source Y 32800 does not fit a .tf file (-32768..32767); packed into a "
         "picture 130 pixels wide, every cell would fit",
         130},
        {"no width fits",
         [](document::Typeface& t) {
             for (std::int64_t i = 0; i < 3; ++i) {
                 Add(t, i, {}, {40000, 0, 20000, 20000});
             }
         },
         TfFieldLimits,
         "character 0: Source X 40000 does not fit a .tf file (-32768..32767); no "
         "picture width packs every cell within that range",
         std::nullopt},
        {"XML metrics are 32-bit",
         [](document::Typeface& t) {
             Add(t, 65, {0, -3000000000, 0, 0}, {});
         },
         XmlImageFieldLimits,
         "character 65: Outlay Y -3000000000 does not fit an XML & Image description "
         "(-2147483648..2147483647)",
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Fixture f;
        c.Fill(*f.Face);
        const std::optional<FieldBeyondLimits> beyond = FindFieldBeyondLimits(*f.Face, c.Limits);
        ASSERT_TRUE(beyond);
        EXPECT_EQ(beyond->Reason, c.Reason);
        EXPECT_EQ(beyond->FittingWidth, c.Width);
        EXPECT_EQ(CheckFieldLimits(*f.Face, c.Limits).Error, c.Reason);
        if (c.Limits.MetricMax == TfFieldLimits.MetricMax) {
            const base::Result<std::vector<std::uint8_t>> encoded = EncodeTfFile(*f.Face);
            EXPECT_EQ(encoded.Error, c.Reason);
            EXPECT_TRUE(encoded.Value.value_or(Bytes{}).empty());
        }
    }
}

TEST(TfWrite, ValuesAtTheEndsOfTheirFieldsFit) {
    Fixture f;
    Add(*f.Face, 65535, {-32768, 0, 32767, 0}, {32767, -32768, 0, 1});
    document::AddKerningPair(*f.Face, 65535, 0, -32768);
    EXPECT_FALSE(FindFieldBeyondLimits(*f.Face, TfFieldLimits).has_value());
    EXPECT_TRUE(CheckFieldLimits(*f.Face, TfFieldLimits));
    EXPECT_TRUE(CheckFieldLimits(*f.Face, XmlImageFieldLimits));
}

TEST(TfWrite, PairRecordBytes) {
    Fixture f;
    document::AddKerningPair(*f.Face, 0x41, 0x56, -3);
    const Bytes file = EncodeTfFile(*f.Face).Value.value_or(Bytes{});
    EXPECT_EQ(file, Concat({Magic, Chunk(2, Le32(0)),
                            Chunk(3, Concat({Le32(1), {0x41, 0x00, 0x56, 0x00, 0xFD, 0xFF}})),
                            Chunk(4, Le32(0)), EndChunk}));
}

TEST(TfWrite, PropertyBytesAreUtf8InMapOrder) {
    Fixture f;
    f.Face->Content.Properties["Comment"] = "\xC3\xA4"
                                            "b";
    f.Face->Content.Properties["A"] = "";
    const Bytes file = EncodeTfFile(*f.Face).Value.value_or(Bytes{});
    const Bytes entries{0x41, 0x00, 0x00, // "A", "" sorts first
                        0x43, 0x6F, 0x6D, 0x6D, 0x65, 0x6E, 0x74, 0x00, 0xC3, 0xA4, 0x62, 0x00};
    EXPECT_EQ(file, Concat({Magic, Chunk(2, Le32(0)), Chunk(3, Le32(0)),
                            Chunk(4, Concat({Le32(2), entries})), EndChunk}));
}

TEST(TfWrite, EndChunkIsTheFixedTwelveBytes) {
    Fixture f;
    FillSample(*f.Face);
    const Bytes file = EncodeTfFile(*f.Face).Value.value_or(Bytes{});
    ASSERT_GE(file.size(), 12U);
    EXPECT_EQ(Bytes(file.end() - 12, file.end()), EndChunk);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 8),
              (Bytes{0x54, 0x83, 0x7C, 0x31, 0x2E, 0x34, 0x30, 0x7C}));
}

TEST(TfWrite, RefusesWhatTheFormatCannotHold) {
    Fixture f;
    f.Face->Content.Properties["Comment"] = std::string("a\0b", 3);
    base::Result<std::vector<std::uint8_t>> encoded = EncodeTfFile(*f.Face);
    EXPECT_NE(encoded.Error.find("zero byte"), std::string::npos);
    EXPECT_TRUE(encoded.Value.value_or(Bytes{}).empty());

    Fixture g;
    document::Image
        unencodable; // larger than PNG allows; the encoder refuses before touching pixels
    unencodable.Width = std::int64_t{1} << 31;
    unencodable.Height = 1;
    g.Face->Content.Image = std::make_shared<const document::Image>(unencodable);
    encoded = EncodeTfFile(*g.Face);
    EXPECT_NE(encoded.Error.find("PNG"), std::string::npos);
    EXPECT_TRUE(encoded.Value.value_or(Bytes{}).empty());
}

// --- Reading -----------------------------------------------------------------------------------

TEST(TfRead, RoundTripGivesIdenticalBytesAndRecords) {
    Fixture f;
    FillSample(*f.Face);
    const Bytes first = EncodeTfFile(*f.Face).Value.value_or(Bytes{});
    const auto read = ReadFile(first);
    EXPECT_TRUE(read->Warnings.empty());
    const document::TypefaceContent& back = read->Face->Content;

    EXPECT_EQ(EncodeTfFile(*read->Face).Value.value_or(Bytes{}), first);
    ASSERT_TRUE(back.Image);
    EXPECT_EQ(back.Image->Pixels, f.Face->Content.Image->Pixels);
    ASSERT_TRUE(back.Sprite);
    EXPECT_EQ(back.Sprite->Pixels, back.Image->Pixels);
    ASSERT_TRUE(document::FlippedSprite(back));
    EXPECT_EQ(document::FlippedSpriteHeight(back), 3);
    EXPECT_EQ(document::FlippedSprite(back)->At(0, 0), back.Image->At(0, 2));
    EXPECT_EQ(Codes(*read->Face), (std::vector<std::int64_t>{65, 66}));
    EXPECT_EQ(document::FindCharacter(*read->Face, 66)->Outlay, (document::Rect64{-2, 3, 9, 16}));
    EXPECT_EQ(document::FindCharacter(*read->Face, 66)->Source, (document::Rect64{12, 2, 9, 16}));
    EXPECT_EQ(Keys(*read->Face),
              (std::vector<std::int64_t>{document::MakePairKey(65, 86), 0xFFFF0000}));
    EXPECT_EQ(document::KerningAmount(*read->Face, document::MakePairKey(65, 86)), -3);
    EXPECT_EQ(back.Properties, f.Face->Content.Properties);
}

// What survives of FillSample's typeface when the chunks at the given positions (0 = picture,
// 1 = characters, 2 = pairs, 3 = properties) have one payload byte flipped.
struct CrcDamageCase {
    const char* Name;
    std::vector<std::size_t> Damaged;
    std::vector<std::string> Warnings;
};

TEST(TfRead, CrcDamageCostsOnlyTheDamagedChunks) {
    const CrcDamageCase cases[] = {
        {"picture", {0}, {"chunk 1: CRC mismatch, chunk skipped"}},
        {"characters", {1}, {"chunk 2: CRC mismatch, chunk skipped"}},
        {"pairs", {2}, {"chunk 3: CRC mismatch, chunk skipped"}},
        {"properties, before the end chunk", {3}, {"chunk 4: CRC mismatch, chunk skipped"}},
        {"two in a row",
         {1, 2},
         {"chunk 2: CRC mismatch, chunk skipped", "chunk 3: CRC mismatch, chunk skipped"}},
        {"every chunk but the end",
         {0, 1, 2, 3},
         {"chunk 1: CRC mismatch, chunk skipped", "chunk 2: CRC mismatch, chunk skipped",
          "chunk 3: CRC mismatch, chunk skipped", "chunk 4: CRC mismatch, chunk skipped"}},
    };
    Fixture f;
    FillSample(*f.Face);
    const Bytes intact = EncodeTfFile(*f.Face).Value.value_or(Bytes{});
    const auto starts = ChunkStarts(intact);
    for (const CrcDamageCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Bytes file = intact;
        for (const std::size_t chunk : c.Damaged) {
            file[starts[chunk] + 8 + 4] ^= 0x01; // the first byte after the chunk type
        }
        const auto read = ReadFile(file);
        const auto intactChunk = [&](std::size_t chunk) {
            return std::find(c.Damaged.begin(), c.Damaged.end(), chunk) == c.Damaged.end();
        };
        const document::TypefaceContent& back = read->Face->Content;
        EXPECT_EQ(read->Warnings, c.Warnings);
        EXPECT_EQ(back.Image != nullptr, intactChunk(0));
        EXPECT_EQ(Codes(*read->Face),
                  intactChunk(1) ? Codes(*f.Face) : std::vector<std::int64_t>{});
        EXPECT_EQ(Keys(*read->Face), intactChunk(2) ? Keys(*f.Face) : std::vector<std::int64_t>{});
        const std::map<std::string, std::string> none;
        EXPECT_EQ(back.Properties, intactChunk(3) ? f.Face->Content.Properties : none);
    }
}

// A damaged chunk is stepped over only when its size leads to a whole chunk of a known type.
TEST(TfRead, CrcDamageWhereNoChunkFollowsStopsReading) {
    const Bytes characters = Chunk(2, Concat({Le32(1), Bytes(18, 0)}));
    Bytes damaged = characters;
    damaged[12] ^= 0x01;
    const struct {
        const char* Name;
        Bytes Chunks; // after the signature
        std::vector<std::string> Warnings;
        std::size_t Characters;
    } cases[] = {
        {"the damaged chunk ends the data", damaged, {"chunk 1: CRC mismatch, reading stopped"}, 0},
        {"a cut-off header follows",
         Concat({damaged, {4, 0, 0}}),
         {"chunk 1: CRC mismatch, reading stopped"},
         0},
        {"a negative size follows",
         Concat({damaged, Le32(0xFFFFFFFF), Le32(0), Le32(2)}),
         {"chunk 1: CRC mismatch, reading stopped"},
         0},
        {"a size beyond the data follows",
         Concat({damaged, Le32(64), Le32(0), Le32(2)}),
         {"chunk 1: CRC mismatch, reading stopped"},
         0},
        {"a chunk of a reserved type follows",
         Concat({damaged, Chunk(9, {1, 2}), EndChunk}),
         {"chunk 1: CRC mismatch, reading stopped"},
         0},
        {"a damaged end chunk",
         Concat({characters, Bytes{4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}),
         {"chunk 2: CRC mismatch, reading stopped"},
         1},
        {"a damaged chunk before the end chunk",
         Concat({damaged, EndChunk}),
         {"chunk 1: CRC mismatch, chunk skipped"},
         0},
        {"a damaged chunk before a sound one",
         Concat({damaged, characters, EndChunk}),
         {"chunk 1: CRC mismatch, chunk skipped"},
         1},
        {"a damaged chunk before a cut-off one",
         Concat({damaged, characters, Bytes{4, 0}}),
         {"chunk 1: CRC mismatch, chunk skipped",
          "chunk 3: the chunk header is cut off after 2 of 8 bytes, reading stopped"},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto read = ReadFile(Concat({Magic, c.Chunks}));
        EXPECT_EQ(read->Warnings, c.Warnings);
        EXPECT_EQ(read->Face->Content.Characters.Size(), c.Characters);
    }
}

TEST(TfRead, TruncationAtEveryLengthKeepsCompleteChunksAndWarnsOnce) {
    Fixture f;
    FillSample(*f.Face);
    const Bytes file = EncodeTfFile(*f.Face).Value.value_or(Bytes{});
    const auto starts = ChunkStarts(file); // image, characters, pairs, properties, end, size
    ASSERT_EQ(starts.size(), 6U);
    for (std::size_t length = 8; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        // Copy, so that ASan sees a read past the cut.
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        const auto read = ReadFile(cut);
        std::size_t complete = 0;
        while (starts[complete + 1] <= length) {
            ++complete;
        }
        ASSERT_EQ(read->Warnings.size(), 1U);
        EXPECT_EQ(read->Warnings[0].rfind("chunk " + std::to_string(complete + 1) + ": ", 0), 0U)
            << read->Warnings[0];
        const document::TypefaceContent& back = read->Face->Content;
        EXPECT_EQ((back.Image != nullptr), complete >= 1);
        EXPECT_EQ(back.Characters.Size(), complete >= 2 ? 2U : 0U);
        EXPECT_EQ(back.KerningPairs.Size(), complete >= 3 ? 2U : 0U);
        EXPECT_EQ(back.Properties.size(), complete >= 4 ? 2U : 0U);
    }
    EXPECT_EQ(ReadFile(file)->Warnings.size(), 0U);
}

TEST(TfRead, ChunksInAnyOrderAndNumberAccumulate) {
    const Bytes character65 = {0x41, 0, 1, 0, 0, 0, 5, 0, 9, 0, 0, 0, 0, 0, 2, 0, 2, 0};
    const Bytes character66 = {0x42, 0, 2, 0, 0, 0, 6, 0, 9, 0, 2, 0, 0, 0, 2, 0, 2, 0};
    const auto png = testsupport::PngBytes(TestPicture(2, 2));
    ASSERT_TRUE(png);
    const Bytes file = Concat({
        Magic,
        Chunk(4, Concat({Le32(1), {'K', 0, '1', 0}})),
        Chunk(3, Concat({Le32(1), {0x41, 0, 0x42, 0, 0xFF, 0xFF}})),
        Chunk(2, Concat({Le32(1), character66})),
        Chunk(9, {1, 2, 3}), // reserved type, skipped
        Chunk(2, Concat({Le32(2), character65, character66})),
        Chunk(1, *png),
        Chunk(3, Concat({Le32(1), {0x41, 0, 0x42, 0, 0x05, 0x00}})),
        Chunk(4, Concat({Le32(2), {'K', 0, '2', 0, 'L', 0, 0}})),
        EndChunk,
        {0xDE, 0xAD}, // after the end chunk: not looked at
    });
    const auto read = ReadFile(file);
    EXPECT_TRUE(read->Warnings.empty());
    const document::TypefaceContent& back = read->Face->Content;
    EXPECT_EQ(Codes(*read->Face), (std::vector<std::int64_t>{66, 65, 66}));
    EXPECT_EQ(document::FindCharacter(*read->Face, 66), &back.Characters.Items.back());
    EXPECT_EQ(back.KerningPairs.Size(), 2U);
    EXPECT_EQ(document::KerningAmount(*read->Face, document::MakePairKey(0x41, 0x42)),
              -1); // the first one added
    EXPECT_EQ(back.Properties, (std::map<std::string, std::string>{{"K", "2"}, {"L", ""}}));
    ASSERT_TRUE(back.Image);
    EXPECT_EQ(back.Image->Width, 2);
}

struct DamageCase {
    const char* Name;
    Bytes Chunks; // after the signature
    const char* Warning;
};

TEST(TfRead, DamagedChunksEndReadingWithAReason) {
    const Bytes characters = Chunk(2, Concat({Le32(1), Bytes(18, 0)}));
    const DamageCase cases[] = {
        {"nothing at all", {}, "chunk 1: the data ends without an end chunk, reading stopped"},
        {"no end chunk", characters,
         "chunk 2: the data ends without an end chunk, reading stopped"},
        {"negative size", Concat({characters, Le32(0xFFFFFFFE), Le32(0)}),
         "chunk 2: invalid payload size -2, reading stopped"},
        {"size too small for a type", Concat({characters, Le32(2), Le32(0), {0, 0}}),
         "chunk 2: invalid payload size 2, reading stopped"},
        {"absurd size", Concat({characters, Le32(0x7FFFFFFF), Le32(0), Le32(2)}),
         "chunk 2: the payload of 2147483647 bytes runs past the end of the data (4 bytes left), "
         "reading stopped"},
        {"count beyond payload", Concat({Chunk(2, Concat({Le32(2), Bytes(18, 0)})), EndChunk}),
         "chunk 1: 2 records do not fit in the chunk (room for 1), reading stopped"},
        {"huge count", Concat({Chunk(3, Concat({Le32(0x7FFFFFFF), Bytes(6, 0)})), EndChunk}),
         "chunk 1: 2147483647 records do not fit in the chunk (room for 1), reading stopped"},
        {"negative count", Concat({characters, Chunk(3, Le32(0xFFFFFFFF)), EndChunk}),
         "chunk 2: negative record count -1, reading stopped"},
        {"count cut off", Concat({Chunk(2, {1, 0}), EndChunk}),
         "chunk 1: the record count is cut off, reading stopped"},
        {"property without its 0 byte",
         Concat({Chunk(4, Concat({Le32(1), {'K', 0, 'v'}})), EndChunk}),
         "chunk 1: property 1 of 1 runs past the end of the chunk, reading stopped"},
        {"more properties than stored",
         Concat({Chunk(4, Concat({Le32(3), {'K', 0, 'v', 0}})), EndChunk}),
         "chunk 1: property 2 of 3 runs past the end of the chunk, reading stopped"},
        {"negative property count", Concat({Chunk(4, Le32(0x80000000)), EndChunk}),
         "chunk 1: negative entry count -2147483648, reading stopped"},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto read = ReadFile(Concat({Magic, c.Chunks}));
        EXPECT_EQ(read->Warnings, std::vector<std::string>{c.Warning});
        // A refused chunk adds nothing of its own.
        EXPECT_TRUE(read->Face->Content.Properties.empty());
        EXPECT_TRUE(read->Face->Content.KerningPairs.Empty());
        EXPECT_LE(read->Face->Content.Characters.Size(), 1U);
    }
}

// --- The image chunk ---------------------------------------------------------------------------

Bytes Be32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

Bytes PngChunk(const char type[4], const Bytes& data) {
    const Bytes body = Concat({Bytes(type, type + 4), data});
    const auto crc =
        static_cast<std::uint32_t>(crc32(0L, body.data(), static_cast<uInt>(body.size())));
    const auto size = static_cast<std::uint32_t>(data.size());
    return Concat({Be32(size), body, Be32(crc)});
}

TEST(TfImage, UnreadablePngIsDroppedAndTheRestIsRead) {
    const Bytes characters = Chunk(2, Concat({Le32(1), Bytes(18, 0)}));
    const Bytes pairs = Chunk(3, Concat({Le32(1), {0x41, 0, 0x56, 0, 0xFD, 0xFF}}));
    const Bytes properties = Chunk(4, Concat({Le32(1), {'K', 0, 'v', 0}}));
    auto pngOfSize = [](std::uint32_t width, std::uint32_t height) {
        const Bytes header = Concat({Be32(width), Be32(height), {8, 6, 0, 0, 0}});
        return Concat({{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A},
                       PngChunk("IHDR", header),
                       PngChunk("IDAT", {0x78, 0x9C, 0x03, 0x00}),
                       PngChunk("IEND", {})});
    };
    const Bytes whole = *testsupport::PngBytes(TestPicture(16, 16));
    const struct {
        const char* Name;
        Bytes Png;
        const char* Reason;
    } cases[] = {
        {"not a PNG", {'G', 'I', 'F', '8', '9', 'a'}, "not a readable PNG picture"},
        // A valid header announcing 70000 × 70000 RGBA pixels, far beyond the 1 GiB limit.
        {"too large", pngOfSize(70000, 70000), "exceeds the limit of 1 GiB"},
        {"zero size", pngOfSize(0, 16), "not a readable PNG picture"},
        {"cut inside the pixel data", Bytes(whole.begin(), whole.end() - 20),
         "damaged PNG picture"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto read = ReadFile(
            Concat({Magic, characters, Chunk(1, c.Png), characters, pairs, properties, EndChunk}));
        ASSERT_EQ(read->Warnings.size(), 1U);
        EXPECT_EQ(read->Warnings[0].rfind(
                      "chunk 2: the picture was dropped because it could not be read (", 0),
                  0U)
            << read->Warnings[0];
        EXPECT_NE(read->Warnings[0].find(c.Reason), std::string::npos) << read->Warnings[0];
        const document::TypefaceContent& back = read->Face->Content;
        EXPECT_FALSE(back.Image);
        EXPECT_FALSE(back.Sprite);
        EXPECT_EQ(back.Characters.Size(), 2U); // the chunks on both sides
        EXPECT_EQ(document::KerningAmount(*read->Face, document::MakePairKey(0x41, 0x56)), -3);
        EXPECT_EQ(back.Properties.at("K"), "v");
    }
}

TEST(TfImage, IncompressiblePictureSavesAndReadsBackExactly) {
    // Noise compresses worst, so the encoder's buffer must hold a PNG larger than the pixels.
    document::Image noise = *document::MakeImage(97, 61);
    std::uint32_t state = 1;
    for (std::uint32_t& pixel : noise.Pixels) {
        state = state * 1664525U + 1013904223U;
        pixel = state;
    }
    Fixture f;
    document::SetCharacterSetImage(*f.Face, noise);
    const base::Result<std::vector<std::uint8_t>> encoded = EncodeTfFile(*f.Face);
    ASSERT_EQ(encoded.Error, "");
    EXPECT_GT(encoded.Value.value_or(Bytes{}).size(), noise.Pixels.size() * 4);
    const auto read = ReadFile(encoded.Value.value_or(Bytes{}));
    EXPECT_TRUE(read->Warnings.empty());
    ASSERT_TRUE(read->Face->Content.Image);
    EXPECT_EQ(read->Face->Content.Image->Pixels, noise.Pixels);
}

// Encodes 2 × 2 pixels with libpng's simplified writer in the given format.
Bytes WritePng(png_uint_32 format, const void* pixels, const void* colormap = nullptr,
               png_uint_32 colormapEntries = 0) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = 2;
    png.height = 2;
    png.format = format;
    png.colormap_entries = colormapEntries;
    Bytes out(PNG_IMAGE_PNG_SIZE_MAX(png));
    png_alloc_size_t size = out.size();
    EXPECT_NE(png_image_write_to_memory(&png, out.data(), &size, 0, pixels, 0, colormap), 0)
        << png.message;
    out.resize(size);
    return out;
}

TEST(TfImage, PngOfOtherColourTypesReadsAsRgba) {
    const std::uint8_t grey[] = {0x00, 0x40, 0x80, 0xFF};
    const std::uint8_t greyAlpha[] = {0x10, 0x00, 0x20, 0x80, 0x30, 0xFF, 0xFF, 0x40};
    const std::uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::uint8_t paletteIndexes[] = {0, 1, 1, 2};
    const std::uint8_t palette[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0}; // RGBA entries
    // Linear 16-bit grey and alpha, premultiplied as libpng's linear formats are.
    const std::uint16_t deep[] = {0, 65535, 0, 0, 65535, 65535, 0, 65535};
    const struct {
        const char* Name;
        Bytes Png;
        std::vector<std::uint32_t> Expected; // 0xAABBGGRR
    } cases[] = {
        {"grey", WritePng(PNG_FORMAT_GRAY, grey), {0xFF000000, 0xFF404040, 0xFF808080, 0xFFFFFFFF}},
        {"grey with alpha",
         WritePng(PNG_FORMAT_GA, greyAlpha),
         {0x00101010, 0x80202020, 0xFF303030, 0x40FFFFFF}},
        {"rgb", WritePng(PNG_FORMAT_RGB, rgb), {0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}},
        {"palette with transparency",
         WritePng(PNG_FORMAT_RGBA_COLORMAP, paletteIndexes, palette, 3),
         {0xFF0000FF, 0x8000FF00, 0x8000FF00, 0x00FF0000}},
        {"16-bit grey with alpha",
         WritePng(PNG_FORMAT_LINEAR_Y_ALPHA, deep),
         {0xFF000000, 0x00000000, 0xFFFFFFFF, 0xFF000000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto read = ReadFile(Concat({Magic, Chunk(1, c.Png), EndChunk}));
        EXPECT_TRUE(read->Warnings.empty());
        ASSERT_TRUE(read->Face->Content.Image);
        const document::Image& image = *read->Face->Content.Image;
        EXPECT_EQ(image.Width, 2);
        EXPECT_EQ(image.Height, 2);
        // Transparent pixels may have any colour after premultiplied conversions; compare alpha
        // there and the whole pixel elsewhere.
        for (std::size_t i = 0; i < 4; ++i) {
            if (document::Alpha(c.Expected[i]) == 0) {
                EXPECT_EQ(document::Alpha(image.Pixels[i]), 0U) << i;
            } else {
                EXPECT_EQ(image.Pixels[i], c.Expected[i]) << i;
            }
        }
        // Saved again, the picture is written as 8-bit grey + alpha when it is grey, else RGBA.
        const Bytes again = EncodeTfFile(*read->Face).Value.value_or(Bytes{});
        const base::Result<document::Image> decoded =
            DecodePng(std::span<const std::uint8_t>(again).subspan(8 + 8 + 4));
        ASSERT_TRUE(decoded.Value);
        EXPECT_EQ(decoded.Value->Pixels, image.Pixels);
        EXPECT_EQ(again[8 + 8 + 4 + 16 + 8], 8); // IHDR bit depth
        const bool grey = std::all_of(image.Pixels.begin(), image.Pixels.end(), [](auto pixel) {
            return document::Red(pixel) == document::Green(pixel) &&
                   document::Green(pixel) == document::Blue(pixel);
        });
        EXPECT_EQ(again[8 + 8 + 4 + 16 + 9], grey ? 4 : 6); // IHDR colour type
    }
}

// --- Writing files -----------------------------------------------------------------------------

// Each test writes into a folder of its own.
class TfFileOnDisk : public ::testing::Test {
protected:
    testsupport::ScratchFolder folder_;
};

TEST_F(TfFileOnDisk, WritesTheEncodedBytesAndReplacesAnOldFile) {
    Fixture f;
    FillSample(*f.Face);
    const std::string path = folder_.File("sample.tf");
    ASSERT_EQ(base::WriteFileAtomically(path, Bytes(100000, 0xAB)).Error, "");

    const base::Result<base::Done> saved = WriteTfFile(*f.Face, path);
    EXPECT_TRUE(saved.Ok());
    EXPECT_EQ(saved.Error, "");
    const base::Result<Bytes> read = base::ReadWholeFile(path);
    ASSERT_EQ(read.Error, "");
    const Bytes onDisk = read.Value.value_or(Bytes{});
    EXPECT_EQ(onDisk, EncodeTfFile(*f.Face).Value.value_or(Bytes{}));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(TfFileOnDisk, ReportsWhyNothingWasWritten) {
    Fixture f;
    FillSample(*f.Face);
    const base::Result<base::Done> missing = WriteTfFile(*f.Face, folder_.File("no/such.tf"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_NE(missing.Error.find("No such file"), std::string::npos) << missing.Error;

    f.Face->Content.Properties["Comment"] = std::string("\0", 1);
    const std::string path = folder_.File("x.tf");
    const base::Result<base::Done> refused = WriteTfFile(*f.Face, path);
    EXPECT_FALSE(refused.Ok());
    EXPECT_NE(refused.Error.find("zero byte"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));

    if (::geteuid() != 0) { // root writes anywhere
        f.Face->Content.Properties.clear();
        std::filesystem::permissions(folder_.Path(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
        const base::Result<base::Done> denied = WriteTfFile(*f.Face, path);
        EXPECT_FALSE(denied.Ok());
        EXPECT_NE(denied.Error.find("Permission denied"), std::string::npos) << denied.Error;
    }
}

using testsupport::FileSizeLimit;

TEST_F(TfFileOnDisk, AWriteThatFailsMidwayKeepsTheOldFileAndLeavesNoTemporary) {
    Fixture f;
    FillSample(*f.Face);
    document::SetCharacterSetImage(*f.Face,
                                   TestPicture(300, 300)); // noise deflates to well over 4 KiB
    const std::string path = folder_.File("sample.tf");
    const Bytes old(100, 0xAB);
    ASSERT_EQ(base::WriteFileAtomically(path, old).Error, "");

    const FileSizeLimit limit(4096);
    const base::Result<base::Done> saved = WriteTfFile(*f.Face, path);
    EXPECT_FALSE(saved.Ok());
    EXPECT_NE(saved.Error.find("File too large"), std::string::npos) << saved.Error;
    EXPECT_EQ(base::ReadWholeFile(path).Value.value_or(Bytes{}), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(TfFileOnDisk, ValuesBeyondSixteenBitsWriteNothing) {
    Fixture f;
    const std::string path = folder_.File("big.tf");
    Add(*f.Face, 65, {0, 0, 100000, 0}, {});
    const base::Result<base::Done> refused = WriteTfFile(*f.Face, path);
    EXPECT_FALSE(refused.Ok());
    EXPECT_EQ(refused.Error.rfind("character 65: Outlay Width 100000", 0), 0U) << refused.Error;
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace glyfora::formats
