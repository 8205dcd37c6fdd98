#pragma once

// What a typeface's properties say about the effects baked into its character-set picture. The
// import records them; the file writers describe the picture from them and the example text
// decodes a distance field by them. This is the one place that knows the property names.

#include "document/Image.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace glyfora::document {

inline constexpr const char* OutlineProperty = "Outline";             // width in pixels, "1.5"
inline constexpr const char* OutlineColourProperty = "OutlineColour"; // "#RRGGBBAA"
inline constexpr const char* OutlineJoinProperty = "OutlineJoin";     // "round" or "sharp"
inline constexpr const char* ShadowProperty = "Shadow";               // "DX,DY,BLUR"
inline constexpr const char* ShadowColourProperty = "ShadowColour";   // "#RRGGBBAA"
inline constexpr const char* FillProperty = "Fill";                   // "#RRGGBBAA"
inline constexpr const char* GradientProperty = "Gradient";           // "#top,#bottom"
inline constexpr const char* DistanceFieldProperty = "DistanceField"; // "sdf"
inline constexpr const char* DistanceRangeProperty = "DistanceRange"; // whole pixels, 2 × spread
// What the picture's channels hold: absent for white glyphs, "outlined" for an opaque white fill
// with an opaque black outline and nothing else, "sdf" for a distance field, "colour" otherwise.
inline constexpr const char* InkProperty = "Ink";

using Properties = std::map<std::string, std::string>;

// The outline width the properties record, rounded to whole pixels (halves away from zero); 0
// without an outline. None when the value is not a number of at most 32-bit size.
[[nodiscard]] std::optional<std::int64_t> RoundedOutlineWidth(const Properties& properties);

// A signed distance field: its kind as the files name it ("sdf") and its range in texels, the
// distance from the fully outside to the fully inside value.
struct DistanceField {
    std::string FieldType;
    std::int64_t Range = 0;
    friend bool operator==(const DistanceField&, const DistanceField&) = default;
};

// Whether field can be written in every file that holds one: its type of ASCII letters and digits
// (no quote or blank for a text descriptor to stumble on), its range 1..65535.
[[nodiscard]] bool IsWritableDistanceField(const DistanceField& field);

// The distance field the properties describe: both properties set and IsWritableDistanceField.
// None otherwise.
[[nodiscard]] std::optional<DistanceField> DistanceFieldOf(const Properties& properties);

// How the picture's channels hold the glyphs, as BMFont's channel fields tell it.
enum class PictureKind {
    WhiteGlyphs,           // white everywhere, the coverage in alpha
    WhiteWithBlackOutline, // a white fill with an opaque black outline: alpha the outline, colour
                           // the fill
    Coloured,              // anything else an effect made: every channel is part of the picture
};

// The kind the "Ink" property names; white glyphs without it, so typefaces that no import with
// effects made keep today's description, unless picture (when given) shows a pixel of another
// colour, such as an image added as a character: then it is coloured.
[[nodiscard]] PictureKind PictureKindOf(const Properties& properties,
                                        const Image* picture = nullptr);

} // namespace glyfora::document
