#pragma once

// The one table of typeface file formats: what each is called, its extensions, how it is told
// apart by content, how it is read and written, and what its fields can hold. Loading, saving, the
// editor's file dialogs and glyfora-cli all work from it, so a new format is one more entry.

#include "base/Result.h"
#include "document/Typeface.h"
#include "formats/FieldLimits.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace glyfora::formats {

enum class FileFormatId { Tf, XmlImage, BmFontText, BmFontXml, BmFontBinary, BmFontJson };

struct FileFormat {
    FileFormatId Id;
    const char* DisplayName;                      // as the file dialogs' filters name it
    const char* InfoName;                         // as glyfora-cli info reports the form of a file
    std::span<const std::string_view> Extensions; // lower case, without the dot; first is saved
    // True when the bytes are in this format. None for the one format without a signature, which
    // is read when no other format's test matches.
    bool (*Detect)(std::span<const std::uint8_t> bytes);
    // Fills an empty typeface; directory (ending in a separator, or empty) is where pictures the
    // file names are looked for.
    base::Result<base::Done> (*Read)(document::Typeface& typeface,
                                     std::span<const std::uint8_t> bytes,
                                     const std::string& directory);
    // Writes the file (and any picture beside it) atomically; refuses, writing nothing, a value
    // the format cannot hold.
    base::Result<base::Done> (*Write)(const document::Typeface& typeface,
                                      const std::string& fileName);
    // The ranges of the typeface's own fields the format holds, checked before writing; none
    // where the format checks its own descriptor fields instead (BMFont, in BmFontModel).
    const FieldLimits* Limits;
};

// Every format, in the order the file dialogs list them.
[[nodiscard]] std::span<const FileFormat> FileFormats();

// The entry of id; the first entry for an id that has none.
[[nodiscard]] const FileFormat& FileFormatOf(FileFormatId id);

// The format of bytes by content: the formats with a test in table order, else the one without.
[[nodiscard]] const FileFormat& DetectFileFormat(std::span<const std::uint8_t> bytes);

// The format to save fileName in, by its extension (case ignored): current when it has that
// extension (so a ".fnt" keeps the variant it was read as), else the first format that has it.
// None for an extension no format has.
[[nodiscard]] std::optional<FileFormatId>
FormatForFileName(const std::string& fileName, std::optional<FileFormatId> current = std::nullopt);

// Whether format has the extension, case ignored.
[[nodiscard]] bool HasExtension(const FileFormat& format, std::string_view extension);

// The extension after the last "." of the file name (not of a folder), in lower case; empty when
// there is none. Extensions are compared this way everywhere.
[[nodiscard]] std::string ExtensionOf(const std::string& fileName);

// fileName unchanged when its extension is extension (case ignored); otherwise fileName + "." +
// extension.
[[nodiscard]] std::string WithExtension(const std::string& fileName, const std::string& extension);

// The folder part of a file name, up to and including the last "/" or "\"; empty when none.
[[nodiscard]] std::string DirectoryOf(const std::string& fileName);

} // namespace glyfora::formats
