#include "document/Typeface.h"

#include <algorithm>

namespace glyfora::document {

namespace {

bool IdInRange(std::int64_t id) {
    return id >= 0 && id <= MaxTypefaceId;
}

void AppendToBucket(TypefaceContent& content, KerningPair& pair) {
    pair.NextInBucket = nullptr;
    const auto bucket = static_cast<std::size_t>(pair.PairKey % KerningBucketCount);
    KerningPair*& tail = content.KerningTails[bucket];
    (tail == nullptr ? content.KerningTable[bucket] : tail->NextInBucket) = &pair;
    tail = &pair;
}

} // namespace

std::unique_ptr<Typeface> MakeTypeface(const TypefaceRegistry& registry, std::int64_t id) {
    auto typeface = std::make_unique<Typeface>();
    typeface->Id = id;
    typeface->Settings = registry.Default.Settings;
    typeface->Settings.ClipRect = {0.0F, 0.0F, 0.0F, 0.0F};
    return typeface;
}

Typeface* InstallTypeface(TypefaceRegistry& registry, std::unique_ptr<Typeface> typeface) {
    if (!typeface || !IdInRange(typeface->Id)) {
        return nullptr;
    }
    const auto slot = static_cast<std::size_t>(typeface->Id);
    if (registry.Slots.size() <= slot) {
        registry.Slots.resize(slot + 1);
    }
    registry.Slots[slot] = std::move(typeface);
    return registry.Slots[slot].get();
}

Typeface* CreateTypeface(TypefaceRegistry& registry, std::int64_t id) {
    if (!IdInRange(id)) {
        return nullptr;
    }
    if (Typeface* old = TypefaceFromId(registry, id)) {
        FreeTypeface(registry, old);
    }
    return InstallTypeface(registry, MakeTypeface(registry, id));
}

Typeface* TypefaceFromId(TypefaceRegistry& registry, std::int64_t id) {
    if (id == DefaultTypefaceId) {
        return &registry.Default;
    }
    if (!IdInRange(id) || static_cast<std::size_t>(id) >= registry.Slots.size()) {
        return nullptr;
    }
    return registry.Slots[static_cast<std::size_t>(id)].get();
}

void FreeTypeface(TypefaceRegistry& registry, Typeface* typeface) {
    if (typeface == nullptr || typeface == &registry.Default) {
        return;
    }
    for (auto& slot : registry.Slots) {
        if (slot.get() == typeface) {
            slot.reset();
            return;
        }
    }
}

Character& AddCharacter(Typeface& typeface, std::int64_t index) {
    auto& content = typeface.Content;
    Character& character = content.Characters.InsertAfterCurrent();
    character.Index = index;
    content.CharacterIndex.Set(index, &character);
    return character;
}

KerningPair& AddKerningPair(Typeface& typeface, std::int64_t left, std::int64_t right,
                            std::int64_t amount) {
    auto& content = typeface.Content;
    KerningPair& pair = content.KerningPairs.InsertAfterCurrent();
    pair.PairKey = MakePairKey(left, right);
    pair.Amount = amount;
    AppendToBucket(content, pair);
    return pair;
}

std::int64_t KerningAmount(const Typeface& typeface, std::int64_t key) {
    if (key < 0) {
        return 0;
    }
    const auto bucket = static_cast<std::size_t>(key % KerningBucketCount);
    for (const KerningPair* pair = typeface.Content.KerningTable[bucket]; pair != nullptr;
         pair = pair->NextInBucket) {
        if (pair->PairKey == key) {
            return pair->Amount;
        }
    }
    return 0;
}

Character* FindCharacter(const Typeface& typeface, std::int64_t code) {
    return typeface.Content.CharacterIndex.Find(code);
}

void RebuildIndexes(Typeface& typeface) {
    auto& content = typeface.Content;
    content.CharacterIndex.Clear();
    content.KerningTable.fill(nullptr);
    content.KerningTails.fill(nullptr);
    for (Character& character : content.Characters) {
        content.CharacterIndex.Set(character.Index, &character);
    }
    for (KerningPair& pair : content.KerningPairs) {
        AppendToBucket(content, pair);
    }
}

const Sprite& FlippedSprite(const TypefaceContent& content) {
    FlippedSpriteCache& cache = content.Flipped;
    // Compared by owner, not address: a replaced Sprite's memory may hold the next one.
    const bool current = !cache.Source.owner_before(content.Sprite) &&
                         !content.Sprite.owner_before(cache.Source) && !cache.Source.expired();
    if (!current) {
        cache.Copy = FlipSpriteRows(content.Sprite);
        cache.Source = content.Sprite;
    }
    return cache.Copy;
}

std::int64_t FlippedSpriteHeight(const TypefaceContent& content) {
    return content.Sprite ? content.Sprite->Height : 0;
}

void RebuildFlippedSprite(Typeface& typeface) {
    typeface.Content.Flipped = {};
}

void SetCharacterSetImage(Typeface& typeface, std::optional<Image> image) {
    auto& content = typeface.Content;
    // A non-const object, so that a picture nothing else holds can be taken over to be changed.
    content.Image = image ? std::make_shared<Image>(std::move(*image)) : nullptr;
    const bool drawable = content.Image && content.Image->Width > 0 && content.Image->Height > 0;
    content.Sprite = drawable ? content.Image : nullptr;
    RebuildFlippedSprite(typeface);
}

void SortCharacters(Typeface& typeface) {
    typeface.Content.Characters.Items.sort(
        [](const Character& a, const Character& b) { return a.Index < b.Index; });
}

void SortKerningPairs(Typeface& typeface) {
    typeface.Content.KerningPairs.Items.sort(
        [](const KerningPair& a, const KerningPair& b) { return a.PairKey < b.PairKey; });
}

std::string& PropertyValue(Typeface& typeface, const std::string& key) {
    return typeface.Content.Properties[key];
}

} // namespace glyfora::document
