#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace glyfora::base {

// A regular file mapped read-only into memory. Pages are read as they are first touched and then
// shared by every reader of the mapping, so readers on several threads may use the bytes at once.
class MappedFile {
public:
    // Maps the regular file at path; empty when it cannot be opened, is no regular file, is empty,
    // or cannot be mapped.
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    [[nodiscard]] std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace glyfora::base
