#pragma once

#include "document/Typeface.h"

#include <cstdint>

namespace glyfora::document {

// Inserts a pair with the PairKey and Amount of original after the list's current element, rebuilds
// the lookup tables and returns it; it becomes current. None when original is none or not in the
// typeface's list.
KerningPair* CopyKerningPair(Typeface& typeface, const KerningPair* original);

// Removes pair from the list and the kerning table; the record is freed. False when it is none or
// not in the list.
bool DeleteKerningPair(Typeface& typeface, KerningPair* pair);

// Sets the left (high 16 bits of PairKey) or right (low 16 bits) code of the pair, taken as
// unsigned 16-bit, and rebuilds the lookup tables.
void SetPairLeft(Typeface& typeface, KerningPair& pair, std::int64_t code);
void SetPairRight(Typeface& typeface, KerningPair& pair, std::int64_t code);

// Sets the pixels the pair adds between its two characters.
void SetPairAmount(Typeface& typeface, KerningPair& pair, std::int64_t amount);

} // namespace glyfora::document
