#pragma once

#include "import/ImportOptions.h"

#include <string>
#include <vector>

namespace glyfora::cli {

// The command line of "glyfora-cli import", read into the import window's options.
struct ImportArguments {
    import::ImportOptions Options;
    std::string Output;
    bool Help = false;
    std::string Error; // why the command line is not usable; empty when it is
};

// Reads the arguments after the command name. Every option not given keeps the import window's
// default; numbers must be whole and inside the window's ranges.
[[nodiscard]] ImportArguments ParseImportArguments(const std::vector<std::string>& args);

} // namespace glyfora::cli
