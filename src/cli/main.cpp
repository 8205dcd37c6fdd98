#include "cli/CommandLine.h"
#include "cli/Commands.h"

#include <array>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using glyfora::cli::ExitOk;
using glyfora::cli::ExitUsage;

struct CommandEntry {
    std::string_view Name;
    std::string_view Summary;
    int (*Run)(const std::vector<std::string>& args);
};

// Every command of the tool, in the order the help lists them.
constexpr std::array Commands{
    CommandEntry{"info", "summary of a typeface, or the whole typeface as JSON",
                 &glyfora::cli::RunInfoCommand},
    CommandEntry{"convert", "read a .tf, .fnt or XML & Image typeface, write .tf, .xml or .fnt",
                 &glyfora::cli::RunConvertCommand},
    CommandEntry{"layout",
                 "the \"Edit\" menu's layout commands: lower case from upper, scale, "
                 "spacing, pack compactly",
                 &glyfora::cli::RunLayoutCommand},
    CommandEntry{"add-image", "add a picture as a character, as \"Add Image\" does",
                 &glyfora::cli::RunAddImageCommand},
    CommandEntry{"fonts", "installed font families, in the import window's order",
                 &glyfora::cli::RunFontsCommand},
    CommandEntry{"import", "make a .tf typeface from an installed font",
                 &glyfora::cli::RunImportCommand},
    CommandEntry{"render", "draw a text with a typeface into a PNG, as the example window does",
                 &glyfora::cli::RunRenderCommand},
};

void PrintGlobalUsage(std::ostream& out) {
    out << "usage: glyfora-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const CommandEntry& command : Commands) {
        out << "  " << command.Name
            << std::string(11 - std::min<std::size_t>(command.Name.size(), 10), ' ')
            << command.Summary << '\n';
    }
    out << "\n\"glyfora-cli COMMAND --help\" describes a command.\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    if (args.empty()) {
        PrintGlobalUsage(std::cerr);
        return ExitUsage;
    }
    if (args.front() == "--help" || args.front() == "-h") {
        PrintGlobalUsage(std::cout);
        return ExitOk;
    }
    for (const CommandEntry& command : Commands) {
        if (command.Name == args.front()) {
            return command.Run({args.begin() + 1, args.end()});
        }
    }
    std::cerr << "glyfora-cli: unknown command \"" << args.front()
              << "\"; \"glyfora-cli --help\" lists the commands\n";
    return ExitUsage;
}
