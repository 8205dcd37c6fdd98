#include "platform/Environment.h"

#include <unistd.h>

extern char** environ; // NOLINT: POSIX declares it, no header does

namespace glyfora::platform {

Environment ProcessEnvironment() {
    Environment environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            continue;
        }
        // The first definition wins, as getenv would find it.
        environment.Variables.emplace(std::string(text.substr(0, equals)),
                                      std::string(text.substr(equals + 1)));
    }
    return environment;
}

std::optional<std::string> EnvironmentValue(const Environment& environment, std::string_view name) {
    const auto found = environment.Variables.find(name);
    if (found == environment.Variables.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<std::string> NonEmptyEnvironmentValue(const Environment& environment,
                                                    std::string_view name) {
    std::optional<std::string> value = EnvironmentValue(environment, name);
    if (value.has_value() && value->empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace glyfora::platform
