#pragma once

#include "document/CharacterTable.h"
#include "document/CursorList.h"
#include "document/Image.h"
#include "document/RenderSettings.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::document {

constexpr std::int64_t KerningBucketCount = 701;
constexpr std::int64_t DefaultTypefaceId = -1;
constexpr std::int64_t MaxTypefaceId = 65535;

// One glyph cell: its code, how it is placed when text is drawn, and where it lies in Image.
struct Character {
    std::int64_t Index = 0;
    Rect64 Outlay; // X, Y: drawing offset; Width: advance; Height: line advance
    Rect64 Source; // the cell in Image
};

struct KerningPair {
    std::int64_t PairKey = 0; // Left × 65536 + Right, both unsigned 16-bit
    std::int64_t Amount = 0;
    KerningPair* NextInBucket = nullptr;
};

[[nodiscard]] constexpr std::int64_t PairLeft(const KerningPair& pair) {
    return (pair.PairKey >> 16) & 0xFFFF;
}
[[nodiscard]] constexpr std::int64_t PairRight(const KerningPair& pair) {
    return pair.PairKey & 0xFFFF;
}
[[nodiscard]] constexpr std::int64_t MakePairKey(std::int64_t left, std::int64_t right) {
    return ((left & 0xFFFF) << 16) | (right & 0xFFFF);
}

// The channel fields a BMFont descriptor gave its picture (what each of R, G, B, A holds, and per
// character which channels hold its glyph). They describe only the picture they came with, so a
// ".fnt" save uses them while Picture is still the typeface's Image and defaults otherwise.
struct PictureChannels {
    std::weak_ptr<const document::Image> Picture;
    std::int64_t AlphaChnl = 0;
    std::int64_t RedChnl = 4;
    std::int64_t GreenChnl = 4;
    std::int64_t BlueChnl = 4;
    std::map<std::int64_t, std::int64_t> CharacterChnl; // chnl by character code
};

// Sprite with its rows in reverse order, for the renderer's mirrored quads. FlippedSprite() makes
// it on first use and keeps it while Sprite stays the same, so a typeface that never draws a
// mirrored quad holds its picture only once.
struct FlippedSpriteCache {
    document::Sprite Copy;
    std::weak_ptr<const document::Image> Source; // the Sprite that Copy was made from
};

struct TypefaceContent {
    document::Sprite Sprite;
    // Filled on demand by FlippedSprite(), also through a const typeface.
    mutable FlippedSpriteCache Flipped;
    // Shared with Sprite: pictures are replaced, never changed in place, so one copy serves both.
    std::shared_ptr<const document::Image> Image;
    // Slot c refers to the Character whose Index is c. Non-owning; the list owns the records.
    CharacterTable CharacterIndex;
    // Heads of the bucket chains, by PairKey mod 701 (702 slots, the last unused).
    std::array<KerningPair*, KerningBucketCount + 1> KerningTable{};
    // Last pair of each chain, so appending costs the same however long the chain is.
    std::array<KerningPair*, KerningBucketCount + 1> KerningTails{};
    CursorList<Character> Characters;
    CursorList<KerningPair> KerningPairs;
    std::map<std::string, std::string> Properties; // UTF-8 keys and values
    std::optional<PictureChannels> Channels;       // from the ".fnt" the typeface was read from
};

struct Typeface {
    std::int64_t Id = 0;
    TypefaceContent Content;
    RenderSettings Settings;
    // Set by every edit, cleared by open and save; the shell asks before discarding.
    bool Modified = false;
};

// The table of typefaces by id (0..65535) plus the default pseudo-typeface (id -1), which holds
// only the default render settings and is never freed.
struct TypefaceRegistry {
    std::vector<std::unique_ptr<Typeface>> Slots;
    Typeface Default{DefaultTypefaceId, {}, {}, false};
};

// A fresh, empty typeface that is not registered yet; its render settings are the registry's
// defaults with ClipRect zeroed.
[[nodiscard]] std::unique_ptr<Typeface> MakeTypeface(const TypefaceRegistry& registry,
                                                     std::int64_t id);

// Puts typeface into the slot of its Id, freeing what was there. None for an id outside 0..65535.
Typeface* InstallTypeface(TypefaceRegistry& registry, std::unique_ptr<Typeface> typeface);

// Builds a new, empty typeface under id, freeing the old one first. None for an id outside
// 0..65535 (nothing changes then).
Typeface* CreateTypeface(TypefaceRegistry& registry, std::int64_t id);

// The typeface under id, the default pseudo-typeface for -1, or none.
[[nodiscard]] Typeface* TypefaceFromId(TypefaceRegistry& registry, std::int64_t id);

// Frees the typeface and empties its registry slot. The default pseudo-typeface is never freed.
void FreeTypeface(TypefaceRegistry& registry, Typeface* typeface);

// Inserts a zeroed character after the current one (it becomes current), enters it in
// CharacterIndex under index (a later character with the same code takes the slot) and returns it.
Character& AddCharacter(Typeface& typeface, std::int64_t index);

// Inserts a pair after the current one; left and right are taken as unsigned 16-bit. The pair is
// appended at the tail of its bucket chain, so lookups find the first pair added for a key.
KerningPair& AddKerningPair(Typeface& typeface, std::int64_t left, std::int64_t right,
                            std::int64_t amount);

// Amount of the first pair whose PairKey equals key; 0 when there is none.
[[nodiscard]] std::int64_t KerningAmount(const Typeface& typeface, std::int64_t key);

// The character with this code, or none (also for codes outside 0..65535).
[[nodiscard]] Character* FindCharacter(const Typeface& typeface, std::int64_t code);

// Rebuilds CharacterIndex and KerningTable from the lists, in list order.
void RebuildIndexes(Typeface& typeface);

// Sprite with its rows reversed (none without Sprite), made now if it is not held yet and kept
// until Sprite is replaced: the same object on every call, so surfaces upload it once.
[[nodiscard]] const Sprite& FlippedSprite(const TypefaceContent& content);

// The height of FlippedSprite in pixels; 0 without Sprite. Never makes the copy.
[[nodiscard]] std::int64_t FlippedSpriteHeight(const TypefaceContent& content);

// Lets go of the flipped copy of the previous Sprite; the next FlippedSprite() makes it anew.
void RebuildFlippedSprite(Typeface& typeface);

// Sets Image and Sprite (the same pixels) from one picture, as the readers and picture import do.
// None, or a picture without pixels, leaves no sprites.
void SetCharacterSetImage(Typeface& typeface, std::optional<Image> image);

// Sorts Characters by Index and KerningPairs by PairKey; records do not move in memory.
void SortCharacters(Typeface& typeface);
void SortKerningPairs(Typeface& typeface);

// Find-or-add access to a property: a missing key is added with an empty value.
std::string& PropertyValue(Typeface& typeface, const std::string& key);

} // namespace glyfora::document
