#pragma once

#include "document/Image.h"
#include "import/GlyphSource.h"
#include "import/ImportOptions.h"

#include <cstdint>
#include <optional>

namespace glyfora::fontimport {

// One glyph as the row layout measured and placed it: its code, its rounded advance (without
// letter space), its rounded line height and the left edge of its row cell in the row picture
// (inside the reach of the effects, where the row layout draws the glyph).
struct RowGlyph {
    std::uint16_t Code = 0;
    std::int64_t Advance = 0;
    std::int64_t LineHeight = 0;
    std::int64_t CellX = 0;
};

// A glyph drawn on its own (with its effects) and cropped to its ink plus the paddings.
struct CroppedGlyph {
    document::Image Cell;      // 0 × 0 when the glyph has no ink (or the paddings eat it)
    std::int64_t X = 0, Y = 0; // the cell's top-left corner relative to the row cell's
};

// Draws glyphs one at a time into a scratch picture of its own and crops them, for the compact
// layout. It holds the source open from construction to destruction, so each instance needs a
// source of its own; instances with their own sources share nothing and may run on separate
// threads.
class GlyphCropper {
public:
    // Opens source with the options, which must be inside their ranges as the import makes them.
    GlyphCropper(GlyphSource& source, const ImportOptions& options);
    ~GlyphCropper();
    GlyphCropper(const GlyphCropper&) = delete;
    GlyphCropper& operator=(const GlyphCropper&) = delete;

    // False when the source could not be opened; Crop then gives empty cells.
    [[nodiscard]] bool Ready() const { return open_; }

    // Draws the glyph at the fractional position the row layout gives it (paddings, centring,
    // half-pixel offset, and the float rounding of its row position) with room for ink beyond the
    // advance box in every direction, then crops it. The scratch grows as long as ink touches its
    // edge, so no ink is cut off.
    [[nodiscard]] CroppedGlyph Crop(const RowGlyph& glyph);

private:
    // The ink box of the drawn glyph; none when it left no ink.
    [[nodiscard]] std::optional<document::Rect64> Draw(const RowGlyph& glyph, std::int64_t margin);
    void PrepareScratch(std::int64_t width, std::int64_t height);
    [[nodiscard]] CroppedGlyph CutCell(const document::Rect64& ink, std::int64_t margin) const;

    GlyphSource& source_;
    ImportOptions options_;
    document::Image scratch_; // grown when a glyph needs more room; the source draws into it
    // Where the last glyph may have left ink; the rest of the scratch is clear. Clearing and
    // searching only there keeps the large room around each glyph cheap.
    document::Rect64 dirty_;
    CoverageAlphaRule alpha_{}; // the source's, for painting effects
    bool open_ = false;
};

} // namespace glyfora::fontimport
