#pragma once

// The shared body of the ".fnt" reader fuzz targets. Besides the sanitizers' checks it verifies
// that every character read is reachable through the code table, and that whatever a writer
// accepts reads back to the same bytes (write, read, write is stable).

#include "formats/bmfont/BmFontFile.h"
#include "formats/bmfont/BmFontModel.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace glyfora::formats::fuzzing {

using Parser = std::optional<BmFont> (*)(std::span<const std::uint8_t>, std::vector<std::string>&);
using Encoder = base::Result<std::vector<std::uint8_t>> (*)(const BmFont&);

inline int FuzzBmFontReader(std::span<const std::uint8_t> bytes, Parser parse, Encoder encode) {
    static_cast<void>(DetectBmFontVariant(bytes));
    std::vector<std::string> warnings;
    const std::optional<BmFont> font = parse(bytes, warnings);
    if (!font) {
        return 0;
    }
    document::TypefaceRegistry registry;
    const auto typeface = document::MakeTypeface(registry, 5);
    // Pages are looked for in a folder that does not exist, so runs do not depend on files.
    ApplyBmFont(*typeface, *font, "/nonexistent/glyfora-fuzz/", warnings);
    for (const document::Character& character : typeface->Content.Characters) {
        if (document::FindCharacter(*typeface, character.Index) == nullptr) {
            std::abort();
        }
    }
    const base::Result<std::vector<std::uint8_t>> first = encode(*font);
    if (!first) {
        return 0;
    }
    std::vector<std::string> again;
    const std::optional<BmFont> reread = parse(*first.Value, again);
    if (!reread || !again.empty()) {
        std::abort(); // our own output must read back without complaint
    }
    const base::Result<std::vector<std::uint8_t>> second = encode(*reread);
    if (!second || second.Value != first.Value) {
        std::abort();
    }
    return 0;
}

} // namespace glyfora::formats::fuzzing
