#pragma once

#include "base/Result.h"
#include "document/ImportOptions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::app {

// Largest zoom a configuration file may restore; the views allow no more.
constexpr std::int64_t MaxConfiguredZoom = 64;

// One window's saved placement. X and Y are the outer top-left corner in screen coordinates,
// Width and Height the inner size (menu bar included); nullopt means "leave the window as it is".
// Hide is 1 for a hidden window. Only the keys the window's group has are read and written.
struct WindowPlacement {
    std::optional<std::int64_t> X;
    std::optional<std::int64_t> Y;
    std::optional<std::int64_t> Width;
    std::optional<std::int64_t> Height;
    std::int64_t Hide = 0;

    bool operator==(const WindowPlacement&) const = default;
};

// How many recently used files the configuration keeps.
constexpr std::size_t MaxRecentFiles = 8;

// Everything "Configuration.ini" holds, with the values a first run starts from.
struct Configuration {
    WindowPlacement WindowMain;         // X, Y; Hide is read but never written
    WindowPlacement WindowExample;      // X, Y, Width, Height, Hide
    WindowPlacement WindowImport;       // X, Y, Hide
    WindowPlacement WindowCharacterSet; // X, Y, Width, Height, Hide
    std::int64_t CharacterSetZoom = 1;
    std::string EditorPath;
    WindowPlacement WindowCharacter; // X, Y, Width, Height, Hide
    std::int64_t CharacterZoom = 8;
    WindowPlacement WindowKerningPair; // X, Y, Width, Height, Hide
    document::ImportOptions ImportTTF;
    // Newest first, at most MaxRecentFiles; the group comes after all others and only when there
    // is a file to remember, so older files stay as they were.
    std::vector<std::string> RecentFiles;

    bool operator==(const Configuration&) const = default;
};

// Reads a configuration file's bytes as a hand-edited file may hold them (platform/IniFile: UTF-8
// or Latin-1, comments, blank lines, any letter case in group and key names, integers from their
// leading sign and digits); missing groups and keys keep their defaults. Zooms are brought into
// 1..MaxConfiguredZoom and down to a power of two, as the views need.
[[nodiscard]] Configuration ReadConfiguration(std::string_view bytes);

// The file's bytes: UTF-8 with byte-order mark, CR LF, an empty first line, the groups and keys in
// their fixed order, "key = value". A window key that is nullopt is left out. A string is cut at
// its first line break, which the format cannot hold.
[[nodiscard]] std::vector<std::uint8_t> WriteConfiguration(const Configuration& configuration);

// folder + "Configuration.ini"; folder normally ends in "/".
[[nodiscard]] std::string ConfigurationFilePath(const std::string& folder);

// Reads folder + "Configuration.ini"; a missing, unreadable or oversized file, or an empty folder,
// gives the defaults.
[[nodiscard]] Configuration LoadConfigurationFile(const std::string& folder);

// Creates the folder and its parents when needed and replaces "Configuration.ini" as a whole.
// On failure an old file is left untouched.
[[nodiscard]] base::Result<base::Done> SaveConfigurationFile(const std::string& folder,
                                                             const Configuration& configuration);

} // namespace glyfora::app
