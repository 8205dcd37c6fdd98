#include "platform/Folders.h"

#include <filesystem>
#include <system_error>

namespace glyfora::platform {

namespace {

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgBaseFolder(const Environment& environment, std::string_view variable,
                          std::string_view fallbackBelowHome) {
    if (const auto value = NonEmptyEnvironmentValue(environment, variable);
        value.has_value() && value->front() == '/') {
        return *value;
    }
    const auto home = NonEmptyEnvironmentValue(environment, "HOME");
    if (!home.has_value()) {
        return {};
    }
    return WithSlash(*home) + std::string(fallbackBelowHome);
}

} // namespace

std::string SettingsFolder(const Environment& environment) {
    std::string base;
    if (const auto appData = NonEmptyEnvironmentValue(environment, "APPDATA")) {
        base = *appData;
    } else {
        base = XdgBaseFolder(environment, "XDG_CONFIG_HOME", ".config");
    }
    if (base.empty()) {
        return {};
    }
    return WithSlash(base) + "Zorbatek/Glyfora/";
}

std::string TemporaryFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error || folder.empty()) {
        return "/tmp/";
    }
    return WithSlash(folder.string());
}

std::string XdgDataHome(const Environment& environment) {
    std::string folder = XdgBaseFolder(environment, "XDG_DATA_HOME", ".local/share");
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string RunningProgramPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

} // namespace glyfora::platform
