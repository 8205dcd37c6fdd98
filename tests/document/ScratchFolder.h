#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::document {

// A fresh folder per test, removed afterwards, with small helpers to put files into it.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        Path = std::filesystem::temp_directory_path() /
               ("glyfora-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder with a trailing "/", as DirectoryOf gives it.
    [[nodiscard]] std::string Directory() const { return Path.string() + "/"; }
    [[nodiscard]] std::string File(const std::string& name) const { return (Path / name).string(); }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path / name, std::ios::binary) << text;
    }
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(Path / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    [[nodiscard]] std::string Read(const std::string& name) const {
        std::ifstream file(Path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    [[nodiscard]] std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path Path;
};

} // namespace glyfora::document
