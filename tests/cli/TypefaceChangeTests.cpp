#include "ScratchFolder.h"
#include "cli/TypefaceChange.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::cli {
namespace {

// Which writes of OUT over IN are refused: only a partly read IN written over itself, under any
// of its names, and only without --force.
TEST(CheckOverwrite, RefusesOnlyAPartlyReadFileWrittenOverItself) {
    const testsupport::ScratchFolder folder;
    folder.Write("face.tf", "bytes");
    folder.Write("other.tf", "bytes");
    std::filesystem::create_symlink(folder.File("face.tf"), folder.File("link.tf"));
    std::filesystem::create_hard_link(folder.File("face.tf"), folder.File("hard.tf"));
    const std::vector<std::string> partly{"chunk 2: CRC mismatch, chunk skipped"};
    const std::vector<std::string> whole;
    const struct {
        const char* Name;
        std::string Out;
        const std::vector<std::string>& Warnings;
        bool Force;
        bool Refused;
    } cases[] = {
        {"partly read, same name", folder.File("face.tf"), partly, false, true},
        {"partly read, through a folder step", folder.File("./face.tf"), partly, false, true},
        {"partly read, a link to it", folder.File("link.tf"), partly, false, true},
        {"partly read, a hard link to it", folder.File("hard.tf"), partly, false, true},
        {"partly read, forced", folder.File("face.tf"), partly, true, false},
        {"partly read, another file", folder.File("other.tf"), partly, false, false},
        {"partly read, a new file", folder.File("new.tf"), partly, false, false},
        {"wholly read, same name", folder.File("face.tf"), whole, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const base::Result<base::Done> allowed =
            CheckOverwrite(folder.File("face.tf"), c.Out, c.Warnings, c.Force);
        EXPECT_EQ(!allowed, c.Refused);
        if (c.Refused) {
            EXPECT_NE(allowed.Error.find("only partly read"), std::string::npos) << allowed.Error;
            EXPECT_NE(allowed.Error.find("--force"), std::string::npos) << allowed.Error;
        }
    }
}

} // namespace
} // namespace glyfora::cli
