#pragma once

#include "document/Typeface.h"
#include "import/GlyphSource.h"
#include "import/ImportOptions.h"
#include "import/OrderedWork.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace glyfora::fontimport {

// A kerning pair as the font services report it; Amount in pixels of the Size-pixel font.
struct ImportKerningPair {
    std::uint16_t First = 0;
    std::uint16_t Second = 0;
    std::int32_t Amount = 0;
};

// What the font services answered for the chosen family and size: the covered codes in their
// order (repeats kept) and the kerning pairs in theirs.
struct FontImportInput {
    std::vector<std::uint16_t> Codes;
    std::vector<ImportKerningPair> Pairs;
    // The codes were chosen by a character list: all of them and all pairs are taken, whatever
    // the Unicode choice.
    bool Listed = false;
    // The fallback families that draw codes the main font lacks, in the order they are asked.
    std::vector<std::string> Fallbacks;
    std::vector<std::string> Warnings; // what the choice of codes left out
};

// Told (done, total) as an import proceeds, always on the thread that runs the import; returning
// false cancels it.
using ImportProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Rounds to the nearest integer, halves away from zero; 0 for values that are not finite.
[[nodiscard]] std::int64_t RoundHalfAwayFromZero(double value);

// ceil(value / 64) × 64.
[[nodiscard]] std::int64_t RoundUpTo64(std::int64_t value);

// Adds a zeroed Character for every code at most 255 (every code when unicode) and every pair
// whose sides are both at most 255 (every pair when unicode), whether or not its characters are.
void GatherFontCharacters(document::Typeface& typeface, std::span<const std::uint16_t> codes,
                          std::span<const ImportKerningPair> pairs, bool unicode);

struct MeasureResult {
    std::int64_t Width = 0;  // the single row's width rounded up to 64 (used when MaxWidth is 0)
    std::int64_t Height = 0; // all rows' height rounded up to 64
    double Ascent = 0.0;     // the drawing font's ascent in pixels
    std::string Family;      // the drawing font's family, as matched
    bool Measured = false;   // false when the glyph source could not open
    bool Cancelled = false;
};

// Gives every character its Outlay and cell size, packing rows against options.MaxWidth, and
// returns the image size they need.
[[nodiscard]] MeasureResult MeasureCharacters(document::Typeface& typeface,
                                              const ImportOptions& options, GlyphSource& source,
                                              const ImportProgress& progress = {});

// The row layout's drawing pass: places every cell in picture (row by row, wrapping at its width),
// draws each glyph in opaque white on transparent white, and makes picture the typeface's Image
// and Sprite.
// False when cancelled; the typeface's picture is then left as it was.
[[nodiscard]] bool DrawCharacterSet(document::Typeface& typeface, document::Image picture,
                                    const ImportOptions& options, GlyphSource& source,
                                    const ImportProgress& progress = {});

struct ImportResult {
    std::unique_ptr<document::Typeface> Typeface; // none when the import stopped
    std::string Error;                            // why it stopped
    bool Cancelled = false;
};

// A new typeface (not yet installed under id) from the font services' answers and the options:
// characters, kerning pairs, metrics, the packed character-set image and both sprites, and the
// properties "Face" (the family actually drawn with), "Size", "Base" and, when fallbacks draw
// any character, "Fallbacks" (their families joined by document::FamilySeparator). The options'
// Layout chooses row cells or compact cells: each glyph cropped to its ink plus the paddings, with
// the advances, line heights and kerning of the rows and Outlay X/Y moved so that every pixel is
// drawn where the rows draw it, packed with gutters. Stops with a reason when the image would be
// empty or too large, when the rasteriser is not ready, or when progress cancels.
[[nodiscard]] ImportResult CreateTypefaceFromFont(const document::TypefaceRegistry& registry,
                                                  std::int64_t id, const ImportOptions& options,
                                                  const FontImportInput& input, GlyphSource& source,
                                                  const ImportProgress& progress = {});

// As above with one worker per source: measuring, rasterising and cropping run on all of them at
// once, opening the sources, compositing and progress on this thread. The result is the same
// whatever the number of sources; sources that cannot open are left out.
[[nodiscard]] ImportResult CreateTypefaceFromFont(const document::TypefaceRegistry& registry,
                                                  std::int64_t id, const ImportOptions& options,
                                                  const FontImportInput& input,
                                                  std::span<GlyphSource* const> sources,
                                                  const ImportProgress& progress = {});

// As above, drawing through FreeType with jobs workers (inside JobsRange), each with a font face
// of its own.
[[nodiscard]] ImportResult CreateTypefaceFromFont(const document::TypefaceRegistry& registry,
                                                  std::int64_t id, const ImportOptions& options,
                                                  const FontImportInput& input,
                                                  const platform::GraphicsLibrary& graphics,
                                                  const ImportProgress& progress = {},
                                                  std::int64_t jobs = CoreCount());

} // namespace glyfora::fontimport
