#include "document/KerningPairEditing.h"

#include <gtest/gtest.h>
#include <vector>

namespace glyfora::document {
namespace {

std::vector<const KerningPair*> Records(const Typeface& typeface) {
    std::vector<const KerningPair*> records;
    for (const KerningPair& pair : typeface.Content.KerningPairs) {
        records.push_back(&pair);
    }
    return records;
}

// The pairs of the bucket of key, in chain order.
std::vector<const KerningPair*> Chain(const Typeface& typeface, std::int64_t key) {
    std::vector<const KerningPair*> chain;
    for (const KerningPair* pair =
             typeface.Content.KerningTable[static_cast<std::size_t>(key % KerningBucketCount)];
         pair != nullptr; pair = pair->NextInBucket) {
        chain.push_back(pair);
    }
    return chain;
}

TEST(CopyKerningPair, DuplicatesKeyAndAmountAfterTheOriginal) {
    Typeface typeface{5, {}, {}, false};
    KerningPair& first = AddKerningPair(typeface, 65, 86, -3);
    KerningPair& last = AddKerningPair(typeface, 84, 111, -2);
    KerningPair* copy = CopyKerningPair(typeface, &first);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Records(typeface), (std::vector<const KerningPair*>{&first, copy, &last}));
    EXPECT_EQ(copy->PairKey, first.PairKey);
    EXPECT_EQ(copy->Amount, -3);
    EXPECT_EQ(Chain(typeface, first.PairKey), (std::vector<const KerningPair*>{&first, copy}));
    EXPECT_TRUE(typeface.Modified);

    // The earlier pair answers for the key; the copy answers once it has a key of its own.
    SetPairAmount(typeface, *copy, 7);
    EXPECT_EQ(KerningAmount(typeface, MakePairKey(65, 86)), -3);
    SetPairRight(typeface, *copy, 87);
    EXPECT_EQ(KerningAmount(typeface, MakePairKey(65, 87)), 7);
    EXPECT_EQ(KerningAmount(typeface, MakePairKey(65, 86)), -3);
}

TEST(CopyKerningPair, RefusesNoneAndRecordsOfOtherTypefaces) {
    Typeface typeface{5, {}, {}, false};
    AddKerningPair(typeface, 65, 86, -3);
    KerningPair stranger;
    EXPECT_EQ(CopyKerningPair(typeface, nullptr), nullptr);
    EXPECT_EQ(CopyKerningPair(typeface, &stranger), nullptr);
    EXPECT_EQ(typeface.Content.KerningPairs.Size(), 1U);
    EXPECT_FALSE(typeface.Modified);
}

TEST(SetPairCodes, HalvesAreUnsignedSixteenBitAndTheTableFollows) {
    struct Case {
        bool Left;
        std::int64_t Code;
        std::int64_t ExpectedLeft, ExpectedRight;
    };
    const Case cases[] = {
        {true, 0x4E00, 0x4E00, 86}, {true, 0xFFFF, 0xFFFF, 86}, {false, 0xFF21, 65, 0xFF21},
        {false, 0, 65, 0},          {true, 0x10041, 0x41, 86}, // only the low 16 bits count
    };
    for (const Case& test : cases) {
        Typeface typeface{5, {}, {}, false};
        KerningPair& pair = AddKerningPair(typeface, 65, 86, -3);
        if (test.Left) {
            SetPairLeft(typeface, pair, test.Code);
        } else {
            SetPairRight(typeface, pair, test.Code);
        }
        EXPECT_EQ(PairLeft(pair), test.ExpectedLeft);
        EXPECT_EQ(PairRight(pair), test.ExpectedRight);
        EXPECT_GE(pair.PairKey, 0);
        EXPECT_EQ(KerningAmount(typeface, MakePairKey(test.ExpectedLeft, test.ExpectedRight)), -3);
        EXPECT_TRUE(typeface.Modified);
    }
}

TEST(DeleteKerningPair, UnlinksThePairFromItsBucketChain) {
    Typeface typeface{5, {}, {}, false};
    // Keys KerningBucketCount apart share a bucket.
    const std::int64_t key = MakePairKey(0, 65);
    KerningPair& first = AddKerningPair(typeface, 0, 65, 1);
    KerningPair& second = AddKerningPair(typeface, 0, 65 + KerningBucketCount, 2);
    ASSERT_EQ(Chain(typeface, key).size(), 2U);

    EXPECT_TRUE(DeleteKerningPair(typeface, &first));
    EXPECT_EQ(Records(typeface), (std::vector<const KerningPair*>{&second}));
    EXPECT_EQ(Chain(typeface, key), (std::vector<const KerningPair*>{&second}));
    EXPECT_EQ(KerningAmount(typeface, key), 0);
    EXPECT_EQ(KerningAmount(typeface, second.PairKey), 2);
    EXPECT_TRUE(typeface.Modified);
}

TEST(DeleteKerningPair, RefusesNoneAndRecordsOfOtherTypefaces) {
    Typeface typeface{5, {}, {}, false};
    KerningPair& pair = AddKerningPair(typeface, 65, 86, -3);
    KerningPair stranger;
    EXPECT_FALSE(DeleteKerningPair(typeface, nullptr));
    EXPECT_FALSE(DeleteKerningPair(typeface, &stranger));
    EXPECT_EQ(Records(typeface), (std::vector<const KerningPair*>{&pair}));
    EXPECT_FALSE(typeface.Modified);
}

} // namespace
} // namespace glyfora::document
