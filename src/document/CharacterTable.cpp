#include "document/CharacterTable.h"

namespace glyfora::document {

Character* CharacterTable::Find(std::int64_t code) const {
    if (code < 0 || code >= CharacterCodeCount) {
        return nullptr;
    }
    const auto& page = pages_[static_cast<std::size_t>(code / PageSize)];
    return page ? (*page)[static_cast<std::size_t>(code % PageSize)] : nullptr;
}

void CharacterTable::Set(std::int64_t code, Character* character) {
    if (code < 0 || code >= CharacterCodeCount) {
        return;
    }
    auto& page = pages_[static_cast<std::size_t>(code / PageSize)];
    if (!page) {
        if (character == nullptr) {
            return;
        }
        page = std::make_unique<Page>();
    }
    (*page)[static_cast<std::size_t>(code % PageSize)] = character;
}

void CharacterTable::Clear() {
    for (auto& page : pages_) {
        page.reset();
    }
}

} // namespace glyfora::document
