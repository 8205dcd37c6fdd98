#pragma once

#include "document/Typeface.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace glyfora::document {

// File formats SaveTypeface understands.
constexpr int FormatTf = 0;
constexpr int FormatXmlImage = 1;
constexpr int FormatBmFontText = 2;   // BMFont ".fnt", text variant, with its page picture
constexpr int FormatBmFontXml = 3;    // BMFont ".fnt", XML variant
constexpr int FormatBmFontBinary = 4; // BMFont ".fnt", binary variant

struct LoadResult {
    Typeface* Loaded = nullptr;        // the typeface now under the id; none on failure
    std::string Error;                 // why nothing was loaded
    std::vector<std::string> Warnings; // why a file was only partly read, and so on
    int Format = FormatTf;             // the form the file was read as, which "Save" writes again
};

struct SaveResult {
    bool Saved = false;
    std::string Error;                 // why nothing was written
    std::vector<std::string> Warnings; // what the chosen format could not hold
};

// Reads a typeface file (".tf" by its signature, otherwise an XML & Image description) into a
// fresh typeface that replaces the one under id only when the file could be read. A file that
// cannot be opened, is empty or is neither form leaves the registry as it was.
[[nodiscard]] LoadResult LoadTypeface(TypefaceRegistry& registry, std::int64_t id,
                                      const std::string& fileName);

// As LoadTypeface, over bytes already in memory; directory is the folder part of the file name
// (up to and including the last "/" or "\"), where an XML description's picture is looked for.
[[nodiscard]] LoadResult LoadTypefaceFromMemory(TypefaceRegistry& registry, std::int64_t id,
                                                std::span<const std::uint8_t> bytes,
                                                const std::string& directory);

// Writes the typeface under id in the given format; an existing file is replaced atomically or
// left untouched.
[[nodiscard]] SaveResult SaveTypeface(TypefaceRegistry& registry, std::int64_t id,
                                      const std::string& fileName, int format);

// fileName unchanged when its extension (the text after the last ".") equals extension exactly,
// case included; otherwise fileName + "." + extension.
[[nodiscard]] std::string WithExtension(const std::string& fileName, const std::string& extension);

// The folder part of a file name, up to and including the last "/" or "\"; empty when none.
[[nodiscard]] std::string DirectoryOf(const std::string& fileName);

} // namespace glyfora::document
