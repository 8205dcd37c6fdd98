#include "cli/CommandLine.h"

#include <algorithm>
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

} // namespace glyfora::cli
