#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace glyfora::document {

constexpr std::int64_t CharacterCodeCount = 65536;

struct Character;

// The code-to-record table: 65536 slots, each empty or naming a record (non-owning). The slots
// live in pages of 256 that exist only once one of their slots is set, since a typeface uses few
// of them: an empty table costs neither memory nor the time to clear it, which matters when a
// small file is opened.
class CharacterTable {
public:
    // The record under code, or none; codes outside 0..65535 have none.
    [[nodiscard]] Character* Find(std::int64_t code) const;
    // Puts character (none empties the slot) under code; codes outside 0..65535 are ignored.
    void Set(std::int64_t code, Character* character);
    // Empties every slot.
    void Clear();

private:
    static constexpr std::int64_t PageSize = 256;
    using Page = std::array<Character*, PageSize>;
    std::array<std::unique_ptr<Page>, CharacterCodeCount / PageSize> pages_;
};

} // namespace glyfora::document
