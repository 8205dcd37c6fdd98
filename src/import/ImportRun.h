#pragma once

#include "document/Typeface.h"
#include "import/CharacterChoice.h"
#include "import/FontFiles.h"
#include "import/GlyphSource.h"
#include "import/ImportOptions.h"
#include "import/ImportProgress.h"
#include "import/OrderedWork.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace glyfora::fontimport {

// Why a new typeface cannot be saved as ".tf", told while the options that would fix it are at
// hand: the first value that does not fit and, for a cell position, the MaxWidth at which every
// cell fits (none when no width does).
struct SaveAdvice {
    std::string Reason;
    std::optional<std::int64_t> FittingWidth;
};

// How an import ended: the new typeface (not yet installed) or why there is none, what the choice
// of characters left out, and whether the typeface can be saved as ".tf".
struct ImportOutcome {
    ImportEnd End = ImportEnd::Failed;
    std::unique_ptr<document::Typeface> Typeface; // when Created
    std::string Reason;                           // when Failed or Cancelled
    std::vector<std::string> Warnings;
    std::optional<SaveAdvice> Advice; // when Created and not savable as ".tf"
};

// The import after the character choice, one worker per source: measure the chosen codes, lay
// the cells out in rows, draw them in rows or compactly as the options' Layout says, and build
// the typeface. The options are taken inside their ranges and drawn with the input's fallbacks.
// The result is the same whatever the number of sources; sources that cannot open are left out.
// Stops with a reason when the size makes no font, when no source can open, when no code is
// chosen, when a picture would be empty or too large, or when progress cancels.
[[nodiscard]] ImportOutcome ImportFromInput(const document::TypefaceRegistry& registry,
                                            std::int64_t id, const ImportOptions& options,
                                            const FontImportInput& input,
                                            std::span<GlyphSource* const> sources,
                                            const ImportProgress& progress = {});

// As above, drawing through FreeType with jobs workers (inside JobsRange, and no more than there
// are codes), each with a font face of its own made through files.
[[nodiscard]] ImportOutcome ImportFromInput(const document::TypefaceRegistry& registry,
                                            std::int64_t id, const ImportOptions& options,
                                            const FontImportInput& input,
                                            const platform::GraphicsLibrary& graphics,
                                            FontFiles& files, const ImportProgress& progress = {},
                                            std::int64_t jobs = CoreCount());

// The whole import, as "Create Typeface" and the command line run it: the fonts of the options
// opened once, the characters and pairs chosen (ReadFontImportInput), then ImportFromInput with
// jobs workers, and the ".tf" check of what it made.
[[nodiscard]] ImportOutcome RunImport(const platform::GraphicsLibrary& graphics,
                                      const document::TypefaceRegistry& registry, std::int64_t id,
                                      const ImportOptions& options,
                                      const ImportProgress& progress = {},
                                      std::int64_t jobs = CoreCount());

} // namespace glyfora::fontimport
