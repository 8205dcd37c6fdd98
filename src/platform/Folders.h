#pragma once

#include "platform/Environment.h"

#include <string>

namespace glyfora::platform {

// The folder that holds "Configuration.ini", ending in "/": APPDATA when it is set, otherwise
// $XDG_CONFIG_HOME (default ~/.config), then "Zorbatek/Glyfora/" below it. Empty variables count as
// unset and a relative XDG_CONFIG_HOME is ignored, as the XDG rules ask. Empty when no base folder
// can be found at all (no APPDATA, XDG_CONFIG_HOME or HOME).
[[nodiscard]] std::string SettingsFolder(const Environment& environment);

// The system's temporary folder, ending in "/"; "/tmp/" when the system names none that exists.
[[nodiscard]] std::string TemporaryFolder();

// The user's data folder for desktop integration, without a trailing "/": $XDG_DATA_HOME when it is
// an absolute path, else ~/.local/share. Empty when neither it nor HOME is set.
[[nodiscard]] std::string XdgDataHome(const Environment& environment);

// The full path of the running program's file, empty when the system does not tell.
[[nodiscard]] std::string RunningProgramPath();

} // namespace glyfora::platform
