// Feeds arbitrary bytes to the character-list and UTF-8 text readers. A list that reads must give
// ascending distinct Unicode codes that its written form reads back as.
#include "import/CharacterList.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyfora::fontimport;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& codes : {ParseCharacterList(text), CharactersOfText(text)}) {
        if (!codes) {
            continue;
        }
        const std::vector<std::uint32_t>& list = *codes.Value;
        if (std::adjacent_find(list.begin(), list.end(), std::greater_equal<>()) != list.end() ||
            (!list.empty() && list.back() > LastUnicodeCode)) {
            std::abort();
        }
        const auto again = ParseCharacterList(FormatCharacterList(list));
        if (!again || *again.Value != list) {
            std::abort();
        }
    }
    return 0;
}
