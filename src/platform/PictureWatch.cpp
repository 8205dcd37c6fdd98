#include "platform/PictureWatch.h"

#include "document/AtomicFile.h"
#include "document/PictureFile.h"
#include "document/PngCodec.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace glyfora::platform {

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

// One version of the file, read through a single descriptor so that its stamp and its bytes
// belong together.
struct FileVersion {
    FileStamp Stamp;
    std::vector<std::uint8_t> Bytes;
    std::string Error; // why it could not be read whole; empty on success
};

FileVersion ReadVersion(const std::string& path) {
    FileVersion version;
    // Non-blocking, so that a FIFO put in the picture's place cannot stall the user interface.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        version.Error = std::string("cannot open the picture: ") + std::strerror(errno);
        return version;
    }
    struct stat before {};
    struct stat after {};
    if (::fstat(fd, &before) != 0 || !S_ISREG(before.st_mode)) {
        version.Error = "the picture is not a regular file";
        ::close(fd);
        return version;
    }
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            version.Error = std::string("cannot read the picture: ") + std::strerror(errno);
            break;
        }
        if (got == 0) {
            break;
        }
        version.Bytes.insert(version.Bytes.end(), buffer, buffer + got);
    }
    if (version.Error.empty() &&
        (::fstat(fd, &after) != 0 || !(StampOf(after) == StampOf(before)))) {
        version.Error = "the picture is still being written";
    }
    ::close(fd);
    version.Stamp = StampOf(before);
    return version;
}

WatchResult Busy(PictureWatch& watch, std::chrono::steady_clock::time_point now,
                 std::string reason) {
    if (!watch.BusySince) {
        watch.BusySince = now;
    }
    if (now - *watch.BusySince >= PictureReleaseTimeout) {
        watch.BusySince.reset();
        return {WatchStatus::GaveUp, std::nullopt, std::move(reason)};
    }
    return {WatchStatus::Busy, std::nullopt, std::move(reason)};
}

} // namespace

std::optional<FileStamp> ReadFileStamp(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return StampOf(status);
}

void ArmPictureWatch(PictureWatch& watch, const std::string& path) {
    watch.Path = path;
    watch.Known = ReadFileStamp(path);
    watch.BusySince.reset();
}

WatchResult PollPictureWatch(PictureWatch& watch, std::chrono::steady_clock::time_point now) {
    if (watch.Path.empty()) {
        return {WatchStatus::Unarmed, std::nullopt, {}};
    }
    struct stat status {};
    if (::stat(watch.Path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            watch.BusySince.reset();
            return {WatchStatus::Deleted, std::nullopt, {}};
        }
        return Busy(watch, now, std::string("cannot look at the picture: ") + std::strerror(errno));
    }
    if (S_ISREG(status.st_mode) && watch.Known && StampOf(status) == *watch.Known) {
        watch.BusySince.reset();
        return {WatchStatus::Unchanged, std::nullopt, {}};
    }
    FileVersion version = ReadVersion(watch.Path);
    if (!version.Error.empty()) {
        return Busy(watch, now, std::move(version.Error));
    }
    watch.BusySince.reset();
    document::LoadedPicture loaded = document::DecodePicture(version.Bytes);
    if (!loaded.Picture) {
        return {WatchStatus::Undecodable, std::nullopt, std::move(loaded.Error)};
    }
    watch.Known = version.Stamp;
    return {WatchStatus::Reloaded, std::move(loaded.Picture), {}};
}

ExportOutcome ExportCharacterSetPicture(const document::Typeface& typeface,
                                        const std::string& folder, PictureWatch& watch) {
    const auto& image = typeface.Content.Image;
    if (!image || image->Width <= 0 || image->Height <= 0) {
        return {{}, "there is no character-set picture"};
    }
    const auto encoded = document::EncodePng(*image);
    if (!encoded) {
        return {{}, "the picture could not be encoded as PNG"};
    }
    std::string path = folder;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += ExportedPictureName;
    if (std::string error = document::WriteFileAtomically(path, *encoded); !error.empty()) {
        return {{}, std::move(error)};
    }
    ArmPictureWatch(watch, path);
    return {std::move(path), {}};
}

} // namespace glyfora::platform
