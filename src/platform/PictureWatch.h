#pragma once

#include "base/FileReading.h"
#include "base/Result.h"
#include "document/Image.h"
#include "document/Typeface.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace glyfora::platform {

// The exported picture's file name inside the temporary folder.
inline constexpr const char* ExportedPictureName = "CharacterSet.png";
// How often the shell polls the exported picture.
inline constexpr std::chrono::milliseconds PictureWatchPeriod{250};
// How long a changed picture may stay unreadable before the watch says so and starts over.
inline constexpr std::chrono::seconds PictureReleaseTimeout{5};

// What identifies one version of a file, and the stamp of a regular file (none when it does not
// exist or is not a regular file).
using base::FileStamp;
using base::ReadFileStamp;

// The watch of the picture handed to an external editor. Unarmed (empty Path) until the first
// export; once armed it stays armed.
struct PictureWatch {
    std::string Path;
    std::optional<FileStamp> Known; // the version last exported or reloaded
    // When the current change was first found unreadable; none while nothing waits.
    std::optional<std::chrono::steady_clock::time_point> BusySince;
};

enum class WatchStatus {
    Unarmed,     // nothing exported yet
    Unchanged,   // the file is the version last exported or reloaded
    Deleted,     // the file is gone; nothing changes and the watch goes on
    Busy,        // changed but unreadable or still changing; tried again at the next poll
    GaveUp,      // busy for PictureReleaseTimeout; the wait starts over at the next poll
    Undecodable, // changed but not a whole picture (perhaps half written); tried again next poll
    Reloaded,    // changed and decoded: Picture holds the new picture
};

struct WatchResult {
    WatchStatus Status = WatchStatus::Unchanged;
    std::optional<document::Image> Picture; // with Reloaded
    std::string Reason;                     // with Busy, GaveUp and Undecodable
};

// Starts (or restarts) watching path from its current version.
void ArmPictureWatch(PictureWatch& watch, const std::string& path);

// One poll of the watch; never blocks. A Reloaded picture becomes the known version; anything
// else leaves the known version alone, so the change is looked at again at the next poll.
[[nodiscard]] WatchResult PollPictureWatch(PictureWatch& watch,
                                           std::chrono::steady_clock::time_point now);

// Writes the typeface's picture as PNG to folder + ExportedPictureName, replacing the file
// whole, and arms the watch on it; gives the exported file's path. Fails, with the watch
// untouched, when there is no picture or it cannot be written.
[[nodiscard]] base::Result<std::string>
ExportCharacterSetPicture(const document::Typeface& typeface, const std::string& folder,
                          PictureWatch& watch);

} // namespace glyfora::platform
