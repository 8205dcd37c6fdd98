#pragma once

#include "base/Result.h"
#include "cli/CommandLine.h"
#include "document/Typeface.h"

#include <functional>
#include <optional>
#include <string>

namespace glyfora::cli {

// What a command that changes a typeface file works on: IN, OUT and the BMFont variant "--fnt"
// named, if any.
struct TypefaceFiles {
    std::string In;
    std::string Out;
    std::optional<std::string> Variant;
};

using TypefaceChange = std::function<base::Result<base::Done>(document::Typeface&)>;

// Reads files.In, applies change and writes the result to files.Out in the form its extension
// names (a ".fnt" in the variant IN was read in, unless files.Variant names one), as "Save" does in
// the editor. Warnings, refusals and failures are reported in usage's name; nothing is written
// when the change is refused. Returns the exit status.
int ChangeTypefaceFile(const CommandUsage& usage, const TypefaceFiles& files,
                       const TypefaceChange& change);

} // namespace glyfora::cli
