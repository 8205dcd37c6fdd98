#include "cli/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace glyfora::cli {

bool WantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

int PrintHelp(const CommandUsage& usage) {
    std::cout << "usage: glyfora-cli " << usage.Name << ' ' << usage.Synopsis << "\n\n"
              << usage.Description << '\n';
    return ExitOk;
}

int UsageError(const CommandUsage& usage, const std::string& message) {
    std::cerr << "glyfora-cli " << usage.Name << ": " << message << '\n'
              << "usage: glyfora-cli " << usage.Name << ' ' << usage.Synopsis << '\n';
    return ExitUsage;
}

int Failure(const CommandUsage& usage, const std::string& message) {
    std::cerr << "glyfora-cli " << usage.Name << ": " << message << '\n';
    return ExitError;
}

void Warn(const CommandUsage& usage, const std::string& message) {
    std::cerr << "glyfora-cli " << usage.Name << ": warning: " << message << '\n';
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    std::int64_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) {
        return std::nullopt;
    }
    return value;
}

} // namespace glyfora::cli
