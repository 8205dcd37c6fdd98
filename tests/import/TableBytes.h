#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace glyfora::fontimport::testing {

// Big-endian bytes of hand-built font tables.
struct TableBytes {
    std::vector<std::uint8_t> Data;

    TableBytes& U16(std::uint32_t value) {
        Data.push_back(static_cast<std::uint8_t>(value >> 8));
        Data.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    TableBytes& I16(std::int32_t value) { return U16(static_cast<std::uint16_t>(value)); }
    TableBytes& U32(std::uint32_t value) { return U16(value >> 16).U16(value & 0xFFFF); }
    TableBytes& Tag(const char (&tag)[5]) {
        Data.insert(Data.end(), tag, tag + 4);
        return *this;
    }
    TableBytes& Append(const TableBytes& other) {
        Data.insert(Data.end(), other.Data.begin(), other.Data.end());
        return *this;
    }
    void Patch16(std::size_t at, std::uint32_t value) {
        Data[at] = static_cast<std::uint8_t>(value >> 8);
        Data[at + 1] = static_cast<std::uint8_t>(value);
    }
    std::size_t Size() const { return Data.size(); }
};

// Coverage format 1 over ascending glyphs.
inline TableBytes CoverageList(std::initializer_list<std::uint16_t> glyphs) {
    TableBytes bytes;
    bytes.U16(1).U16(static_cast<std::uint16_t>(glyphs.size()));
    for (const auto glyph : glyphs) {
        bytes.U16(glyph);
    }
    return bytes;
}

} // namespace glyfora::fontimport::testing
