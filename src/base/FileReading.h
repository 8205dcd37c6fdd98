#pragma once

#include "base/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::base {

// The largest file read whole unless a caller asks for less: the bytes of the largest picture we
// accept, the largest thing any of our files carries.
constexpr std::uint64_t MaxFileBytes = std::uint64_t{1} << 30;

// What identifies one version of a file: its full-precision modification time, its size and
// its file identity, so a save within the same second, or an editor that saves by writing a new
// file and renaming it over the old one, is still noticed.
struct FileStamp {
    std::int64_t Seconds = 0;
    std::int64_t Nanoseconds = 0;
    std::uint64_t Size = 0;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of a regular file; none when it does not exist or is not a regular file.
[[nodiscard]] std::optional<FileStamp> ReadFileStamp(const std::string& path);

struct FileContents {
    std::vector<std::uint8_t> Bytes;
    FileStamp Stamp; // the version that was read
};

// The one way files are read whole. Only a regular file of at most maxBytes is read, through a
// single descriptor opened without blocking: a device, a FIFO or a folder is refused at once,
// a larger file before any of it is read, and a file that changes while it is read is refused
// rather than read half old and half new.
[[nodiscard]] Result<FileContents> ReadRegularFile(const std::string& path,
                                                   std::uint64_t maxBytes = MaxFileBytes);

// ReadRegularFile's bytes alone.
[[nodiscard]] Result<std::vector<std::uint8_t>>
ReadWholeFile(const std::string& path, std::uint64_t maxBytes = MaxFileBytes);

// The first count bytes of a file (fewer when it is shorter), such as a picture's header, refused
// as ReadRegularFile refuses a file.
[[nodiscard]] Result<std::vector<std::uint8_t>>
ReadFileStart(const std::string& path, std::size_t count, std::uint64_t maxBytes = MaxFileBytes);

} // namespace glyfora::base
