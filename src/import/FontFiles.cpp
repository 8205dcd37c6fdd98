#include "import/FontFiles.h"

namespace glyfora::fontimport {

const std::optional<FontFile>& FontFiles::Match(const std::string& family, std::int64_t style) {
    auto key = std::make_pair(family, style);
    auto found = matches_.find(key);
    if (found == matches_.end()) {
        found = matches_.emplace(std::move(key), MatchFontFile(family, style)).first;
    }
    return found->second;
}

std::span<const std::uint8_t> FontFiles::Bytes(const std::string& path) {
    return files_.try_emplace(path, path).first->second.Bytes();
}

} // namespace glyfora::fontimport
