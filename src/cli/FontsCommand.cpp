#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "import/FontServices.h"

#include <iostream>
#include <vector>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "fonts", "",
    "Lists the installed font families, one per line, in the order of the import window's family\n"
    "list (by name, letter case ignored). Any name can be given to \"import --family\"."};

} // namespace

int RunFontsCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    if (!args.empty()) {
        return UsageError(Usage, "unexpected argument \"" + args.front() + "\"");
    }
    std::vector<fontimport::FontFamilyEntry> families;
    if (!fontimport::EnumerateFontFamilies(1, families)) {
        return Failure(Usage, "the installed fonts could not be listed (fontconfig)");
    }
    for (const fontimport::FontFamilyEntry& family : families) {
        std::cout << family.Name << '\n';
    }
    return ExitOk;
}

} // namespace glyfora::cli
