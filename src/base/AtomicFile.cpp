#include "base/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace glyfora::base {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " \"" + path + "\": " + std::strerror(errno);
}

// Writes all of bytes at offset, or appends them when offset is negative.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes, off_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::uint8_t* from = bytes.data() + done;
        const std::size_t count = bytes.size() - done;
        const ssize_t written = offset < 0
                                    ? ::write(fd, from, count)
                                    : ::pwrite(fd, from, count, offset + static_cast<off_t>(done));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::string ResolveSymbolicLinks(const std::string& name) {
    // A chain of at most 40 links, as the kernel follows.
    namespace fs = std::filesystem;
    fs::path path(name);
    std::error_code error;
    for (int depth = 0; depth < 40 && fs::is_symlink(path, error); ++depth) {
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path.string();
}

Result<AtomicFileWriter> AtomicFileWriter::Open(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target = ResolveSymbolicLinks(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Failure{"\"" + path + "\" is a folder"};
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return Failure{"\"" + path + "\" is not a regular file"};
    }
    // O_EXCL with mode 0666 lets the umask give new files their usual permissions.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name(".");
        name.append(target.filename().string())
            .append(".")
            .append(std::to_string(::getpid()))
            .append("-")
            .append(std::to_string(attempt))
            .append(".tmp");
        std::string temporary = (folder / name).string();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            AtomicFileWriter writer(target.string(), std::move(temporary), fd);
            if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
                return Failure{SystemError("cannot keep the permissions of", path)};
            }
            return writer;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return Failure{SystemError("cannot create a file in", folder.string())};
}

AtomicFileWriter::AtomicFileWriter(std::string path, std::string temporary, int fd)
    : path_(std::move(path)), temporary_(std::move(temporary)), fd_(fd), pending_(true) {}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : path_(std::move(other.path_)), temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)), pending_(std::exchange(other.pending_, false)),
      size_(other.size_), error_(std::move(other.error_)) {}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (pending_) {
        ::unlink(temporary_.c_str());
    }
}

void AtomicFileWriter::Fail(const std::string& what) {
    if (error_.empty()) {
        error_ = SystemError(what, path_);
    }
}

bool AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || Failed()) {
        return false;
    }
    if (!WriteAll(fd_, bytes, -1)) {
        Fail("cannot write");
        return false;
    }
    size_ += bytes.size();
    return true;
}

bool AtomicFileWriter::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || Failed()) {
        return false;
    }
    if (offset + bytes.size() > size_ || !WriteAll(fd_, bytes, static_cast<off_t>(offset))) {
        Fail("cannot write");
        return false;
    }
    return true;
}

bool AtomicFileWriter::Finish() {
    if (!Failed() && fd_ >= 0 && ::fsync(fd_) != 0) {
        Fail("cannot flush");
    }
    const int fd = std::exchange(fd_, -1);
    if (fd >= 0 && ::close(fd) != 0) {
        Fail("cannot close");
    }
    return !Failed();
}

bool AtomicFileWriter::Install() {
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        Fail("cannot replace");
        return false;
    }
    pending_ = false;
    return true;
}

Result<Done> AtomicFileWriter::Commit() {
    if (!pending_) {
        return Failure{"\"" + path_ + "\" was already written"};
    }
    if (Finish() && Install()) {
        return Done{};
    }
    ::unlink(temporary_.c_str());
    pending_ = false;
    return Failure{error_};
}

AtomicFileWriter* AtomicFileSet::Add(const std::string& path) {
    if (Failed()) {
        return nullptr;
    }
    Result<AtomicFileWriter> file = AtomicFileWriter::Open(path);
    if (!file) {
        error_ = std::move(file.Error);
        return nullptr;
    }
    files_.push_back(std::make_unique<AtomicFileWriter>(std::move(*file.Value)));
    return files_.back().get();
}

Result<Done> AtomicFileSet::Commit() {
    // Every file is flushed before any is renamed, so a full disk fails before a target changes.
    for (const auto& file : files_) {
        if (!Failed() && !file->Finish()) {
            error_ = file->error_;
        }
    }
    for (const auto& file : files_) {
        if (!Failed() && !file->Install()) {
            error_ = file->error_;
        }
    }
    files_.clear(); // removes the temporary files that were not renamed
    if (Failed()) {
        return Failure{error_};
    }
    return Done{};
}

Result<Done> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    Result<AtomicFileWriter> file = AtomicFileWriter::Open(path);
    if (!file) {
        return Failure{std::move(file.Error)};
    }
    static_cast<void>(file.Value->Write(bytes)); // a failure is what Commit reports
    return file.Value->Commit();
}

} // namespace glyfora::base
