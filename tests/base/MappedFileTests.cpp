#include "ScratchFolder.h"
#include "base/MappedFile.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace glyfora::base {
namespace {

TEST(MappedFile, MapsRegularFilesAndNothingElse) {
    const testsupport::ScratchFolder folder;
    folder.Write("font.ttf", std::string("\0\1\0\0glyphs", 10));
    folder.Write("empty.ttf", "");
    ASSERT_EQ(mkfifo(folder.File("pipe").c_str(), 0600), 0);
    const MappedFile font(folder.File("font.ttf"));
    EXPECT_EQ(std::string(font.Bytes().begin(), font.Bytes().end()),
              std::string("\0\1\0\0glyphs", 10));
    // A FIFO must not block the open; the others are simply not there to map.
    for (const char* name : {"empty.ttf", "pipe", "missing.ttf", ""}) {
        EXPECT_TRUE(MappedFile(folder.File(name)).Bytes().empty()) << name;
    }
}

} // namespace
} // namespace glyfora::base
