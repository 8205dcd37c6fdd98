#pragma once

#include <string>

namespace glyfora::platform {

// Where an installation keeps the editor's desktop files, as "cmake --install" and the Debian
// package lay them out.
struct InstallLayout {
    std::string DataFromPrograms; // the data folder relative to the programs' folder: "../share"
    std::string ApplicationId;    // names the installed desktop entry, icon and metainfo
};

// The layout this build installs with.
[[nodiscard]] InstallLayout BuiltInstallLayout();

// "<program's folder>/<DataFromPrograms>/applications/<ApplicationId>.desktop": the desktop entry
// an installation puts beside the program.
[[nodiscard]] std::string InstalledDesktopEntryPath(const std::string& programPath,
                                                    const InstallLayout& layout);

// True when the program at programPath runs from an installation, which registered the file type
// for every user: its desktop entry is a file where the layout puts it. A portable or build-tree
// program has none beside it and keeps registering itself at start.
[[nodiscard]] bool RunsFromInstallation(const std::string& programPath,
                                        const InstallLayout& layout = BuiltInstallLayout());

} // namespace glyfora::platform
