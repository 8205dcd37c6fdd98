#include "document/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace glyfora::document {

namespace {

std::string SystemError(const std::string& what, const std::string& path) {
    return what + " \"" + path + "\": " + std::strerror(errno);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
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

Result<Done> WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // O_EXCL with mode 0666 lets the umask give new files their usual permissions.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        std::string name(".");
        name.append(target.filename().string())
            .append(".")
            .append(std::to_string(::getpid()))
            .append("-")
            .append(std::to_string(attempt))
            .append(".tmp");
        temporary = (folder / name).string();
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return Failure{SystemError("cannot create a file in", folder.string())};
    }
    std::string error;
    if (!WriteAll(fd, bytes)) {
        error = SystemError("cannot write", path);
    } else if (::fsync(fd) != 0) {
        error = SystemError("cannot flush", path);
    }
    if (::close(fd) != 0 && error.empty()) {
        error = SystemError("cannot close", path);
    }
    if (error.empty() && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = SystemError("cannot replace", path);
    }
    if (!error.empty()) {
        ::unlink(temporary.c_str());
        return Failure{std::move(error)};
    }
    return Done{};
}

} // namespace glyfora::document
