#include "document/TypefaceSnapshot.h"

#include <algorithm>
#include <iterator>

namespace glyfora::document {
namespace {

template <typename Record>
std::optional<std::size_t> CursorPosition(const CursorList<Record>& list) {
    if (list.Current == list.Items.end()) {
        return std::nullopt;
    }
    return PositionInList(list, &*list.Current);
}

template <typename Record>
void RefillList(CursorList<Record>& list, const std::vector<Record>& records,
                std::optional<std::size_t> current) {
    list.Clear();
    list.Items.assign(records.begin(), records.end());
    list.Current = list.Items.end();
    if (current && *current < list.Size()) {
        list.Current = std::next(list.Items.begin(), static_cast<std::ptrdiff_t>(*current));
    }
}

bool SameCharacter(const Character& a, const Character& b) {
    return a.Index == b.Index && a.Outlay == b.Outlay && a.Source == b.Source;
}

bool SamePair(const KerningPair& a, const KerningPair& b) {
    return a.PairKey == b.PairKey && a.Amount == b.Amount;
}

} // namespace

TypefaceSnapshot TakeSnapshot(const Typeface& typeface) {
    const TypefaceContent& content = typeface.Content;
    TypefaceSnapshot snapshot;
    snapshot.Characters.assign(content.Characters.begin(), content.Characters.end());
    snapshot.KerningPairs.assign(content.KerningPairs.begin(), content.KerningPairs.end());
    for (KerningPair& pair : snapshot.KerningPairs) {
        pair.NextInBucket = nullptr;
    }
    snapshot.CurrentCharacter = CursorPosition(content.Characters);
    snapshot.CurrentPair = CursorPosition(content.KerningPairs);
    snapshot.Properties = content.Properties;
    snapshot.Image = content.Image;
    snapshot.Sprite = content.Sprite;
    snapshot.Flipped = content.Flipped;
    snapshot.Channels = content.Channels;
    return snapshot;
}

void RestoreSnapshot(Typeface& typeface, const TypefaceSnapshot& snapshot) {
    TypefaceContent& content = typeface.Content;
    RefillList(content.Characters, snapshot.Characters, snapshot.CurrentCharacter);
    RefillList(content.KerningPairs, snapshot.KerningPairs, snapshot.CurrentPair);
    content.Properties = snapshot.Properties;
    content.Image = snapshot.Image;
    content.Sprite = snapshot.Sprite;
    content.Flipped = snapshot.Flipped;
    content.Channels = snapshot.Channels;
    RebuildIndexes(typeface);
}

bool SameContent(const TypefaceSnapshot& a, const TypefaceSnapshot& b) {
    return std::ranges::equal(a.Characters, b.Characters, SameCharacter) &&
           std::ranges::equal(a.KerningPairs, b.KerningPairs, SamePair) &&
           a.Properties == b.Properties && a.Image == b.Image;
}

std::size_t RecordBytes(const TypefaceSnapshot& snapshot) {
    std::size_t bytes = sizeof(TypefaceSnapshot) +
                        snapshot.Characters.capacity() * sizeof(Character) +
                        snapshot.KerningPairs.capacity() * sizeof(KerningPair);
    for (const auto& [key, value] : snapshot.Properties) {
        // An estimate: a map node holds both strings and its links, longer texts beside it.
        bytes += sizeof(std::pair<const std::string, std::string>) + 4 * sizeof(void*) +
                 key.size() + value.size();
    }
    return bytes;
}

std::size_t PictureBytes(const Image* picture) {
    return picture != nullptr ? picture->Pixels.capacity() * sizeof(std::uint32_t) : 0;
}

} // namespace glyfora::document
