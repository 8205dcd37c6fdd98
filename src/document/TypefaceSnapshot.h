#pragma once

#include "document/Typeface.h"

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::document {

// A typeface's content as a value, one state of the edit history. Records and properties are
// copied; the picture and its sprites are shared, never copied: pictures are replaced, not
// changed in place, so a state keeps the one it had. The lookup tables are not kept; they are
// rebuilt when a state is restored.
struct TypefaceSnapshot {
    std::vector<Character> Characters;           // in list order
    std::vector<KerningPair> KerningPairs;       // in list order; NextInBucket is not kept
    std::optional<std::size_t> CurrentCharacter; // list positions of the cursors
    std::optional<std::size_t> CurrentPair;
    std::map<std::string, std::string> Properties;
    std::shared_ptr<const document::Image> Image;
    document::Sprite Sprite;
    FlippedSpriteCache Flipped; // shared too, when one was made
    std::optional<PictureChannels> Channels;
};

// The typeface's content now.
[[nodiscard]] TypefaceSnapshot TakeSnapshot(const Typeface& typeface);

// Makes the typeface's content the snapshot's: fresh records in the snapshot's order, cursors at
// the same positions, lookup tables rebuilt, the same picture and sprites. Render settings and
// the modified mark are left alone. Pointers to the old records become invalid.
void RestoreSnapshot(Typeface& typeface, const TypefaceSnapshot& snapshot);

// True when both hold the same records in the same order, the same properties and the same
// picture (by identity). Cursors do not count: moving one is no change.
[[nodiscard]] bool SameContent(const TypefaceSnapshot& a, const TypefaceSnapshot& b);

// The bytes a snapshot holds of its own: its records and properties. Its pictures are shared
// with the typeface and other snapshots; PictureBytes counts each of them.
[[nodiscard]] std::size_t RecordBytes(const TypefaceSnapshot& snapshot);

// The pixel bytes of a picture; 0 for none.
[[nodiscard]] std::size_t PictureBytes(const Image* picture);

// The position of record in list, or none when it is not there.
template <typename Record>
[[nodiscard]] std::optional<std::size_t> PositionInList(const CursorList<Record>& list,
                                                        const Record* record) {
    std::size_t position = 0;
    for (const Record& candidate : list) {
        if (&candidate == record) {
            return position;
        }
        ++position;
    }
    return std::nullopt;
}

// The record at a position of list, or none.
template <typename Record>
[[nodiscard]] Record* RecordAtPosition(CursorList<Record>& list,
                                       std::optional<std::size_t> position) {
    if (!position || *position >= list.Size()) {
        return nullptr;
    }
    return &*std::next(list.begin(), static_cast<std::ptrdiff_t>(*position));
}

} // namespace glyfora::document
