#include "ScratchFolder.h"
#include "base/FileReading.h"
#include "formats/PictureFile.h"
#include "formats/TypefaceIo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace glyfora::formats {
namespace {

using testsupport::ScratchFolder;

// Every whole-file read of the program goes through ReadRegularFile: typefaces (Open and the
// command-line tool), pictures (the character-set window's "Import") and the raw reader itself.
// Each must refuse what is not a regular file at once, and a file beyond its bound.
TEST(FileReading, OnlyRegularFilesWithinTheBoundAreRead) {
    ScratchFolder folder;
    folder.Write("five.bin", std::string("12345"));
    std::filesystem::create_directory(folder.File("folder"));
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    const struct {
        std::string Path;
        std::uint64_t MaxBytes;
        const char* Reason; // empty: read
    } cases[] = {
        {folder.File("five.bin"), 5, ""},
        {folder.File("five.bin"), 4, "is larger than the 4 bytes a file may have here"},
        {folder.File("folder"), document::MaxImageBytes, "it is a folder, not a file"},
        {folder.File("fifo"), document::MaxImageBytes, "it is a pipe, not a file"},
        {"/dev/zero", document::MaxImageBytes, "it is a device, not a file"},
        {folder.File("missing"), document::MaxImageBytes, "cannot open"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        const base::Result<std::vector<std::uint8_t>> read =
            base::ReadWholeFile(c.Path, c.MaxBytes);
        const std::string& error = read.Error;
        const std::vector<std::uint8_t> bytes = read.Value.value_or(std::vector<std::uint8_t>());
        // A file's first bytes (a picture's header) are refused alike.
        const base::Result<std::vector<std::uint8_t>> start =
            base::ReadFileStart(c.Path, 3, c.MaxBytes);
        if (std::string(c.Reason).empty()) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(bytes.size(), 5U);
            EXPECT_EQ(start.Value, (std::vector<std::uint8_t>{'1', '2', '3'}));
            EXPECT_EQ(base::ReadFileStart(c.Path, 9, c.MaxBytes).Value->size(), 5U);
            continue;
        }
        EXPECT_NE(start.Error.find(c.Reason), std::string::npos) << start.Error;
        EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
        EXPECT_TRUE(bytes.empty());
        if (c.MaxBytes != document::MaxImageBytes) {
            continue;
        }
        document::TypefaceRegistry registry;
        const base::Result<LoadedTypeface> opened = LoadTypeface(registry, 5, c.Path);
        EXPECT_FALSE(opened.Ok());
        EXPECT_NE(opened.Error.find(c.Reason), std::string::npos) << opened.Error;
        const base::Result<document::Image> picture = LoadPictureFile(c.Path);
        EXPECT_FALSE(picture.Value);
        EXPECT_NE(picture.Error.find(c.Reason), std::string::npos) << picture.Error;
    }
}

} // namespace
} // namespace glyfora::formats
