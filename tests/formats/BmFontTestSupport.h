#pragma once

// Shared helpers of the ".fnt" tests: a scratch folder, file access, a sample typeface and loading
// a descriptor into a fresh typeface.

#include "PngBytes.h"
#include "ScratchFolder.h"
#include "base/AtomicFile.h"
#include "base/FileReading.h"
#include "document/Pixel.h"
#include "formats/PngCodec.h"
#include "formats/bmfont/BmFontFile.h"
#include "formats/bmfont/BmFontModel.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::formats::fnttest {

using testsupport::ScratchFolder;

inline std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

inline std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// An encoder's bytes; none when it refused.
inline std::vector<std::uint8_t> BytesOf(const base::Result<std::vector<std::uint8_t>>& encoded) {
    return encoded.Value.value_or(std::vector<std::uint8_t>());
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    base::Result<std::vector<std::uint8_t>> read = base::ReadWholeFile(path);
    EXPECT_EQ(read.Error, "") << path;
    return read.Value.value_or(std::vector<std::uint8_t>());
}

inline void WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    ASSERT_EQ(base::WriteFileAtomically(path, bytes).Error, "") << path;
}

inline void WritePng(const std::string& path, const document::Image& image) {
    const auto png = testsupport::PngBytes(image);
    ASSERT_TRUE(png.has_value());
    WriteBytes(path, *png);
}

// A 24 × 16 picture with distinct pixels, a space, "A" and "V", three pairs (one of them zero)
// and the info properties of an imported font.
inline document::Typeface& MakeSampleTypeface(document::TypefaceRegistry& registry) {
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    std::optional<document::Image> image = document::MakeImage(24, 16, 0x00FFFFFF);
    for (std::int64_t y = 0; y < 16; ++y) {
        for (std::int64_t x = 0; x < 24; ++x) {
            if ((x + y) % 3 == 0) {
                // White glyphs whose coverage varies, as an import draws them.
                image->At(x, y) =
                    document::WhiteWithAlpha(255 - static_cast<std::uint32_t>(x * 4 + y));
            }
        }
    }
    document::SetCharacterSetImage(typeface, std::move(image));
    document::Character& space = document::AddCharacter(typeface, 32);
    space.Outlay = {0, 0, 5, 14};
    document::Character& a = document::AddCharacter(typeface, 65);
    a.Source = {1, 2, 10, 12};
    a.Outlay = {-1, 2, 11, 14};
    document::Character& v = document::AddCharacter(typeface, 86);
    v.Source = {12, 0, 9, 13};
    v.Outlay = {0, 1, 9, 14};
    document::AddKerningPair(typeface, 65, 86, -3);
    document::AddKerningPair(typeface, 86, 65, -2);
    document::AddKerningPair(typeface, 65, 65, 0);
    typeface.Content.Properties["Face"] = "Sample Sans";
    typeface.Content.Properties["Size"] = "-14";
    typeface.Content.Properties["Base"] = "11";
    typeface.Content.Properties["Comment"] = "";
    return typeface;
}

struct LoadedFnt {
    std::unique_ptr<document::Typeface> Font;
    std::string Error;
    std::vector<std::string> Warnings;
};

// Reads a descriptor by its content into a fresh typeface, pages from the descriptor's folder.
inline LoadedFnt LoadFnt(const document::TypefaceRegistry& registry, const std::string& folder,
                         std::span<const std::uint8_t> bytes) {
    LoadedFnt loaded{document::MakeTypeface(registry, 5), {}, {}};
    const std::optional<BmFontVariant> variant = DetectBmFontVariant(bytes);
    if (!variant) {
        loaded.Error = "not detected";
        return loaded;
    }
    base::Result<base::Done> read = ReadBmFont(*loaded.Font, bytes, folder, *variant);
    loaded.Error = std::move(read.Error);
    loaded.Warnings = std::move(read.Warnings);
    return loaded;
}

inline std::vector<document::Character> CharactersOf(const document::Typeface& typeface) {
    return {typeface.Content.Characters.begin(), typeface.Content.Characters.end()};
}

inline std::string JoinWarnings(const std::vector<std::string>& warnings) {
    std::string all;
    for (const std::string& warning : warnings) {
        all += warning + "\n";
    }
    return all;
}

} // namespace glyfora::formats::fnttest
