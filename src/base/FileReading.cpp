#include "base/FileReading.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glyfora::base {

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

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string TooLarge(const std::string& path, std::uint64_t maxBytes) {
    return Quoted(path) + " is larger than the " + std::to_string(maxBytes) +
           " bytes a file may have here";
}

// Reads until the end of the file or until more than maxBytes arrived; the caller compares.
Result<std::vector<std::uint8_t>> ReadAll(int fd, const std::string& path, std::uint64_t maxBytes,
                                          std::size_t expected) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(expected);
    std::uint8_t buffer[1 << 16];
    while (bytes.size() <= maxBytes) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Failure{"cannot read " + Quoted(path) + ": " + std::strerror(errno)};
        }
        if (got == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
}

// Opens path without blocking (so that opening a FIFO does not wait for a writer) and reads its
// status; the descriptor, or why there is none.
Result<int> OpenForReading(const std::string& path, struct stat& status) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return Failure{"cannot open " + Quoted(path) + ": " + std::strerror(errno)};
    }
    if (::fstat(fd, &status) != 0) {
        Failure failure{"cannot look at " + Quoted(path) + ": " + std::strerror(errno)};
        ::close(fd);
        return failure;
    }
    return fd;
}

// Nothing (an empty list of bytes) for a regular file of at most maxBytes, else why it is refused.
Result<std::vector<std::uint8_t>> CheckRegular(const struct stat& status, const std::string& path,
                                               std::uint64_t maxBytes) {
    if (!S_ISREG(status.st_mode)) {
        return Failure{"cannot read " + Quoted(path) + ": it is " + KindOf(status.st_mode) +
                       ", not a file"};
    }
    if (static_cast<std::uint64_t>(status.st_size) > maxBytes) {
        return Failure{TooLarge(path, maxBytes)};
    }
    return std::vector<std::uint8_t>();
}

// Reads the regular file open as fd whose status is before, refusing one that is too large or
// changes meanwhile.
Result<std::vector<std::uint8_t>> ReadOpenFile(int fd, const struct stat& before,
                                               const std::string& path, std::uint64_t maxBytes) {
    if (Result<std::vector<std::uint8_t>> refused = CheckRegular(before, path, maxBytes);
        !refused) {
        return refused;
    }
    Result<std::vector<std::uint8_t>> bytes =
        ReadAll(fd, path, maxBytes, static_cast<std::size_t>(before.st_size));
    struct stat after {};
    if (bytes && bytes.Value->size() > maxBytes) {
        return Failure{TooLarge(path, maxBytes)};
    }
    if (bytes && (::fstat(fd, &after) != 0 || !(StampOf(after) == StampOf(before)))) {
        return Failure{Quoted(path) + " changed while it was read"};
    }
    return bytes;
}

} // namespace

std::optional<FileStamp> ReadFileStamp(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return StampOf(status);
}

Result<FileContents> ReadRegularFile(const std::string& path, std::uint64_t maxBytes) {
    struct stat before {};
    const Result<int> fd = OpenForReading(path, before);
    if (!fd) {
        return Failure{fd.Error};
    }
    Result<std::vector<std::uint8_t>> bytes = ReadOpenFile(*fd.Value, before, path, maxBytes);
    ::close(*fd.Value);
    if (!bytes) {
        return Failure{std::move(bytes.Error)};
    }
    return FileContents{std::move(*bytes.Value), StampOf(before)};
}

Result<std::vector<std::uint8_t>> ReadFileStart(const std::string& path, std::size_t count,
                                                std::uint64_t maxBytes) {
    struct stat status {};
    const Result<int> fd = OpenForReading(path, status);
    if (!fd) {
        return Failure{fd.Error};
    }
    Result<std::vector<std::uint8_t>> start = CheckRegular(status, path, maxBytes);
    if (start) {
        start.Value->resize(count);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got = ::read(*fd.Value, start.Value->data() + done, count - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            done += static_cast<std::size_t>(got);
        }
        start.Value->resize(done);
    }
    ::close(*fd.Value);
    return start;
}

Result<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
    Result<FileContents> contents = ReadRegularFile(path, maxBytes);
    if (!contents) {
        return Failure{std::move(contents.Error)};
    }
    return std::move(contents.Value->Bytes);
}

} // namespace glyfora::base
