#pragma once

#include "document/GlyphEffects.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glyfora::document {

// How the import lays cells into the picture: Rows gives every glyph a cell one advance wide and
// one line high, in rows; Compact crops each cell to the glyph's ink (plus the paddings) and packs
// the cells densely with gutters between them.
enum class CellLayout { Rows, Compact };

// Everything the import window lets the user choose, named by the keys of the configuration
// file's "ImportTTF" group and in their order. The font import reads them and the configuration
// file keeps them, so they live below both.
struct ImportOptions {
    std::string Family = "Arial";
    std::int64_t Size = 24;              // em size in pixels, 0..128
    std::int64_t TextAntialiasMode = 4;  // list index = text rendering hint, 0..5
    std::int64_t CompositingQuality = 5; // list index, 0..5; the quality used is index - 1
    std::int64_t LetterSpace = 0;        // -100..100
    std::int64_t PaddingTop = 0;         // -100..100 each
    std::int64_t PaddingBottom = 0;
    std::int64_t PaddingLeft = 0;
    std::int64_t PaddingRight = 0;
    std::int64_t Style = 0; // 0x100 bold, 0x200 italic, 4 underline
    bool Center = false;
    bool Unicode = false;
    bool HalfPixel = false;
    std::int64_t MaxWidth = 512; // 0..16384; 0 = one row (Rows) or a near-square picture (Compact)
    CellLayout Layout = CellLayout::Rows;
    std::int64_t Gutter = 1; // 0..64, empty pixels between compact cells
    bool PowerOfTwo = false; // compact picture sides rounded up to powers of two
    // A character list ("32-126, U+0400-U+04FF"); when it names any code it replaces Unicode.
    std::string Characters;
    // Families that draw the codes the main font lacks, first covering one first.
    std::vector<std::string> Fallbacks;
    GlyphEffects Effects;

    bool operator==(const ImportOptions&) const = default;
};

// The ranges of the numeric options, as the import window's fields and the command line take them.
struct OptionRange {
    std::int64_t Min = 0, Max = 0;
};
constexpr OptionRange SizeRange{0, 128};
constexpr OptionRange TextAntialiasModeRange{0, 5};
constexpr OptionRange CompositingQualityRange{0, 5};
constexpr OptionRange SpaceRange{-100, 100}; // LetterSpace and the four paddings
constexpr OptionRange MaxWidthRange{0, 16384};
constexpr OptionRange GutterRange{0, 64};

} // namespace glyfora::document
