#include "ScratchFolder.h"
#include "platform/OwnTemporaryFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace glyfora::platform {
namespace {

namespace fs = std::filesystem;

TEST(OwnTemporaryFolder, EachIsAFreshFolderOfItsOwnInTheParent) {
    const testsupport::ScratchFolder parent;
    const base::Result<OwnTemporaryFolder> first = OwnTemporaryFolder::Make(parent.Path());
    const base::Result<OwnTemporaryFolder> second = OwnTemporaryFolder::Make(parent.Directory());
    ASSERT_TRUE(first) << first.Error;
    ASSERT_TRUE(second) << second.Error;
    for (const std::string& path : {first.Value->Path(), second.Value->Path()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(path.back(), '/');
        EXPECT_TRUE(fs::is_directory(path));
        EXPECT_EQ(fs::path(path).parent_path().parent_path(), fs::path(parent.Path()));
        EXPECT_EQ(fs::path(path).parent_path().filename().string().rfind("glyfora-", 0), 0U);
        // Only its owner may look inside.
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_all);
    }
    EXPECT_NE(first.Value->Path(), second.Value->Path());
}

TEST(OwnTemporaryFolder, GoesWithEverythingInIt) {
    const testsupport::ScratchFolder parent;
    std::string path;
    {
        const base::Result<OwnTemporaryFolder> folder = OwnTemporaryFolder::Make(parent.Path());
        ASSERT_TRUE(folder) << folder.Error;
        path = folder.Value->Path();
        fs::create_directory(path + "inner");
        parent.Write(fs::relative(path + "inner/CharacterSet.png", parent.Path()).string(), "x");
        ASSERT_TRUE(fs::exists(path + "inner/CharacterSet.png"));
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_directory(parent.Path()));
}

TEST(OwnTemporaryFolder, AMovedFolderIsRemovedOnceByItsLastHolder) {
    const testsupport::ScratchFolder parent;
    base::Result<OwnTemporaryFolder> made = OwnTemporaryFolder::Make(parent.Path());
    ASSERT_TRUE(made) << made.Error;
    const std::string path = made.Value->Path();
    std::optional<OwnTemporaryFolder> holder(std::move(*made.Value));
    made.Value.reset(); // the moved-from folder removes nothing
    EXPECT_TRUE(fs::is_directory(path));
    base::Result<OwnTemporaryFolder> other = OwnTemporaryFolder::Make(parent.Path());
    ASSERT_TRUE(other) << other.Error;
    const std::string otherPath = other.Value->Path();
    *holder = std::move(*other.Value); // the folder held before goes
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_directory(otherPath));
    holder.reset();
    EXPECT_FALSE(fs::exists(otherPath));
}

TEST(OwnTemporaryFolder, AParentThatCannotHoldItIsReported) {
    const testsupport::ScratchFolder parent;
    parent.Write("file", "not a folder");
    for (const std::string& bad : {parent.File("missing"), parent.File("file")}) {
        SCOPED_TRACE(bad);
        const base::Result<OwnTemporaryFolder> folder = OwnTemporaryFolder::Make(bad);
        EXPECT_FALSE(folder);
        EXPECT_NE(folder.Error.find(bad), std::string::npos) << folder.Error;
    }
}

} // namespace
} // namespace glyfora::platform
