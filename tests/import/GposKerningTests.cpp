#include "TableBytes.h"
#include "import/GposKerning.h"
#include "import/KernTable.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace glyfora::fontimport {
namespace {

using testing::CoverageList;
using testing::TableBytes;

using Pair = std::tuple<int, int, int>;

std::vector<Pair> Tuples(const std::vector<GlyphKerningPair>& pairs) {
    std::vector<Pair> tuples;
    for (const auto& pair : pairs) {
        tuples.emplace_back(pair.First, pair.Second, pair.Amount);
    }
    return tuples;
}

GlyphSet Glyphs(std::initializer_list<int> glyphs) {
    GlyphSet set(0x10000, false);
    for (const int glyph : glyphs) {
        set[glyph] = true;
    }
    return set;
}

GlyphSet AllGlyphs() {
    return GlyphSet(0x10000, true);
}

// Enough for the sample tables, small enough to run thousands of damaged variants quickly.
GlyphSet FirstGlyphs() {
    return GlyphSet(64, true);
}

// Value records put filler into every field but XAdvance, so that a reader taking the wrong
// field shows up.
void WriteValues(TableBytes& bytes, std::uint16_t format, int xAdvance) {
    for (int bit = 0; bit < 8; ++bit) {
        if ((format & (1 << bit)) != 0) {
            bytes.I16(bit == 2 ? xAdvance : (bit >= 4 ? 0 : 777));
        }
    }
}

struct PairValue {
    std::uint16_t Second = 0;
    int Amount = 0;
};

constexpr std::uint16_t PlacementAndAdvance = 0x0005;
constexpr std::uint16_t AdvanceOnly = 0x0004;

// PairPos format 1: one pair set per first glyph (ascending).
TableBytes PairFormat1(const std::vector<std::pair<std::uint16_t, std::vector<PairValue>>>& sets,
                       std::uint16_t format1 = PlacementAndAdvance,
                       std::uint16_t format2 = AdvanceOnly) {
    TableBytes coverage;
    coverage.U16(1).U16(static_cast<std::uint16_t>(sets.size()));
    for (const auto& set : sets) {
        coverage.U16(set.first);
    }
    std::vector<TableBytes> pairSets;
    for (const auto& set : sets) {
        TableBytes bytes;
        bytes.U16(static_cast<std::uint16_t>(set.second.size()));
        for (const PairValue& value : set.second) {
            bytes.U16(value.Second);
            WriteValues(bytes, format1, value.Amount);
            WriteValues(bytes, format2, 555);
        }
        pairSets.push_back(bytes);
    }
    TableBytes table;
    const std::size_t header = 10 + 2 * sets.size();
    table.U16(1).U16(static_cast<std::uint16_t>(header)).U16(format1).U16(format2);
    table.U16(static_cast<std::uint16_t>(sets.size()));
    std::size_t at = header + coverage.Size();
    for (const auto& bytes : pairSets) {
        table.U16(static_cast<std::uint16_t>(at));
        at += bytes.Size();
    }
    table.Append(coverage);
    for (const auto& bytes : pairSets) {
        table.Append(bytes);
    }
    return table;
}

struct ClassRange {
    std::uint16_t Start = 0;
    std::uint16_t End = 0;
    std::uint16_t Class = 0;
};

TableBytes ClassDefRanges(const std::vector<ClassRange>& ranges) {
    TableBytes bytes;
    bytes.U16(2).U16(static_cast<std::uint16_t>(ranges.size()));
    for (const auto& range : ranges) {
        bytes.U16(range.Start).U16(range.End).U16(range.Class);
    }
    return bytes;
}

TableBytes ClassDefArray(std::uint16_t start, const std::vector<std::uint16_t>& classes) {
    TableBytes bytes;
    bytes.U16(1).U16(start).U16(static_cast<std::uint16_t>(classes.size()));
    for (const auto value : classes) {
        bytes.U16(value);
    }
    return bytes;
}

// PairPos format 2; amounts[class1][class2].
TableBytes PairFormat2(const TableBytes& coverage, const TableBytes& classes1,
                       const TableBytes& classes2, const std::vector<std::vector<int>>& amounts) {
    const auto class1Count = static_cast<std::uint16_t>(amounts.size());
    const auto class2Count = static_cast<std::uint16_t>(amounts.front().size());
    TableBytes records;
    for (const auto& row : amounts) {
        for (const int amount : row) {
            WriteValues(records, PlacementAndAdvance, amount);
            WriteValues(records, AdvanceOnly, 555);
        }
    }
    const std::size_t header = 16 + records.Size();
    TableBytes table;
    table.U16(2).U16(static_cast<std::uint16_t>(header)).U16(PlacementAndAdvance).U16(AdvanceOnly);
    table.U16(static_cast<std::uint16_t>(header + coverage.Size()));
    table.U16(static_cast<std::uint16_t>(header + coverage.Size() + classes1.Size()));
    table.U16(class1Count).U16(class2Count);
    table.Append(records).Append(coverage).Append(classes1).Append(classes2);
    return table;
}

TableBytes Extension(const TableBytes& subtable, std::uint16_t type = 2) {
    TableBytes bytes;
    bytes.U16(1).U16(type).U32(8).Append(subtable);
    return bytes;
}

struct Lookup {
    std::uint16_t Type = 2;
    std::vector<TableBytes> Subtables;
};

struct Feature {
    std::string Tag = "kern";
    std::vector<std::uint16_t> Lookups;
};

struct Script {
    std::vector<std::uint16_t> DefaultFeatures;
    std::vector<std::uint16_t> LanguageFeatures; // one language system when not empty
    bool HasDefault = true;
};

TableBytes MakeGpos(const std::vector<Script>& scripts, const std::vector<Feature>& features,
                    const std::vector<Lookup>& lookups) {
    const auto langSys = [](const std::vector<std::uint16_t>& indices) {
        TableBytes bytes;
        bytes.U16(0).U16(0xFFFF).U16(static_cast<std::uint16_t>(indices.size()));
        for (const auto index : indices) {
            bytes.U16(index);
        }
        return bytes;
    };
    TableBytes scriptList;
    scriptList.U16(static_cast<std::uint16_t>(scripts.size()));
    std::vector<TableBytes> scriptTables;
    for (const Script& script : scripts) {
        const bool language = !script.LanguageFeatures.empty();
        const std::size_t header = 4 + (language ? 6 : 0);
        const TableBytes defaults = langSys(script.DefaultFeatures);
        TableBytes table;
        table.U16(script.HasDefault ? static_cast<std::uint16_t>(header) : 0);
        table.U16(language ? 1 : 0);
        if (language) {
            table.Tag("TRK ").U16(static_cast<std::uint16_t>(header + defaults.Size()));
        }
        table.Append(defaults);
        if (language) {
            table.Append(langSys(script.LanguageFeatures));
        }
        scriptTables.push_back(table);
    }
    std::size_t at = 2 + 6 * scripts.size();
    for (const auto& table : scriptTables) {
        scriptList.Tag("latn").U16(static_cast<std::uint16_t>(at));
        at += table.Size();
    }
    for (const auto& table : scriptTables) {
        scriptList.Append(table);
    }

    TableBytes featureList;
    featureList.U16(static_cast<std::uint16_t>(features.size()));
    at = 2 + 6 * features.size();
    for (const Feature& feature : features) {
        featureList.Data.insert(featureList.Data.end(), feature.Tag.begin(), feature.Tag.end());
        featureList.U16(static_cast<std::uint16_t>(at));
        at += 4 + 2 * feature.Lookups.size();
    }
    for (const Feature& feature : features) {
        featureList.U16(0).U16(static_cast<std::uint16_t>(feature.Lookups.size()));
        for (const auto index : feature.Lookups) {
            featureList.U16(index);
        }
    }

    TableBytes lookupList;
    lookupList.U16(static_cast<std::uint16_t>(lookups.size()));
    std::vector<TableBytes> lookupTables;
    for (const Lookup& lookup : lookups) {
        TableBytes table;
        table.U16(lookup.Type).U16(0).U16(static_cast<std::uint16_t>(lookup.Subtables.size()));
        std::size_t offset = 6 + 2 * lookup.Subtables.size();
        for (const auto& subtable : lookup.Subtables) {
            table.U16(static_cast<std::uint16_t>(offset));
            offset += subtable.Size();
        }
        for (const auto& subtable : lookup.Subtables) {
            table.Append(subtable);
        }
        lookupTables.push_back(table);
    }
    at = 2 + 2 * lookups.size();
    for (const auto& table : lookupTables) {
        lookupList.U16(static_cast<std::uint16_t>(at));
        at += table.Size();
    }
    for (const auto& table : lookupTables) {
        lookupList.Append(table);
    }

    TableBytes gpos;
    gpos.U16(1).U16(0);
    gpos.U16(10);
    gpos.U16(static_cast<std::uint16_t>(10 + scriptList.Size()));
    gpos.U16(static_cast<std::uint16_t>(10 + scriptList.Size() + featureList.Size()));
    gpos.Append(scriptList).Append(featureList).Append(lookupList);
    return gpos;
}

// One kern feature, used by the default language system, over the given lookups.
TableBytes KernGpos(const std::vector<Lookup>& lookups) {
    std::vector<std::uint16_t> indices;
    for (std::size_t i = 0; i < lookups.size(); ++i) {
        indices.push_back(static_cast<std::uint16_t>(i));
    }
    return MakeGpos({Script{{0}, {}, true}}, {{"kern", indices}}, lookups);
}

std::vector<Pair> Read(const TableBytes& gpos, const GlyphSet& wanted = AllGlyphs()) {
    return Tuples(ReadGposKerning(gpos.Data, wanted));
}

TEST(GposPairFormat1, ReadsTheFirstGlyphsAdvanceOfWantedPairsSorted) {
    const TableBytes gpos = KernGpos(
        {{2, {PairFormat1({{5, {{9, -40}, {6, -20}, {7, 0}}}, {8, {{5, 15}, {300, -99}}}})}}});
    EXPECT_EQ(Read(gpos), (std::vector<Pair>{{5, 6, -20}, {5, 9, -40}, {8, 5, 15}, {8, 300, -99}}));
    EXPECT_EQ(Read(gpos, Glyphs({5, 6, 8})), (std::vector<Pair>{{5, 6, -20}, {8, 5, 15}}));
}

TEST(GposPairFormat1, FirstGlyphRecordWithoutAdvanceGivesNoPairs) {
    const TableBytes gpos =
        KernGpos({{2, {PairFormat1({{5, {{6, -20}}}}, /*format1=*/0x0001, /*format2=*/0x0004)}}});
    EXPECT_TRUE(Read(gpos).empty());
}

TEST(GposPairFormat2, ExpandsClassesToWantedGlyphsOnly) {
    // Class 1 of first glyphs: 10..11; 12 is covered but unlisted (class 0).
    // Second classes: 20 → 1, 21 → 2, 22 → 0 (never a pair).
    const TableBytes subtable =
        PairFormat2(CoverageList({10, 11, 12}), ClassDefRanges({{10, 11, 1}}),
                    ClassDefArray(20, {1, 2, 0}), {{0, -5, -6}, {0, -30, 0}});
    const TableBytes gpos = KernGpos({{2, {subtable}}});
    EXPECT_EQ(Read(gpos),
              (std::vector<Pair>{{10, 20, -30}, {11, 20, -30}, {12, 20, -5}, {12, 21, -6}}));
    EXPECT_EQ(Read(gpos, Glyphs({11, 12, 21})), (std::vector<Pair>{{12, 21, -6}}));
}

TEST(GposLookups, FirstSubtableThatAppliesDecidesWithinALookup) {
    const TableBytes pairs = PairFormat1({{5, {{6, -10}, {7, 0}}}, {11, {{6, -1}}}});
    // Class pairs for 5 and 11 with 6, 7, 8; 9 is second class 0, which the table decides too.
    const TableBytes classes = PairFormat2(CoverageList({5, 11}), ClassDefRanges({}),
                                           ClassDefArray(6, {1, 1, 1, 0}), {{0, -50}});
    // Asked only for first glyphs the class table does not cover, and for pairs the pair set of
    // 11 does not list.
    const TableBytes late = PairFormat1({{5, {{8, -70}, {9, -90}}}, {12, {{9, -3}}}});
    const TableBytes gpos = KernGpos({{2, {pairs, classes, late}}});
    EXPECT_EQ(Read(gpos),
              (std::vector<Pair>{
                  {5, 6, -10}, {5, 8, -50}, {11, 6, -1}, {11, 7, -50}, {11, 8, -50}, {12, 9, -3}}));
    // Class 0 of the second glyph with an amount of its own.
    const TableBytes zeroClass =
        PairFormat2(CoverageList({5}), ClassDefRanges({}), ClassDefArray(6, {1}), {{-4, -50}});
    EXPECT_EQ(Read(KernGpos({{2, {zeroClass, late}}}), Glyphs({5, 6, 9})),
              (std::vector<Pair>{{5, 5, -4}, {5, 6, -50}, {5, 9, -4}}));
}

TEST(GposLookups, AmountsOfSeparateLookupsAddUp) {
    const TableBytes gpos = KernGpos({{2, {PairFormat1({{5, {{6, -10}, {7, 4}}}})}},
                                      {2, {PairFormat1({{5, {{6, -25}, {7, -4}}}})}}});
    EXPECT_EQ(Read(gpos), (std::vector<Pair>{{5, 6, -35}}));
}

TEST(GposLookups, ExtensionLookupsReadLikeDirectOnes) {
    const TableBytes pairs = PairFormat1({{5, {{6, -10}}}});
    const TableBytes classes =
        PairFormat2(CoverageList({7}), ClassDefRanges({}), ClassDefArray(8, {1}), {{0, -12}});
    const auto direct = Read(KernGpos({{2, {pairs, classes}}}));
    EXPECT_EQ(direct, (std::vector<Pair>{{5, 6, -10}, {7, 8, -12}}));
    EXPECT_EQ(Read(KernGpos({{9, {Extension(pairs), Extension(classes)}}})), direct);
    // An extension that claims another lookup type is not a pair table.
    EXPECT_EQ(Read(KernGpos({{9, {Extension(pairs, 1), Extension(classes)}}})),
              (std::vector<Pair>{{7, 8, -12}}));
}

TEST(GposLookups, OnlyKernLookupsOfDefaultLanguageSystemsCount) {
    const std::vector<Lookup> lookups = {{2, {PairFormat1({{5, {{6, -10}}}})}},
                                         {2, {PairFormat1({{5, {{6, -20}}}})}},
                                         {2, {PairFormat1({{7, {{8, -30}}}})}},
                                         {4, {PairFormat1({{9, {{9, -40}}}})}}};
    const std::vector<Feature> features = {
        {"kern", {0}}, {"kern", {1}}, {"dist", {2}}, {"kern", {3}}};
    // Default system: kern 0, dist, and the mark-type lookup 3 behind a kern feature.
    // A language system adds kern 1, which must not be summed in.
    EXPECT_EQ(Read(MakeGpos({Script{{0, 2, 3}, {1}, true}}, features, lookups)),
              (std::vector<Pair>{{5, 6, -10}}));
    // No default system names a kern feature: every kern feature counts.
    EXPECT_EQ(Read(MakeGpos({Script{{2}, {}, false}}, features, lookups)),
              (std::vector<Pair>{{5, 6, -30}}));
    EXPECT_EQ(Read(MakeGpos({}, features, lookups)), (std::vector<Pair>{{5, 6, -30}}));
}

TEST(GposLookups, PairLimitBoundsTheResult) {
    const TableBytes gpos = KernGpos({{2,
                                       {PairFormat2(CoverageList({1, 2, 3}), ClassDefRanges({}),
                                                    ClassDefArray(1, {1, 1, 1}), {{0, -1}})}}});
    EXPECT_EQ(ReadGposKerning(gpos.Data, AllGlyphs()).size(), 9U);
    EXPECT_EQ(ReadGposKerning(gpos.Data, AllGlyphs(), 4).size(), 4U);
}

TEST(GposLookups, ClassTablePairingEveryGlyphWithEveryOtherEndsInBoundedWork) {
    // 65536 x 65536 pairs: the walk stops after the pairs it may look at, whatever their amounts.
    TableBytes everything;
    everything.U16(2).U16(1).U16(0).U16(0xFFFF).U16(0);
    for (const int amount : {0, -1}) {
        const TableBytes table = PairFormat2(everything, ClassDefRanges({}),
                                             ClassDefRanges({{0, 0xFFFF, 1}}), {{0, amount}});
        const TableBytes gpos = KernGpos({{2, {table, table}}});
        const auto pairs = ReadGposKerning(gpos.Data, AllGlyphs(), 1 << 24, 1 << 20);
        EXPECT_LE(pairs.size(), (1U << 20) + 0x10000U) << amount;
        EXPECT_EQ(pairs.empty(), amount == 0);
    }
}

TableBytes SampleGpos() {
    const TableBytes pairs = PairFormat1({{5, {{6, -10}, {7, 3}}}, {9, {{5, 8}}}});
    TableBytes coverage;
    coverage.U16(2).U16(1).U16(10).U16(12).U16(0); // ranges format: 10..12
    const TableBytes classes =
        PairFormat2(coverage, ClassDefArray(10, {1, 0, 1}), ClassDefRanges({{5, 7, 1}, {8, 8, 2}}),
                    {{0, -1, -2}, {0, -3, -4}});
    return KernGpos({{2, {pairs}}, {9, {Extension(classes)}}});
}

TEST(GposDamage, EveryTruncationReadsOnlyInsideTheTable) {
    const TableBytes gpos = SampleGpos();
    const auto full = Read(gpos);
    ASSERT_EQ(full.size(), 15U);
    for (std::size_t length = 0; length < gpos.Size(); ++length) {
        // A buffer of exactly this length, so that the sanitizer sees any read past it.
        const std::vector<std::uint8_t> prefix(
            gpos.Data.begin(), gpos.Data.begin() + static_cast<std::ptrdiff_t>(length));
        const auto pairs = ReadGposKerning(prefix, FirstGlyphs());
        EXPECT_LE(pairs.size(), full.size()) << length;
    }
}

TEST(GposDamage, CorruptedBytesNeverCrash) {
    const TableBytes gpos = SampleGpos();
    for (std::size_t at = 0; at < gpos.Size(); ++at) {
        for (const std::uint8_t value : {0x00, 0x01, 0x7F, 0xFF}) {
            std::vector<std::uint8_t> bytes = gpos.Data;
            bytes[at] = value;
            EXPECT_LE(ReadGposKerning(bytes, FirstGlyphs()).size(), 64U * 64U) << at;
        }
    }
}

TEST(GposDamage, WrongVersionAndEmptyTablesGiveNothing) {
    TableBytes gpos = SampleGpos();
    gpos.Patch16(0, 2);
    EXPECT_TRUE(Read(gpos).empty());
    EXPECT_TRUE(ReadGposKerning({}, AllGlyphs()).empty());
}

// Legacy kern table, Microsoft layout, one format 0 subtable per entry.
struct KernSubtable {
    std::uint16_t Coverage = 0x0001;
    std::vector<std::tuple<int, int, int>> Pairs;
};

TableBytes MicrosoftKern(const std::vector<KernSubtable>& subtables) {
    TableBytes table;
    table.U16(0).U16(static_cast<std::uint16_t>(subtables.size()));
    for (const auto& subtable : subtables) {
        table.U16(0).U16(static_cast<std::uint16_t>(14 + 6 * subtable.Pairs.size()));
        table.U16(subtable.Coverage);
        table.U16(static_cast<std::uint16_t>(subtable.Pairs.size())).U16(0).U16(0).U16(0);
        for (const auto& [left, right, value] : subtable.Pairs) {
            table.U16(static_cast<std::uint16_t>(left))
                .U16(static_cast<std::uint16_t>(right))
                .I16(value);
        }
    }
    return table;
}

std::vector<Pair> ReadKern(const TableBytes& kern, const GlyphSet& wanted = AllGlyphs()) {
    return Tuples(ReadKernTable(kern.Data, wanted));
}

TEST(KernTable, ReadsHorizontalFormat0PairsSortedAndWantedOnly) {
    const TableBytes kern =
        MicrosoftKern({{0x0001, {{8, 3, -70}, {3, 9, 12}, {3, 4, 0}, {3, 7, -5}}}});
    EXPECT_EQ(ReadKern(kern), (std::vector<Pair>{{3, 7, -5}, {3, 9, 12}, {8, 3, -70}}));
    EXPECT_EQ(ReadKern(kern, Glyphs({3, 9})), (std::vector<Pair>{{3, 9, 12}}));
}

TEST(KernTable, SkipsOtherSubtablesAddsUpAndOverrides) {
    const TableBytes kern = MicrosoftKern({
        {0x0001, {{1, 2, -10}, {1, 3, -10}}},
        {0x0000, {{1, 2, -100}}},              // vertical
        {0x0003, {{1, 2, -200}}},              // minimum values
        {0x0005, {{1, 2, -300}}},              // cross-stream
        {0x0201, {{1, 2, -400}}},              // format 2 header, body not format 0
        {0x0001, {{1, 2, -5}, {1, 2, -1000}}}, // repeated pair: the first record counts
        {0x0009, {{1, 3, 40}}},                // override
    });
    EXPECT_EQ(ReadKern(kern), (std::vector<Pair>{{1, 2, -15}, {1, 3, 40}}));
}

TEST(KernTable, ReadsTheAppleLayout) {
    TableBytes kern;
    kern.U32(0x00010000).U32(2);
    kern.U32(8 + 8 + 6).U16(0x8000).U16(0).U16(1).U16(0).U16(0).U16(0).U16(1).U16(2).I16(-9);
    kern.U32(8 + 8 + 12).U16(0x0000).U16(0).U16(2).U16(0).U16(0).U16(0);
    kern.U16(4).U16(5).I16(-11).U16(1).U16(2).I16(6);
    EXPECT_EQ(ReadKern(kern), (std::vector<Pair>{{1, 2, 6}, {4, 5, -11}}));
}

TEST(KernTable, LengthFieldThatOverflowedIsRecovered) {
    KernSubtable big{0x0001, {}};
    for (int i = 0; i < 11000; ++i) {
        big.Pairs.emplace_back(i / 100 + 1, i % 100 + 1, -1 - (i % 7));
    }
    TableBytes kern = MicrosoftKern({big, {0x0001, {{200, 201, -3}}}});
    ASSERT_EQ((14 + 6 * 11000) & 0xFFFF, (kern.Data[6] << 8) | kern.Data[7]);
    const auto pairs = ReadKernTable(kern.Data, AllGlyphs());
    ASSERT_EQ(pairs.size(), 11001U);
    EXPECT_EQ(Tuples({pairs.back()}), (std::vector<Pair>{{200, 201, -3}}));
}

TEST(KernTable, TruncationsAndDamageReadOnlyInsideTheTable) {
    const TableBytes kern =
        MicrosoftKern({{0x0001, {{1, 2, -10}, {3, 4, 5}}}, {0x0009, {{1, 2, 7}}}});
    ASSERT_EQ(ReadKern(kern).size(), 2U);
    for (std::size_t length = 0; length < kern.Size(); ++length) {
        const std::vector<std::uint8_t> prefix(
            kern.Data.begin(), kern.Data.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_LE(ReadKernTable(prefix, AllGlyphs()).size(), 2U) << length;
    }
    for (std::size_t at = 0; at < kern.Size(); ++at) {
        std::vector<std::uint8_t> bytes = kern.Data;
        bytes[at] = 0xFF;
        EXPECT_LE(ReadKernTable(bytes, AllGlyphs()).size(), kern.Size() / 6) << at;
    }
}

} // namespace
} // namespace glyfora::fontimport
