#pragma once

#include "base/Result.h"
#include "import/ImportOptions.h"
#include "import/OrderedWork.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glyfora::cli {

// The command line of "glyfora-cli import", read into the import window's options.
struct ImportArguments {
    fontimport::ImportOptions Options;           // Options.Characters is left to the command
    std::vector<std::uint32_t> ListedCharacters; // the codes of every --chars list, ascending
    std::vector<std::string> CharacterFiles;     // --chars-file, in the order given
    bool CharactersListed = false;               // --chars was given, even with an empty list
    std::string Output;
    std::int64_t Jobs = fontimport::CoreCount(); // workers that rasterise side by side
    bool Help = false;
};

// Reads the arguments after the command name. Every option not given keeps the import window's
// default; numbers must be whole and inside the window's ranges, character lists readable.
// --chars, --chars-file and --fallback may be repeated. Fails with why the command line is not
// usable.
[[nodiscard]] base::Result<ImportArguments>
ParseImportArguments(const std::vector<std::string>& args);

} // namespace glyfora::cli
