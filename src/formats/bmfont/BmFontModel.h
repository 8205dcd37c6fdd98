#pragma once

// The BMFont ".fnt" descriptor as plain values, shared by the text, XML and binary variants, and
// its mapping to and from a Typeface. The variants only turn bytes into a BmFont and back; every
// rule about what a field means lives in BmFontModel.cpp.

#include "base/Result.h"
#include "document/PictureEffects.h"
#include "document/Typeface.h"
#include "formats/FieldLimits.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace glyfora::formats {

struct BmFontInfo {
    std::string Face;
    std::int64_t Size = 0; // negative: the font was made to match a character height
    bool Bold = false;
    bool Italic = false;
    std::string Charset; // Windows character-set name ("ANSI", …) or number; empty with unicode
    bool Unicode = true;
    std::int64_t StretchH = 100;
    bool Smooth = true;
    std::int64_t Aa = 1;
    std::array<std::int64_t, 4> Padding{}; // up, right, down, left
    std::array<std::int64_t, 2> Spacing{}; // horizontal, vertical
    std::int64_t Outline = 0;
};

// Channel meaning (alphaChnl, redChnl, …): 0 glyph, 1 outline, 2 glyph and outline, 3 zero,
// 4 one.
struct BmFontCommon {
    std::int64_t LineHeight = 0;
    std::int64_t Base = 0;
    std::int64_t ScaleW = 0;
    std::int64_t ScaleH = 0;
    std::int64_t Pages = 0;
    bool Packed = false;
    std::int64_t AlphaChnl = 0;
    std::int64_t RedChnl = 4;
    std::int64_t GreenChnl = 4;
    std::int64_t BlueChnl = 4;
};

struct BmFontPage {
    std::int64_t Id = 0;
    std::string File;
};

// chnl bits: 1 blue, 2 green, 4 red, 8 alpha; 15 all channels.
struct BmFontChar {
    std::int64_t Id = 0;
    std::int64_t X = 0, Y = 0, Width = 0, Height = 0;
    std::int64_t XOffset = 0, YOffset = 0, XAdvance = 0;
    std::int64_t Page = 0;
    std::int64_t Chnl = 15;
};

struct BmFontKerning {
    std::int64_t First = 0, Second = 0, Amount = 0;
};

struct BmFont {
    BmFontInfo Info;
    BmFontCommon Common;
    std::vector<BmFontPage> Pages; // in file order
    std::vector<BmFontChar> Chars;
    std::vector<BmFontKerning> Kernings;
    // The msdf-bmfont-xml extension: "distanceField fieldType="sdf" distanceRange=N" after the
    // pages.
    std::optional<document::DistanceField> DistanceField;
};

// The four variants. Parsers return none only when the bytes are not that variant at all; what
// they had to skip or guess is added to warnings. Encoders fail with why the font cannot be
// written in their variant.
[[nodiscard]] std::optional<BmFont> ParseBmFontText(std::span<const std::uint8_t> bytes,
                                                    std::vector<std::string>& warnings);
[[nodiscard]] base::Result<std::vector<std::uint8_t>> EncodeBmFontText(const BmFont& font);
[[nodiscard]] std::optional<BmFont> ParseBmFontXml(std::span<const std::uint8_t> bytes,
                                                   std::vector<std::string>& warnings);
[[nodiscard]] base::Result<std::vector<std::uint8_t>> EncodeBmFontXml(const BmFont& font);
[[nodiscard]] std::optional<BmFont> ParseBmFontBinary(std::span<const std::uint8_t> bytes,
                                                      std::vector<std::string>& warnings);
[[nodiscard]] base::Result<std::vector<std::uint8_t>> EncodeBmFontBinary(const BmFont& font);
[[nodiscard]] std::optional<BmFont> ParseBmFontJson(std::span<const std::uint8_t> bytes,
                                                    std::vector<std::string>& warnings);
[[nodiscard]] base::Result<std::vector<std::uint8_t>> EncodeBmFontJson(const BmFont& font);

// The text and XML variants carry the same records: a tag ("info", "char", …) with named values.
// Both readers hand each record to AddBmFontRecord; both writers format BmFontRecords' output.
struct BmFontField {
    std::string Key;
    std::string Value;
    bool Quoted = false; // a string value rather than a number or a list of numbers
};
struct BmFontRecord {
    std::string Tag;
    std::vector<BmFontField> Fields;
};

// Applies one record: unknown tags and keys are ignored, missing keys keep their defaults, numbers
// are read leniently (see ParseBmFontNumber).
void AddBmFontRecord(BmFont& font, const BmFontRecord& record);

// The records of font in the order BMFont writes them: info, common, pages, the distance field
// when there is one, chars (with count), kernings (with count; the section is left out when there
// are none).
[[nodiscard]] std::vector<BmFontRecord> BmFontRecords(const BmFont& font);

// For a reason about a character's x or y: the narrowest picture width at which the import's row
// packing keeps every character's x and y within low..high.
[[nodiscard]] PositionAdvice AdviseBmFontPictureWidth(const BmFont& font, std::int64_t low,
                                                      std::int64_t high);

// Whether font can be written by a text-based variant; fails with the first number outside the
// 32-bit range.
[[nodiscard]] base::Result<base::Done> CheckBmFontTextRanges(const BmFont& font);

// An optional sign and decimal digits; reading stops at the first other character, no digits give
// 0, and the value saturates at the 32-bit signed range (the widest any variant stores).
[[nodiscard]] std::int64_t ParseBmFontNumber(std::string_view text);

// Windows character-set names as BMFont writes them, and back. Unknown numbers become decimal
// text; unknown names none.
[[nodiscard]] std::string BmFontCharsetName(std::int64_t number);
[[nodiscard]] std::optional<std::int64_t> BmFontCharsetNumber(const std::string& name);

// Properties a typeface read from a ".fnt" keeps for the next export, with the fields they hold:
// "Face", "Size", "Bold", "Italic", "Charset", "Unicode", "StretchH", "Smooth", "Aa", "Padding"
// (up,right,down,left), "Spacing" (horizontal,vertical), "Outline" (info) and "Base" (common).
// A distance field is kept as "DistanceField" and "DistanceRange" besides these.
[[nodiscard]] std::span<const char* const> BmFontPropertyKeys();

// Fills an empty typeface from font: pages are loaded from directory and stacked into one
// picture, packed channels expanded to white on alpha, the rest mapped field by field. Anything
// that could not be kept is added to warnings.
void ApplyBmFont(document::Typeface& typeface, const BmFont& font, const std::string& directory,
                 std::vector<std::string>& warnings);

// The page files of a descriptor named baseName (without folder and extension): baseName, "_",
// the page number zero-padded so that every name has the same length (the binary variant needs
// that), ".png".
[[nodiscard]] std::vector<std::string> BmFontPageNames(const std::string& baseName,
                                                       std::int64_t count);

// The descriptor for typeface, saved under baseName (without folder and extension): its pages are
// named by BmFontPageNames, and a typeface without a "Face" is given baseName. Fails when a
// character or property cannot be represented; warns about what the format cannot hold or had to
// derive.
[[nodiscard]] base::Result<BmFont> BmFontFromTypeface(const document::Typeface& typeface,
                                                      const std::string& baseName);

} // namespace glyfora::formats
