#pragma once

#include "base/Result.h"
#include "cli/CommandLine.h"
#include "document/Typeface.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::cli {

// What a command that changes a typeface file works on: IN, OUT, the BMFont variant "--fnt"
// named, if any, and whether "--force" lets a partly read IN be written over.
struct TypefaceFiles {
    std::string In;
    std::string Out;
    std::optional<std::string> Variant;
    bool Force = false;
};

// Refuses to write out over in when in was only partly read (its load gave warnings), since what
// could not be read would be lost, unless force. Files are compared as files, so another name
// of the same file (a link, a relative path) counts as the same.
[[nodiscard]] base::Result<base::Done> CheckOverwrite(const std::string& in, const std::string& out,
                                                      const std::vector<std::string>& loadWarnings,
                                                      bool force);

using TypefaceChange = std::function<base::Result<base::Done>(document::Typeface&)>;

// Reads files.In, applies change and writes the result to files.Out in the form its extension
// names (a ".fnt" in the variant IN was read in, unless files.Variant names one), as "Save" does in
// the editor. A partly read IN is not written over itself (CheckOverwrite). Warnings, refusals and
// failures are reported in usage's name; nothing is written when the change is refused. Returns the
// exit status.
int ChangeTypefaceFile(const CommandUsage& usage, const TypefaceFiles& files,
                       const TypefaceChange& change);

} // namespace glyfora::cli
