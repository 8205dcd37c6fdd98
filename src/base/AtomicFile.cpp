#include "base/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
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

Result<AtomicFileWriter> AtomicFileWriter::Open(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
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
            return AtomicFileWriter(path, std::move(temporary), fd);
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return Failure{SystemError("cannot create a file in", folder.string())};
}

AtomicFileWriter::AtomicFileWriter(std::string path, std::string temporary, int fd)
    : path_(std::move(path)), temporary_(std::move(temporary)), fd_(fd) {}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : path_(std::move(other.path_)), temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)), size_(other.size_), error_(std::move(other.error_)) {}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Fail(const std::string& what) {
    if (error_.empty()) {
        error_ = SystemError(what, path_);
    }
}

void AtomicFileWriter::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
        fd_ = -1;
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

Result<Done> AtomicFileWriter::Commit() {
    if (fd_ < 0 && !Failed()) {
        return Failure{"\"" + path_ + "\" was already written"};
    }
    if (!Failed() && ::fsync(fd_) != 0) {
        Fail("cannot flush");
    }
    const int fd = std::exchange(fd_, -1);
    if (fd >= 0 && ::close(fd) != 0) {
        Fail("cannot close");
    }
    if (!Failed() && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        Fail("cannot replace");
    }
    if (Failed()) {
        ::unlink(temporary_.c_str());
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
