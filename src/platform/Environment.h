#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace glyfora::platform {

// The process environment as a plain value, so that code which depends on variables such as
// APPDATA or XDG_DATA_HOME can be run by tests with a made-up one.
struct Environment {
    std::map<std::string, std::string, std::less<>> Variables;
};

// A snapshot of the running process's environment.
[[nodiscard]] Environment ProcessEnvironment();

// The variable's value when it is set, even when empty.
[[nodiscard]] std::optional<std::string> EnvironmentValue(const Environment& environment,
                                                          std::string_view name);

// The variable's value when it is set and not empty; many variables treat empty as unset.
[[nodiscard]] std::optional<std::string> NonEmptyEnvironmentValue(const Environment& environment,
                                                                  std::string_view name);

} // namespace glyfora::platform
