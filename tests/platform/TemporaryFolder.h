#pragma once

#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace glyfora::platform::testing {

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = TemporaryFolder() + "glyfora-platform-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        if (!path_.empty()) {
            std::error_code error;
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, error);
            std::filesystem::remove_all(path_, error);
        }
    }

    // The folder without a trailing "/"; empty when it could not be made.
    [[nodiscard]] const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace glyfora::platform::testing
