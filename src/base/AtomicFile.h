#pragma once

#include "base/Result.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace glyfora::base {

// A file written in pieces through a temporary file beside it, which Commit flushes and renames
// over the target: an existing file is either replaced whole or left untouched. Large files are
// written as they are encoded, so they are never held whole in memory. A writer that is dropped
// without Commit removes its temporary file. A symbolic link is written through: the temporary
// goes beside the file it points to and replaces that file, so the link stays a link. A file that
// exists keeps its permissions; a new one gets the usual ones (0666 less the umask). A target that
// exists but is not a regular file (a folder, a device) is refused by Open.
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
    friend class AtomicFileSet;

    AtomicFileWriter(std::string path, std::string temporary, int fd);
    void Fail(const std::string& what);
    // Flushes and closes the temporary file, which stays until Install or the writer is dropped.
    [[nodiscard]] bool Finish();
    // Renames the finished temporary file over the target.
    [[nodiscard]] bool Install();

    std::string path_; // the target, symbolic links resolved
    std::string temporary_;
    int fd_ = -1;
    bool pending_ = false; // the temporary file exists and is not yet renamed
    std::uint64_t size_ = 0;
    std::string error_;
};

// Several files saved as one, such as a font descriptor and its page pictures: each is written
// through an AtomicFileWriter of its own, and Commit renames any of them into place only when all
// were written and flushed, in the order they were added. When one fails, every temporary file is
// removed and every target stays as it was. Dropped without Commit, it removes them all.
class AtomicFileSet {
public:
    // A writer for the file at path, valid as long as the set; none (with the set failed) when its
    // temporary file cannot be made.
    [[nodiscard]] AtomicFileWriter* Add(const std::string& path);
    [[nodiscard]] bool Failed() const { return !error_.empty(); }

    // Flushes every file, then renames them all into place; or removes them all and returns the
    // first failure.
    [[nodiscard]] Result<Done> Commit();

private:
    std::vector<std::unique_ptr<AtomicFileWriter>> files_;
    std::string error_;
};

// The file path names, symbolic links followed: what a save through path replaces. Files saved
// beside it (a font's pages) go beside this one.
[[nodiscard]] std::string ResolveSymbolicLinks(const std::string& path);

// Writes bytes to path as one piece through an AtomicFileWriter.
[[nodiscard]] Result<Done> WriteFileAtomically(const std::string& path,
                                               std::span<const std::uint8_t> bytes);

} // namespace glyfora::base
