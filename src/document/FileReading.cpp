#include "document/FileReading.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glyfora::document {

namespace {

FileStamp StampOf(const struct stat& status) {
    FileStamp stamp;
    stamp.Seconds = status.st_mtim.tv_sec;
    stamp.Nanoseconds = status.st_mtim.tv_nsec;
    stamp.Size = static_cast<std::uint64_t>(status.st_size);
    stamp.Device = static_cast<std::uint64_t>(status.st_dev);
    stamp.Inode = static_cast<std::uint64_t>(status.st_ino);
    return stamp;
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a pipe";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Reads until the end of the file or until more than maxBytes arrived; the caller compares.
std::string ReadAll(int fd, const std::string& path, std::uint64_t maxBytes,
                    std::vector<std::uint8_t>& bytes) {
    std::uint8_t buffer[1 << 16];
    while (bytes.size() <= maxBytes) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return "cannot read " + Quoted(path) + ": " + std::strerror(errno);
        }
        if (got == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return {};
}

std::string TooLarge(const std::string& path, std::uint64_t maxBytes) {
    return Quoted(path) + " is larger than the " + std::to_string(maxBytes) +
           " bytes a file may have here";
}

} // namespace

std::optional<FileStamp> ReadFileStamp(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return StampOf(status);
}

FileContents ReadRegularFile(const std::string& path, std::uint64_t maxBytes) {
    FileContents contents;
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        contents.Error = "cannot open " + Quoted(path) + ": " + std::strerror(errno);
        return contents;
    }
    struct stat before {};
    struct stat after {};
    if (::fstat(fd, &before) != 0) {
        contents.Error = "cannot look at " + Quoted(path) + ": " + std::strerror(errno);
    } else if (!S_ISREG(before.st_mode)) {
        contents.Error = "cannot read " + Quoted(path) + ": it is " + KindOf(before.st_mode) +
                         ", not a file";
    } else if (static_cast<std::uint64_t>(before.st_size) > maxBytes) {
        contents.Error = TooLarge(path, maxBytes);
    } else {
        contents.Bytes.reserve(static_cast<std::size_t>(before.st_size));
        contents.Error = ReadAll(fd, path, maxBytes, contents.Bytes);
        if (contents.Error.empty() && contents.Bytes.size() > maxBytes) {
            contents.Error = TooLarge(path, maxBytes);
        } else if (contents.Error.empty() &&
                   (::fstat(fd, &after) != 0 || !(StampOf(after) == StampOf(before)))) {
            contents.Error = Quoted(path) + " changed while it was read";
        }
    }
    ::close(fd);
    contents.Stamp = StampOf(before);
    if (!contents.Error.empty()) {
        contents.Bytes = {};
    }
    return contents;
}

std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                          std::uint64_t maxBytes) {
    FileContents contents = ReadRegularFile(path, maxBytes);
    bytes = std::move(contents.Bytes);
    return std::move(contents.Error);
}

} // namespace glyfora::document
