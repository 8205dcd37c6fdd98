#pragma once

#include "base/Result.h"

#include <string>

namespace glyfora::platform {

// A folder no other process shares, made inside a parent folder (the system's temporary folder)
// under a fresh name "glyfora-XXXXXX", and removed with everything in it when it goes. Two
// editors running at once export their pictures into folders of their own, so neither ever
// reads the other's file.
class OwnTemporaryFolder {
public:
    // Fails with the reason when the folder cannot be made.
    [[nodiscard]] static base::Result<OwnTemporaryFolder> Make(const std::string& parent);

    OwnTemporaryFolder(OwnTemporaryFolder&& other) noexcept;
    OwnTemporaryFolder& operator=(OwnTemporaryFolder&& other) noexcept;
    OwnTemporaryFolder(const OwnTemporaryFolder&) = delete;
    OwnTemporaryFolder& operator=(const OwnTemporaryFolder&) = delete;
    ~OwnTemporaryFolder();

    // The folder, ending in "/".
    [[nodiscard]] const std::string& Path() const { return path_; }

private:
    explicit OwnTemporaryFolder(std::string path) : path_(std::move(path)) {}
    void Remove() noexcept;

    std::string path_; // empty once moved from
};

} // namespace glyfora::platform
