#pragma once

#include "platform/ConfigurationFile.h"

#include <cstdint>
#include <string>

namespace glyfora::import {

struct TextDrawingContext;

// Everything the import window lets the user choose, by the names the configuration file uses.
struct ImportOptions {
    std::string Family = "Arial";
    std::int64_t Size = 24;              // em size in pixels, 0..128
    std::int64_t TextAntialiasMode = 4;  // list index = text rendering hint, 0..5
    std::int64_t CompositingQuality = 5; // list index, 0..5; the quality used is index - 1
    std::int64_t Style = 0;              // 0x100 bold, 0x200 italic, 4 underline
    bool HalfPixel = false;
    bool Center = false;
    bool Unicode = false;
    std::int64_t LetterSpace = 0; // -100..100
    std::int64_t PaddingTop = 0;  // -100..100 each
    std::int64_t PaddingBottom = 0;
    std::int64_t PaddingLeft = 0;
    std::int64_t PaddingRight = 0;
    std::int64_t MaxWidth = 512; // 0..1024; 0 = everything in one row
};

// The ranges of the numeric options, as the import window's fields and the command line take them.
struct OptionRange {
    std::int64_t Min = 0, Max = 0;
};
constexpr OptionRange SizeRange{0, 128};
constexpr OptionRange TextAntialiasModeRange{0, 5};
constexpr OptionRange CompositingQualityRange{0, 5};
constexpr OptionRange SpaceRange{-100, 100}; // LetterSpace and the four paddings
constexpr OptionRange MaxWidthRange{0, 1024};

// The options as the configuration file keeps them ("ImportTTF"), and back. Flags are 0 or 1 there;
// any non-zero value counts as set.
[[nodiscard]] ImportOptions ImportOptionsFromConfiguration(const platform::ImportOptions& saved);
[[nodiscard]] platform::ImportOptions ConfigurationFromImportOptions(const ImportOptions& options);

// Hands font, style, pixel offset, hint and quality to an open text drawing context.
void ApplyImportOptions(TextDrawingContext& context, const ImportOptions& options);

} // namespace glyfora::import
