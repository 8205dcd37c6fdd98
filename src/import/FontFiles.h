#pragma once

#include "base/MappedFile.h"
#include "import/FontMatching.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace glyfora::fontimport {

// The font files of one import: each family and style matched once and each file mapped once, so
// that the faces of all its workers are made from the same bytes without asking fontconfig and the
// file system again for every one. Matching and mapping happen on the one thread that opens the
// import's fonts; faces on other threads may read the bytes at the same time. Every face made
// from the bytes must be closed before the FontFiles is destroyed.
class FontFiles {
public:
    // MatchFontFile(family, style), asked once.
    [[nodiscard]] const std::optional<FontFile>& Match(const std::string& family,
                                                       std::int64_t style);
    // The bytes of the file at path, mapped on first use; empty when it cannot be read.
    [[nodiscard]] std::span<const std::uint8_t> Bytes(const std::string& path);

private:
    std::map<std::pair<std::string, std::int64_t>, std::optional<FontFile>> matches_;
    std::map<std::string, base::MappedFile> files_;
};

} // namespace glyfora::fontimport
