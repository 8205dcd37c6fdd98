#include "import/KernTable.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace glyfora::fontimport {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t PairRecordSize = 6;
constexpr std::size_t Format0HeaderSize = 8;

struct SubtableHeader {
    std::size_t Size = 0;   // header included
    std::size_t Header = 0; // bytes before the format 0 body
    bool Usable = false;    // horizontal kerning values in format 0
    bool Override = false;
};

struct Entry {
    std::uint16_t First = 0;
    std::uint16_t Second = 0;
    std::int32_t Amount = 0;
    std::uint32_t Subtable = 0;
    bool Override = false;
};

std::optional<SubtableHeader> ReadMicrosoftHeader(Bytes table, std::size_t at) {
    const auto length = ReadU16(table, at + 2);
    const auto coverage = ReadU16(table, at + 4);
    if (!length || !coverage) {
        return std::nullopt;
    }
    SubtableHeader header;
    header.Header = 6;
    header.Size = *length;
    const unsigned format = *coverage >> 8;
    header.Usable =
        format == 0 && (*coverage & 0x1) != 0 && (*coverage & 0x2) == 0 && (*coverage & 0x4) == 0;
    header.Override = (*coverage & 0x8) != 0;
    if (format == 0) {
        // The 16-bit length overflows for large subtables; fonts in the wild then carry the true
        // size modulo 65536, which the pair count gives back.
        const auto count = ReadU16(table, at + header.Header);
        if (count) {
            const std::size_t computed =
                header.Header + Format0HeaderSize + PairRecordSize * *count;
            if (computed > header.Size && (computed & 0xFFFF) == header.Size) {
                header.Size = computed;
            }
        }
    }
    return header;
}

std::optional<SubtableHeader> ReadAppleHeader(Bytes table, std::size_t at) {
    const auto length = ReadU32(table, at);
    const auto coverage = ReadU16(table, at + 4);
    if (!length || !coverage) {
        return std::nullopt;
    }
    SubtableHeader header;
    header.Header = 8;
    header.Size = *length;
    header.Usable = (*coverage & 0xFF) == 0 && (*coverage & 0xE000) == 0;
    return header;
}

} // namespace

std::vector<GlyphKerningPair> ReadKernTable(std::span<const std::uint8_t> kern,
                                            const GlyphSet& wanted, std::size_t maxPairs) {
    std::vector<GlyphKerningPair> pairs;
    const auto version = ReadU16(kern, 0);
    if (!version) {
        return pairs;
    }
    const bool apple = *version == 1 && ReadU16(kern, 2) == 0;
    std::size_t tableCount = 0;
    std::size_t at = 0;
    if (apple) {
        const auto count = ReadU32(kern, 4);
        tableCount = count ? *count : 0;
        at = 8;
    } else if (*version == 0) {
        const auto count = ReadU16(kern, 2);
        tableCount = count ? *count : 0;
        at = 4;
    }
    std::vector<Entry> entries;
    for (std::uint32_t subtable = 0; subtable < tableCount && at < kern.size(); ++subtable) {
        const auto header = apple ? ReadAppleHeader(kern, at) : ReadMicrosoftHeader(kern, at);
        if (!header || header->Size < header->Header + Format0HeaderSize) {
            break; // without a sound length the next subtable cannot be found
        }
        if (header->Usable) {
            const std::size_t body = at + header->Header;
            const auto count = ReadU16(kern, body);
            const std::size_t first = body + Format0HeaderSize;
            // Trust the pair count over the length, but never read past the table.
            const std::size_t available =
                first <= kern.size() ? (kern.size() - first) / PairRecordSize : 0;
            const std::size_t usable = std::min<std::size_t>(count ? *count : 0, available);
            for (std::size_t i = 0; i < usable && entries.size() < maxPairs; ++i) {
                const std::size_t record = first + i * PairRecordSize;
                const std::uint16_t left = *ReadU16(kern, record);
                const std::uint16_t right = *ReadU16(kern, record + 2);
                if (left < wanted.size() && wanted[left] && right < wanted.size() &&
                    wanted[right]) {
                    const auto amount = static_cast<std::int16_t>(*ReadU16(kern, record + 4));
                    entries.push_back({left, right, amount, subtable, header->Override});
                }
            }
        }
        if (header->Size > kern.size() - at) {
            break;
        }
        at += header->Size;
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.First != b.First ? a.First < b.First : a.Second < b.Second;
    });
    for (std::size_t i = 0; i < entries.size();) {
        std::int64_t amount = 0;
        std::size_t j = i;
        for (; j < entries.size() && entries[j].First == entries[i].First &&
               entries[j].Second == entries[i].Second;
             ++j) {
            // A pair repeated inside one subtable is looked up once: the first record counts.
            if (j > i && entries[j].Subtable == entries[j - 1].Subtable) {
                continue;
            }
            amount = entries[j].Override ? entries[j].Amount : amount + entries[j].Amount;
        }
        amount = std::clamp<std::int64_t>(amount, std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max());
        pairs.push_back({entries[i].First, entries[i].Second, static_cast<std::int32_t>(amount)});
        i = j;
    }
    SumGlyphKerningPairs(pairs); // drops the pairs that came out as 0
    return pairs;
}

} // namespace glyfora::fontimport
