#include "import/FontVariation.h"

#include "base/Utf8.h"

#include <charconv>
#include <cmath>
#include <ft2build.h>
#include <memory>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H
#include FT_SFNT_NAMES_H

namespace glyfora::fontimport {

namespace {

struct MasterCloser {
    FT_Library Library = nullptr;
    void operator()(FT_MM_Var* master) const { FT_Done_MM_Var(Library, master); }
};
using Master = std::unique_ptr<FT_MM_Var, MasterCloser>;

// The English (Windows, US) text of name id, or the first Unicode-platform one; empty when the
// face has neither.
std::string FaceNameText(FT_Face face, FT_UInt id) {
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name{};
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != id) {
            continue;
        }
        const bool windowsEnglish = name.platform_id == 3 && name.language_id == 0x409;
        if (windowsEnglish || name.platform_id == 0) {
            std::u16string text;
            for (FT_UInt at = 0; at + 1 < name.string_len; at += 2) {
                text.push_back(static_cast<char16_t>(name.string[at] << 8 | name.string[at + 1]));
            }
            return base::Utf16ToUtf8(text);
        }
    }
    return {};
}

std::string TagText(FT_ULong tag) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        text.push_back(static_cast<char>((tag >> shift) & 0xFF));
    }
    return text;
}

// Sets one "TAG=VALUE" on coordinates.
base::Result<base::Done> SetAxis(const FT_MM_Var& master, const std::string& axis,
                                 std::vector<std::int64_t>& coordinates) {
    const std::size_t equals = axis.find('=');
    const std::string tag = axis.substr(0, equals);
    double value = 0.0;
    const char* end = axis.data() + axis.size();
    if (equals == std::string::npos ||
        std::from_chars(axis.data() + equals + 1, end, value).ptr != end || !std::isfinite(value)) {
        return base::Failure{"The axis value \"" + axis + "\" is not TAG=NUMBER"};
    }
    for (FT_UInt i = 0; i < master.num_axis; ++i) {
        const FT_Var_Axis& known = master.axis[i];
        if (TagText(known.tag) != tag) {
            continue;
        }
        const std::int64_t fixed = std::llround(value * 65536.0);
        if (fixed < known.minimum || fixed > known.maximum) {
            return base::Failure{"The value " + axis.substr(equals + 1) + " of the axis \"" + tag +
                                 "\" lies outside its range " +
                                 std::to_string(known.minimum / 65536.0) + " to " +
                                 std::to_string(known.maximum / 65536.0)};
        }
        coordinates[i] = fixed;
        return base::Done{};
    }
    return base::Failure{"The font has no axis \"" + tag + "\""};
}

} // namespace

base::Result<FaceVariation> VariationCoordinates(FT_Face face, const std::string& instance,
                                                 const std::vector<std::string>& axes) {
    if (instance.empty() && axes.empty()) {
        return FaceVariation{};
    }
    FT_MM_Var* read = nullptr;
    if (!FT_HAS_MULTIPLE_MASTERS(face) || FT_Get_MM_Var(face, &read) != 0) {
        return base::Failure{"The font is not a variable font, so it has no instance or axis"};
    }
    const Master master(read, MasterCloser{face->glyph->library});
    FaceVariation variation;
    std::vector<std::int64_t>& coordinates = variation.Coordinates;
    for (FT_UInt i = 0; i < master->num_axis; ++i) {
        coordinates.push_back(master->axis[i].def);
    }
    if (!instance.empty()) {
        FT_UInt found = 0;
        for (; found < master->num_namedstyles; ++found) {
            variation.Instance = FaceNameText(face, master->namedstyle[found].strid);
            if (base::EqualIgnoringAsciiCase(variation.Instance, instance)) {
                break;
            }
        }
        if (found == master->num_namedstyles) {
            return base::Failure{"The font has no named instance \"" + instance + "\""};
        }
        for (FT_UInt i = 0; i < master->num_axis; ++i) {
            coordinates[i] = master->namedstyle[found].coords[i];
        }
    }
    for (const std::string& axis : axes) {
        if (const base::Result<base::Done> set = SetAxis(*master, axis, coordinates); !set) {
            return base::Failure{set.Error};
        }
    }
    return variation;
}

std::vector<std::string> NamedInstances(FT_Face face) {
    FT_MM_Var* read = nullptr;
    if (!FT_HAS_MULTIPLE_MASTERS(face) || FT_Get_MM_Var(face, &read) != 0) {
        return {};
    }
    const Master master(read, MasterCloser{face->glyph->library});
    std::vector<std::string> names;
    for (FT_UInt i = 0; i < master->num_namedstyles; ++i) {
        names.push_back(FaceNameText(face, master->namedstyle[i].strid));
    }
    return names;
}

bool SetVariationCoordinates(FT_Face face, const std::vector<std::int64_t>& coordinates) {
    if (coordinates.empty()) {
        return true;
    }
    std::vector<FT_Fixed> fixed(coordinates.begin(), coordinates.end());
    return FT_Set_Var_Design_Coordinates(face, static_cast<FT_UInt>(fixed.size()), fixed.data()) ==
           0;
}

} // namespace glyfora::fontimport
