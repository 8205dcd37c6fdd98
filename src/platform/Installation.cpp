#include "platform/Installation.h"

#include <filesystem>
#include <system_error>

namespace glyfora::platform {

InstallLayout BuiltInstallLayout() {
    // Both come from the build, which also names the installed files after them.
    return {GLYFORA_DATA_FROM_PROGRAMS, GLYFORA_APPLICATION_ID};
}

std::string InstalledDesktopEntryPath(const std::string& programPath, const InstallLayout& layout) {
    const std::filesystem::path programs = std::filesystem::path(programPath).parent_path();
    return (programs / layout.DataFromPrograms / "applications" /
            (layout.ApplicationId + ".desktop"))
        .lexically_normal()
        .string();
}

bool RunsFromInstallation(const std::string& programPath, const InstallLayout& layout) {
    if (programPath.empty() || layout.ApplicationId.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::is_regular_file(InstalledDesktopEntryPath(programPath, layout), error);
}

} // namespace glyfora::platform
