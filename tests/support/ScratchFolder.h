#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace glyfora::testsupport {

// A fresh folder of its own below the system's temporary folder, removed with everything in it
// at the end. Every test and test run that needs files on disk makes one; the unique name keeps
// runs of the same tests side by side (offscreen and on X) apart.
class ScratchFolder {
public:
    // Throws std::system_error when the folder cannot be made: a test cannot go on without it.
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "glyfora-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(),
                                    "cannot make a scratch folder " + pattern);
        }
        path_ = pattern;
    }
    ~ScratchFolder() {
        // Tests take rights away from the folder to provoke errors; give them back to remove it.
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder without a trailing "/".
    [[nodiscard]] const std::string& Path() const { return path_; }
    // The folder with a trailing "/", as DirectoryOf gives it.
    [[nodiscard]] std::string Directory() const { return path_ + "/"; }
    // A file (or folder) in the folder; name may hold "/".
    [[nodiscard]] std::string File(std::string_view name) const { return Directory().append(name); }

    // Throws std::system_error when the file cannot be written, so a test never goes on with a
    // file it believes is there.
    void Write(std::string_view name, std::string_view text) const {
        std::ofstream file(File(name), std::ios::binary);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            throw std::system_error(errno, std::generic_category(), "cannot write " + File(name));
        }
    }
    void Write(std::string_view name, std::span<const std::uint8_t> bytes) const {
        Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    [[nodiscard]] std::string Read(std::string_view name) const {
        std::ifstream file(File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    // The names of the entries in the folder, sorted.
    [[nodiscard]] std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

} // namespace glyfora::testsupport
