#include "ScratchFolder.h"
#include "platform/Installation.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace glyfora::platform {
namespace {

TEST(Installation, TheDesktopEntryBesideTheProgramMarksAnInstalledCopy) {
    const InstallLayout layout{"../share", "org.example.Tool"};
    const struct {
        const char* Case;
        const char* Program;
        const char* Entry; // made in the scratch folder; nullptr for none
        bool Installed;
    } cases[] = {
        {"installed", "usr/bin/glyfora", "usr/share/applications/org.example.Tool.desktop", true},
        {"build tree, nothing beside it", "build/src/glyfora", nullptr, false},
        {"another application's entry", "usr/bin/glyfora",
         "usr/share/applications/org.example.Other.desktop", false},
        {"entry of another prefix", "opt/tool/bin/glyfora",
         "usr/share/applications/org.example.Tool.desktop", false},
        {"a folder in the entry's place", "usr/bin/glyfora",
         "usr/share/applications/org.example.Tool.desktop/", false},
    };
    for (const auto& test : cases) {
        const testsupport::ScratchFolder root;
        if (test.Entry != nullptr) {
            const std::filesystem::path entry = root.File(test.Entry);
            std::filesystem::create_directories(entry.parent_path());
            if (!std::string_view(test.Entry).ends_with('/')) {
                root.Write(test.Entry, "[Desktop Entry]\n");
            }
        }
        EXPECT_EQ(RunsFromInstallation(root.File(test.Program), layout), test.Installed)
            << test.Case;
    }
}

TEST(Installation, EntryPathFollowsTheLayout) {
    EXPECT_EQ(InstalledDesktopEntryPath("/usr/bin/glyfora", {"../share", "a.b.C"}),
              "/usr/share/applications/a.b.C.desktop");
    EXPECT_EQ(InstalledDesktopEntryPath("/opt/g/programs/glyfora", {"../../data", "a.b.C"}),
              "/opt/data/applications/a.b.C.desktop");
    // The build installs by GNUInstallDirs: share/ beside bin/.
    EXPECT_EQ(BuiltInstallLayout().DataFromPrograms, "../share");
    EXPECT_FALSE(RunsFromInstallation("", BuiltInstallLayout()));
}

} // namespace
} // namespace glyfora::platform
