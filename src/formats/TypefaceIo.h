#pragma once

#include "base/Result.h"
#include "document/Typeface.h"
#include "formats/FileFormat.h"

#include <cstdint>
#include <span>
#include <string>

namespace glyfora::formats {

// A typeface that was read and installed.
struct LoadedTypeface {
    document::Typeface* Installed = nullptr; // the typeface now under the id
    FileFormatId Format{}; // the form the file was read as, which "Save" writes again
};

// Reads a typeface file (its format told by content, see DetectFileFormat) into a fresh typeface
// that replaces the one under id only when the file could be read. A file that cannot be opened,
// is empty or is in no known form leaves the registry as it was.
[[nodiscard]] base::Result<LoadedTypeface>
LoadTypeface(document::TypefaceRegistry& registry, std::int64_t id, const std::string& fileName);

// As LoadTypeface, over bytes already in memory; directory is the folder part of the file name
// (up to and including the last "/" or "\"), where pictures the file names are looked for.
[[nodiscard]] base::Result<LoadedTypeface>
LoadTypefaceFromMemory(document::TypefaceRegistry& registry, std::int64_t id,
                       std::span<const std::uint8_t> bytes, const std::string& directory);

// Writes the typeface under id in the given format; an existing file is replaced atomically or
// left untouched.
[[nodiscard]] base::Result<base::Done> SaveTypeface(document::TypefaceRegistry& registry,
                                                    std::int64_t id, const std::string& fileName,
                                                    FileFormatId format);

} // namespace glyfora::formats
