#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace glyfora::fontimport {

// A glyph pair with its horizontal adjustment in font design units, as read from a kerning table.
struct GlyphKerningPair {
    std::uint16_t First = 0;
    std::uint16_t Second = 0;
    std::int32_t Amount = 0;
};

// Upper bound on the glyph pairs one table may yield: class kerning of a large font can expand to
// millions of pairs, and a damaged table must not make the import allocate without limit.
constexpr std::size_t MaxGlyphKerningPairs = std::size_t{1} << 22;

// Glyph ids that the caller can map back to characters; pairs of other glyphs are never produced.
using GlyphSet = std::vector<bool>;

// Big-endian reads that fail instead of reading past the end: font tables may be damaged.
[[nodiscard]] inline std::optional<std::uint16_t> ReadU16(std::span<const std::uint8_t> bytes,
                                                          std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

[[nodiscard]] inline std::optional<std::uint32_t> ReadU32(std::span<const std::uint8_t> bytes,
                                                          std::size_t offset) {
    const auto high = ReadU16(bytes, offset);
    const auto low = ReadU16(bytes, offset + 2);
    if (!high || !low) {
        return std::nullopt;
    }
    return (std::uint32_t{*high} << 16) | *low;
}

// True when count records of recordSize bytes starting at offset lie inside bytes.
[[nodiscard]] inline bool Fits(std::span<const std::uint8_t> bytes, std::size_t offset,
                               std::size_t count, std::size_t recordSize) {
    if (offset > bytes.size()) {
        return false;
    }
    return recordSize == 0 || count <= (bytes.size() - offset) / recordSize;
}

// Sorts pairs by first then second glyph and folds repeats into one pair whose amount is their
// sum (clamped to 32 bits); pairs that come out as 0 are dropped.
void SumGlyphKerningPairs(std::vector<GlyphKerningPair>& pairs);

} // namespace glyfora::fontimport
