// Feeds arbitrary bytes to the ".tf" reader. Whatever it reads must save without error and read
// back to the same bytes without warnings.
#include "formats/TypefaceFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

using namespace glyfora::base;
using namespace glyfora::document;
using namespace glyfora::formats;

std::uint32_t ReadLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Rewrites each chunk's CRC to match its payload, so that mutations inside a payload reach the
// chunk parsers instead of all ending at the CRC check.
void FixChunkCrcs(std::vector<std::uint8_t>& chunks) {
    std::size_t offset = 0;
    while (chunks.size() - offset >= 8) {
        const auto size = static_cast<std::int32_t>(ReadLe32(chunks.data() + offset));
        if (size < 0 || static_cast<std::size_t>(size) > chunks.size() - offset - 8) {
            return;
        }
        const auto crc = static_cast<std::uint32_t>(
            crc32(0L, chunks.data() + offset + 8, static_cast<uInt>(size)));
        for (int i = 0; i < 4; ++i) {
            chunks[offset + 4 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (8 * i));
        }
        offset += 8 + static_cast<std::size_t>(size);
    }
}

// One registry for the whole run: each input replaces the typefaces under the two ids, which
// keeps the per-input cost down to the typefaces themselves.
TypefaceRegistry& Registry() {
    static TypefaceRegistry registry;
    return registry;
}

Result<std::vector<std::uint8_t>> ReadAndEncode(std::int64_t id,
                                                std::span<const std::uint8_t> chunks,
                                                std::vector<std::string>& warnings) {
    Typeface* face = CreateTypeface(Registry(), id);
    ReadTfChunks(*face, chunks, warnings);
    return EncodeTfFile(*face);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    // Whole files (with the signature) get matching CRCs; other inputs are taken as chunks as they
    // are, which exercises the CRC and header checks. The copy is exactly as long as the data, so
    // a read past its end is caught.
    std::vector<std::uint8_t> chunks;
    if (size >= TfMagic.size() && std::equal(TfMagic.begin(), TfMagic.end(), input.begin())) {
        chunks.assign(input.begin() + TfMagic.size(), input.end());
        FixChunkCrcs(chunks);
    } else {
        chunks.assign(input.begin(), input.end());
    }
    std::vector<std::string> warnings;
    const Result<std::vector<std::uint8_t>> first = ReadAndEncode(5, chunks, warnings);
    // 16-bit fields, 0-free strings and decoded pictures always fit the format again.
    if (!first) {
        std::abort();
    }
    std::vector<std::string> secondWarnings;
    const Result<std::vector<std::uint8_t>> second =
        ReadAndEncode(6, std::span(*first.Value).subspan(TfMagic.size()), secondWarnings);
    if (!secondWarnings.empty() || second.Value != first.Value) {
        std::abort();
    }
    return 0;
}
