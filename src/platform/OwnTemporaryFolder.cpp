#include "platform/OwnTemporaryFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

namespace glyfora::platform {

base::Result<OwnTemporaryFolder> OwnTemporaryFolder::Make(const std::string& parent) {
    std::string pattern = parent;
    if (!pattern.empty() && pattern.back() != '/') {
        pattern += '/';
    }
    pattern += "glyfora-XXXXXX";
    // mkdtemp makes the folder with a name nobody holds, readable by its owner only.
    if (::mkdtemp(pattern.data()) == nullptr) {
        return base::Failure{"cannot make a folder in \"" + parent + "\": " + std::strerror(errno)};
    }
    return OwnTemporaryFolder(pattern + '/');
}

OwnTemporaryFolder::OwnTemporaryFolder(OwnTemporaryFolder&& other) noexcept
    : path_(std::exchange(other.path_, {})) {}

OwnTemporaryFolder& OwnTemporaryFolder::operator=(OwnTemporaryFolder&& other) noexcept {
    if (this != &other) {
        Remove();
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

OwnTemporaryFolder::~OwnTemporaryFolder() {
    Remove();
}

void OwnTemporaryFolder::Remove() noexcept {
    if (!path_.empty()) {
        std::error_code ignored; // nothing can be done about a folder that will not go
        std::filesystem::remove_all(path_, ignored);
        path_.clear();
    }
}

} // namespace glyfora::platform
