#include "import/GposKerning.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace glyfora::fontimport {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t KernFeatureTag = 0x6B65726E; // "kern"
constexpr std::uint16_t PairPositioning = 2;
constexpr std::uint16_t ExtensionPositioning = 9;
constexpr std::uint16_t XAdvanceBit = 0x0004;
constexpr std::uint16_t NoRequiredFeature = 0xFFFF;
constexpr std::size_t GlyphIdCount = 0x10000;

// The part of bytes from offset on; empty when the offset points past the end.
Bytes From(Bytes bytes, std::size_t offset) {
    return offset <= bytes.size() ? bytes.subspan(offset) : Bytes{};
}

// Reads a 16-bit offset at `at` and returns the table it points to, or none for a null offset.
std::optional<Bytes> Child(Bytes parent, std::size_t at) {
    const auto offset = ReadU16(parent, at);
    if (!offset || *offset == 0 || *offset >= parent.size()) {
        return std::nullopt;
    }
    return parent.subspan(*offset);
}

struct Coverage {
    Bytes Table;
    std::uint16_t Format = 0;
    std::uint16_t Count = 0;
};

std::optional<Coverage> OpenCoverage(Bytes table) {
    const auto format = ReadU16(table, 0);
    const auto count = ReadU16(table, 2);
    if (!format || !count) {
        return std::nullopt;
    }
    if ((*format == 1 && Fits(table, 4, *count, 2)) ||
        (*format == 2 && Fits(table, 4, *count, 6))) {
        return Coverage{table, *format, *count};
    }
    return std::nullopt;
}

// Coverage index of glyph; the arrays were checked to fit when the table was opened.
std::optional<std::uint32_t> CoverageIndex(const Coverage& coverage, std::uint16_t glyph) {
    std::size_t low = 0;
    std::size_t high = coverage.Count;
    if (coverage.Format == 1) {
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            const std::uint16_t value = *ReadU16(coverage.Table, 4 + 2 * middle);
            if (value == glyph) {
                return static_cast<std::uint32_t>(middle);
            }
            if (value < glyph) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        return std::nullopt;
    }
    // Last range whose start is not above glyph.
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (*ReadU16(coverage.Table, 4 + 6 * middle) <= glyph) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == 0) {
        return std::nullopt;
    }
    const std::size_t record = 4 + 6 * (low - 1);
    const std::uint16_t start = *ReadU16(coverage.Table, record);
    const std::uint16_t end = *ReadU16(coverage.Table, record + 2);
    if (glyph > end) {
        return std::nullopt;
    }
    return std::uint32_t{*ReadU16(coverage.Table, record + 4)} + (glyph - start);
}

struct ClassDefinition {
    Bytes Table; // empty: every glyph is in class 0
    std::uint16_t Format = 0;
    std::uint16_t Start = 0;
    std::uint16_t Count = 0;
};

std::optional<ClassDefinition> OpenClassDefinition(Bytes subtable, std::size_t at) {
    const auto offset = ReadU16(subtable, at);
    if (!offset) {
        return std::nullopt;
    }
    if (*offset == 0) {
        return ClassDefinition{};
    }
    const Bytes table = From(subtable, *offset);
    const auto format = ReadU16(table, 0);
    if (format == 1) {
        const auto start = ReadU16(table, 2);
        const auto count = ReadU16(table, 4);
        if (start && count && Fits(table, 6, *count, 2)) {
            return ClassDefinition{table, 1, *start, *count};
        }
    } else if (format == 2) {
        const auto count = ReadU16(table, 2);
        if (count && Fits(table, 4, *count, 6)) {
            return ClassDefinition{table, 2, 0, *count};
        }
    }
    return std::nullopt;
}

std::uint16_t ClassOf(const ClassDefinition& classes, std::uint16_t glyph) {
    if (classes.Format == 1) {
        if (glyph < classes.Start || glyph - classes.Start >= classes.Count) {
            return 0;
        }
        return *ReadU16(classes.Table,
                        6 + 2 * std::size_t{static_cast<std::uint16_t>(glyph - classes.Start)});
    }
    if (classes.Format == 2) {
        std::size_t low = 0;
        std::size_t high = classes.Count;
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            const std::size_t record = 4 + 6 * middle;
            if (glyph < *ReadU16(classes.Table, record)) {
                high = middle;
            } else if (glyph > *ReadU16(classes.Table, record + 2)) {
                low = middle + 1;
            } else {
                return *ReadU16(classes.Table, record + 4);
            }
        }
    }
    return 0;
}

std::size_t ValueRecordSize(std::uint16_t format) {
    return 2 * static_cast<std::size_t>(std::popcount(static_cast<unsigned>(format & 0xFF)));
}

// One pair positioning subtable, checked and prepared for the glyphs wanted.
struct PairSubtable {
    Bytes Table;
    std::uint16_t Format = 0;
    Coverage FirstCoverage;
    bool HasXAdvance = false;
    std::size_t XAdvanceOffset = 0; // inside a record
    std::size_t RecordSize = 0;     // both value records of a pair
    std::uint16_t PairSetCount = 0; // format 1
    ClassDefinition FirstClasses;   // format 2
    std::uint16_t FirstClassCount = 0;
    std::uint16_t SecondClassCount = 0;
    std::vector<std::vector<std::uint16_t>> WantedBySecondClass; // format 2
    bool ClassesEverySecond = false; // format 2: every wanted glyph has a class of the table
};

std::optional<PairSubtable> OpenPairSubtable(Bytes table,
                                             const std::vector<std::uint16_t>& wanted) {
    PairSubtable pair;
    pair.Table = table;
    const auto format = ReadU16(table, 0);
    const auto coverageTable = Child(table, 2);
    const auto valueFormat1 = ReadU16(table, 4);
    const auto valueFormat2 = ReadU16(table, 6);
    if (!format || !coverageTable || !valueFormat1 || !valueFormat2) {
        return std::nullopt;
    }
    const auto coverage = OpenCoverage(*coverageTable);
    if (!coverage) {
        return std::nullopt;
    }
    pair.Format = *format;
    pair.FirstCoverage = *coverage;
    pair.HasXAdvance = (*valueFormat1 & XAdvanceBit) != 0;
    pair.XAdvanceOffset = ValueRecordSize(*valueFormat1 & 0x3);
    pair.RecordSize = ValueRecordSize(*valueFormat1) + ValueRecordSize(*valueFormat2);
    if (pair.Format == 1) {
        const auto count = ReadU16(table, 8);
        if (!count || !Fits(table, 10, *count, 2)) {
            return std::nullopt;
        }
        pair.PairSetCount = *count;
        return pair;
    }
    if (pair.Format != 2) {
        return std::nullopt;
    }
    const auto firstClasses = OpenClassDefinition(table, 8);
    const auto secondClasses = OpenClassDefinition(table, 10);
    const auto firstCount = ReadU16(table, 12);
    const auto secondCount = ReadU16(table, 14);
    if (!firstClasses || !secondClasses || !firstCount || !secondCount ||
        !Fits(table, 16, std::size_t{*firstCount} * *secondCount, pair.RecordSize)) {
        return std::nullopt;
    }
    pair.FirstClasses = *firstClasses;
    pair.FirstClassCount = *firstCount;
    pair.SecondClassCount = *secondCount;
    pair.WantedBySecondClass.resize(*secondCount);
    pair.ClassesEverySecond = true;
    for (const std::uint16_t glyph : wanted) {
        // Class 0 is "any other glyph" and has its own amounts, 0 as a rule. A class beyond the
        // table's count is the one thing a shaper lets the lookup's later subtables decide.
        const std::uint16_t secondClass = ClassOf(*secondClasses, glyph);
        if (secondClass < *secondCount) {
            pair.WantedBySecondClass[secondClass].push_back(glyph);
        } else {
            pair.ClassesEverySecond = false;
        }
    }
    return pair;
}

// Walks one lookup for every wanted first glyph, appending its non-zero pairs.
class LookupWalker {
public:
    LookupWalker(const GlyphSet& wanted, std::vector<GlyphKerningPair>& out, std::size_t maxPairs,
                 std::size_t maxVisits)
        : wanted_(wanted), out_(out), maxPairs_(maxPairs), maxVisits_(maxVisits),
          decided_(std::min(wanted.size(), GlyphIdCount), 0) {}

    // False once the pair limit is reached.
    bool Walk(const std::vector<PairSubtable>& subtables,
              const std::vector<std::uint16_t>& firsts) {
        for (const std::uint16_t first : firsts) {
            ++stamp_;
            for (const PairSubtable& subtable : subtables) {
                const auto index = CoverageIndex(subtable.FirstCoverage, first);
                if (!index) {
                    continue;
                }
                // A pair set decides only the second glyphs it lists; a class table that covers
                // the first glyph decides every second glyph, so later subtables are not asked.
                bool decidedAll = false;
                if (subtable.Format == 1) {
                    WalkPairSet(subtable, first, *index);
                } else {
                    decidedAll = WalkClasses(subtable, first);
                }
                if (out_.size() >= maxPairs_ || visits_ >= maxVisits_) {
                    return false;
                }
                if (decidedAll) {
                    break;
                }
            }
        }
        return true;
    }

private:
    bool Wanted(std::uint16_t glyph) const { return glyph < wanted_.size() && wanted_[glyph]; }

    // Marks the pair as decided by this lookup; false when an earlier subtable already did.
    // second is always a wanted glyph, so it indexes decided_.
    bool Decide(std::uint16_t second) {
        if (decided_[second] == stamp_) {
            return false;
        }
        decided_[second] = stamp_;
        return true;
    }

    void WalkPairSet(const PairSubtable& subtable, std::uint16_t first, std::uint32_t index) {
        if (index >= subtable.PairSetCount) {
            return;
        }
        const auto pairSet = Child(subtable.Table, 10 + 2 * std::size_t{index});
        if (!pairSet) {
            return;
        }
        const auto count = ReadU16(*pairSet, 0);
        const std::size_t recordSize = 2 + subtable.RecordSize;
        if (!count || !Fits(*pairSet, 2, *count, recordSize)) {
            return; // a damaged pair set: skip it, keep the rest of the subtable
        }
        visits_ += *count;
        for (std::size_t i = 0; i < *count; ++i) {
            const std::size_t record = 2 + i * recordSize;
            const std::uint16_t second = *ReadU16(*pairSet, record);
            if (Wanted(second) && Decide(second)) {
                EmitFrom(*pairSet, subtable, first, second, record + 2);
            }
        }
    }

    void EmitFrom(Bytes table, const PairSubtable& subtable, std::uint16_t first,
                  std::uint16_t second, std::size_t valuesAt) {
        if (!subtable.HasXAdvance || out_.size() >= maxPairs_) {
            return;
        }
        const auto amount =
            static_cast<std::int16_t>(*ReadU16(table, valuesAt + subtable.XAdvanceOffset));
        if (amount != 0) {
            out_.push_back({first, second, amount});
        }
    }

    // True when the subtable decided the pairs of first with every wanted second glyph.
    bool WalkClasses(const PairSubtable& subtable, std::uint16_t first) {
        const std::uint16_t firstClass = ClassOf(subtable.FirstClasses, first);
        if (firstClass >= subtable.FirstClassCount) {
            return false; // a shaper skips the subtable for this glyph
        }
        const std::size_t row =
            16 + std::size_t{firstClass} * subtable.SecondClassCount * subtable.RecordSize;
        for (std::size_t secondClass = 0; secondClass < subtable.WantedBySecondClass.size();
             ++secondClass) {
            const auto& seconds = subtable.WantedBySecondClass[secondClass];
            std::int16_t amount = 0;
            if (subtable.HasXAdvance) {
                const std::size_t at =
                    row + secondClass * subtable.RecordSize + subtable.XAdvanceOffset;
                amount = static_cast<std::int16_t>(*ReadU16(subtable.Table, at));
            }
            if (amount == 0 && subtable.ClassesEverySecond) {
                continue; // nothing to emit, and no later subtable is asked about these pairs
            }
            visits_ += seconds.size();
            for (const std::uint16_t second : seconds) {
                // Decided even when 0: the pair is then closed for later subtables.
                if (Decide(second) && amount != 0 && out_.size() < maxPairs_) {
                    out_.push_back({first, second, amount});
                }
            }
        }
        return subtable.ClassesEverySecond;
    }

    const GlyphSet& wanted_;
    std::vector<GlyphKerningPair>& out_;
    std::size_t maxPairs_;
    std::size_t maxVisits_;
    std::vector<std::uint32_t> decided_;
    std::uint32_t stamp_ = 0;
    std::size_t visits_ = 0;
};

// Lookup indices of the "kern" features, in lookup-list (application) order, each once.
std::vector<std::uint16_t> KernLookups(Bytes gpos) {
    const auto scripts = Child(gpos, 4);
    const auto features = Child(gpos, 6);
    if (!features) {
        return {};
    }
    const auto featureCount = ReadU16(*features, 0);
    if (!featureCount || !Fits(*features, 2, *featureCount, 6)) {
        return {};
    }
    std::vector<bool> isKern(*featureCount);
    for (std::size_t i = 0; i < *featureCount; ++i) {
        isKern[i] = ReadU32(*features, 2 + 6 * i) == KernFeatureTag;
    }
    // Kern features that some script's default language system uses; language-specific systems
    // only vary these, and summing their lookups too would count pairs twice.
    std::vector<bool> used(*featureCount);
    bool anyUsed = false;
    const auto scriptCount = scripts ? ReadU16(*scripts, 0) : std::nullopt;
    if (scriptCount && Fits(*scripts, 2, *scriptCount, 6)) {
        for (std::size_t s = 0; s < *scriptCount; ++s) {
            const auto script = Child(*scripts, 2 + 6 * s + 4);
            const auto langSys = script ? Child(*script, 0) : std::nullopt;
            if (!langSys) {
                continue;
            }
            const auto required = ReadU16(*langSys, 2);
            const auto count = ReadU16(*langSys, 4);
            if (!required || !count || !Fits(*langSys, 6, *count, 2)) {
                continue;
            }
            std::vector<std::uint16_t> indices{*required};
            for (std::size_t i = 0; i < *count; ++i) {
                indices.push_back(*ReadU16(*langSys, 6 + 2 * i));
            }
            for (const std::uint16_t index : indices) {
                if (index != NoRequiredFeature && index < *featureCount && isKern[index]) {
                    used[index] = true;
                    anyUsed = true;
                }
            }
        }
    }
    std::vector<std::uint16_t> lookups;
    for (std::size_t i = 0; i < *featureCount; ++i) {
        if (!isKern[i] || (anyUsed && !used[i])) {
            continue;
        }
        const auto feature = Child(*features, 2 + 6 * i + 4);
        const auto count = feature ? ReadU16(*feature, 2) : std::nullopt;
        if (!count || !Fits(*feature, 4, *count, 2)) {
            continue;
        }
        for (std::size_t j = 0; j < *count; ++j) {
            lookups.push_back(*ReadU16(*feature, 4 + 2 * j));
        }
    }
    std::sort(lookups.begin(), lookups.end());
    lookups.erase(std::unique(lookups.begin(), lookups.end()), lookups.end());
    return lookups;
}

// The pair positioning subtables of one lookup, Extension subtables resolved; damaged ones left
// out.
std::vector<PairSubtable> PairSubtables(Bytes lookup, const std::vector<std::uint16_t>& wanted) {
    std::vector<PairSubtable> subtables;
    const auto type = ReadU16(lookup, 0);
    const auto count = ReadU16(lookup, 4);
    if (!type || !count || !Fits(lookup, 6, *count, 2) ||
        (*type != PairPositioning && *type != ExtensionPositioning)) {
        return subtables;
    }
    for (std::size_t i = 0; i < *count; ++i) {
        auto subtable = Child(lookup, 6 + 2 * i);
        if (subtable && *type == ExtensionPositioning) {
            const auto format = ReadU16(*subtable, 0);
            const auto extendedType = ReadU16(*subtable, 2);
            const auto offset = ReadU32(*subtable, 4);
            if (format != 1 || extendedType != PairPositioning || !offset || *offset == 0 ||
                *offset >= subtable->size()) {
                continue;
            }
            subtable = subtable->subspan(*offset);
        }
        if (!subtable) {
            continue;
        }
        if (auto pair = OpenPairSubtable(*subtable, wanted)) {
            subtables.push_back(std::move(*pair));
        }
    }
    return subtables;
}

} // namespace

std::vector<GlyphKerningPair> ReadGposKerning(std::span<const std::uint8_t> gpos,
                                              const GlyphSet& wanted, std::size_t maxPairs,
                                              std::size_t maxVisits) {
    std::vector<GlyphKerningPair> pairs;
    const auto major = ReadU16(gpos, 0);
    const auto lookupList = Child(gpos, 8);
    if (major != 1 || !lookupList) {
        return pairs;
    }
    const auto lookupCount = ReadU16(*lookupList, 0);
    if (!lookupCount || !Fits(*lookupList, 2, *lookupCount, 2)) {
        return pairs;
    }
    std::vector<std::uint16_t> wantedGlyphs;
    for (std::size_t glyph = 0; glyph < std::min(wanted.size(), GlyphIdCount); ++glyph) {
        if (wanted[glyph]) {
            wantedGlyphs.push_back(static_cast<std::uint16_t>(glyph));
        }
    }
    LookupWalker walker(wanted, pairs, maxPairs, maxVisits);
    for (const std::uint16_t index : KernLookups(gpos)) {
        if (index >= *lookupCount) {
            continue;
        }
        const auto lookup = Child(*lookupList, 2 + 2 * std::size_t{index});
        if (!lookup) {
            continue;
        }
        if (!walker.Walk(PairSubtables(*lookup, wantedGlyphs), wantedGlyphs)) {
            break;
        }
    }
    SumGlyphKerningPairs(pairs);
    return pairs;
}

} // namespace glyfora::fontimport
