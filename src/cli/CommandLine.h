#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::cli {

constexpr int ExitOk = 0;
constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

// What "glyfora-cli NAME --help" prints: the synopsis line and a paragraph about the command.
struct CommandUsage {
    std::string_view Name;
    std::string_view Synopsis;    // arguments after the command name
    std::string_view Description; // may span several lines
};

// True when args ask for help ("--help" or "-h" anywhere).
[[nodiscard]] bool WantsHelp(const std::vector<std::string>& args);

// Prints the command's help on stdout and returns ExitOk.
int PrintHelp(const CommandUsage& usage);

// Prints "glyfora-cli NAME: message" and the synopsis on stderr and returns ExitUsage.
int UsageError(const CommandUsage& usage, const std::string& message);

// Prints the one line "glyfora-cli NAME: message" on stderr and returns ExitError.
int Failure(const CommandUsage& usage, const std::string& message);

// Prints "glyfora-cli NAME: warning: message" on stderr.
void Warn(const CommandUsage& usage, const std::string& message);

// An option's value as a number of type T with an optional sign and nothing else: whole decimal
// digits for an integer T; for a floating-point T a decimal number, "inf" or "nan" (so a command
// can refuse those with its own reason). None for anything else and for numbers beyond T.
template <typename T> [[nodiscard]] std::optional<T> ParseNumber(std::string_view text) {
    T value{};
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
