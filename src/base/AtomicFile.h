#pragma once

#include "base/Result.h"

#include <cstdint>
#include <span>
#include <string>

namespace glyfora::base {

// A file written in pieces through a temporary file in the same folder, which Commit flushes and
// renames over the target: an existing file is either replaced whole or left untouched. Large
// files are written as they are encoded, so they are never held whole in memory. A writer that
// is dropped without Commit removes its temporary file.
class AtomicFileWriter {
public:
    // Creates the temporary file for path.
    [[nodiscard]] static Result<AtomicFileWriter> Open(const std::string& path);

    AtomicFileWriter(AtomicFileWriter&& other) noexcept;
    AtomicFileWriter& operator=(AtomicFileWriter&&) = delete;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    // Appends bytes. After the first failure nothing more is written and every call is false;
    // Commit reports why.
    bool Write(std::span<const std::uint8_t> bytes);
    // Overwrites bytes written before, at offset from the start (a size known only at the end).
    bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Bytes appended so far.
    [[nodiscard]] std::uint64_t Size() const { return size_; }
    [[nodiscard]] bool Failed() const { return !error_.empty(); }

    // Flushes, closes and renames the file into place; or, after a failed write, removes it and
    // returns that failure.
    [[nodiscard]] Result<Done> Commit();

private:
    AtomicFileWriter(std::string path, std::string temporary, int fd);
    void Fail(const std::string& what);
    void Discard();

    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::string error_;
};

// Writes bytes to path as one piece through an AtomicFileWriter.
[[nodiscard]] Result<Done> WriteFileAtomically(const std::string& path,
                                               std::span<const std::uint8_t> bytes);

} // namespace glyfora::base
