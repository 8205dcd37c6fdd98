#include "document/KerningPairEditing.h"

namespace glyfora::document {

KerningPair* CopyKerningPair(Typeface& typeface, const KerningPair* original) {
    auto& pairs = typeface.Content.KerningPairs;
    if (original == nullptr || !pairs.MakeCurrent(original)) {
        return nullptr;
    }
    KerningPair duplicate;
    duplicate.PairKey = original->PairKey;
    duplicate.Amount = original->Amount;
    KerningPair& copy = pairs.InsertAfterCurrent(duplicate);
    RebuildIndexes(typeface);
    typeface.Modified = true;
    return &copy;
}

bool DeleteKerningPair(Typeface& typeface, KerningPair* pair) {
    auto& pairs = typeface.Content.KerningPairs;
    if (pair == nullptr || !pairs.MakeCurrent(pair)) {
        return false;
    }
    pairs.DeleteCurrent();
    // The deleted record may still be linked from its bucket chain.
    RebuildIndexes(typeface);
    typeface.Modified = true;
    return true;
}

void SetPairLeft(Typeface& typeface, KerningPair& pair, std::int64_t code) {
    pair.PairKey = MakePairKey(code, PairRight(pair));
    RebuildIndexes(typeface);
    typeface.Modified = true;
}

void SetPairRight(Typeface& typeface, KerningPair& pair, std::int64_t code) {
    pair.PairKey = MakePairKey(PairLeft(pair), code);
    RebuildIndexes(typeface);
    typeface.Modified = true;
}

void SetPairAmount(Typeface& typeface, KerningPair& pair, std::int64_t amount) {
    pair.Amount = amount;
    typeface.Modified = true;
}

} // namespace glyfora::document
