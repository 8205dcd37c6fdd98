#include "cli/EffectArguments.h"

#include "cli/CommandLine.h"
#include "document/ColourText.h"
#include "import/GlyphEffects.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace glyfora::cli {

namespace {

std::vector<std::string> SplitAtCommas(const std::string& value) {
    std::vector<std::string> parts(1);
    for (const char c : value) {
        if (c == ',') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::optional<std::uint32_t> ReadColour(const std::string& text) {
    return text.size() > 1 && text[0] == '#'
               ? document::ParseHexColour(std::string_view(text).substr(1))
               : std::nullopt;
}

std::optional<double> ReadReal(const std::string& text, double max) {
    const std::optional<double> number = ParseNumber<double>(text);
    return number && std::isfinite(*number) && *number >= 0.0 && *number <= max ? number
                                                                                : std::nullopt;
}

std::optional<std::int64_t> ReadWhole(const std::string& text, std::int64_t min, std::int64_t max) {
    const std::optional<std::int64_t> number = ParseNumber<std::int64_t>(text);
    return number && *number >= min && *number <= max ? number : std::nullopt;
}

base::Result<base::Done> Refused(const std::string& arg, const std::string& form,
                                 const std::string& value) {
    return base::Failure{arg + " must be " + form + ", not \"" + value + "\""};
}

bool SetOutline(document::GlyphEffects& effects, const std::vector<std::string>& parts) {
    const std::optional<double> width = ReadReal(parts[0], document::OutlineWidthOption.Max);
    const std::optional<std::uint32_t> colour =
        parts.size() == 2 ? ReadColour(parts[1]) : effects.OutlineColour;
    if (parts.size() > 2 || !width || !colour) {
        return false;
    }
    effects.OutlineWidth = *width;
    effects.OutlineColour = *colour;
    return true;
}

bool SetShadow(document::GlyphEffects& effects, const std::vector<std::string>& parts) {
    if (parts.size() < 2 || parts.size() > 4) {
        return false;
    }
    const document::OptionRange range = document::ShadowOffsetRange;
    const std::optional<std::int64_t> x = ReadWhole(parts[0], range.Min, range.Max);
    const std::optional<std::int64_t> y = ReadWhole(parts[1], range.Min, range.Max);
    const std::optional<double> blur =
        parts.size() > 2 ? ReadReal(parts[2], document::ShadowBlurOption.Max) : 0.0;
    const std::optional<std::uint32_t> colour =
        parts.size() > 3 ? ReadColour(parts[3]) : document::GlyphEffects{}.ShadowColour;
    if (!x || !y || !blur || !colour) {
        return false;
    }
    effects.Shadow = true;
    effects.ShadowX = *x;
    effects.ShadowY = *y;
    effects.ShadowBlur = *blur;
    effects.ShadowColour = *colour;
    return true;
}

bool SetGradient(document::GlyphEffects& effects, const std::vector<std::string>& parts) {
    const std::optional<std::uint32_t> top = ReadColour(parts[0]);
    const std::optional<std::uint32_t> bottom =
        parts.size() == 2 ? ReadColour(parts[1]) : std::nullopt;
    if (!top || !bottom) {
        return false;
    }
    effects.Gradient = true;
    effects.GradientTop = *top;
    effects.GradientBottom = *bottom;
    return true;
}

} // namespace

bool IsEffectOption(std::string_view arg) {
    return arg == "--outline" || arg == "--shadow" || arg == "--fill" || arg == "--gradient" ||
           arg == "--sdf";
}

base::Result<base::Done> SetEffectOption(document::GlyphEffects& effects, const std::string& arg,
                                         const std::string& value) {
    const std::vector<std::string> parts = SplitAtCommas(value);
    if (arg == "--outline") {
        if (!SetOutline(effects, parts)) {
            return Refused(arg, "a width from 0 to 32 pixels with an optional colour (W[,COLOUR])",
                           value);
        }
    } else if (arg == "--shadow") {
        if (!SetShadow(effects, parts)) {
            return Refused(arg,
                           "DX,DY[,BLUR[,COLOUR]] with offsets from -32 to 32 and a blur from 0 "
                           "to 32 pixels",
                           value);
        }
    } else if (arg == "--fill") {
        const std::optional<std::uint32_t> colour = ReadColour(value);
        if (!colour) {
            return Refused(arg, "a colour #RRGGBB or #RRGGBBAA", value);
        }
        effects.FillColour = *colour;
    } else if (arg == "--gradient") {
        if (!SetGradient(effects, parts)) {
            return Refused(arg, "two colours TOP,BOTTOM, each #RRGGBB or #RRGGBBAA", value);
        }
    } else {
        const std::optional<std::int64_t> spread =
            ReadWhole(value, document::DistanceSpreadOption.Range.Min,
                      document::DistanceSpreadOption.Range.Max);
        if (!spread) {
            return Refused(arg, "a spread from 1 to 32 pixels", value);
        }
        effects.DistanceField = true;
        effects.DistanceSpread = *spread;
    }
    return base::Done{};
}

base::Result<base::Done> CheckEffectOptions(const std::vector<std::string>& args,
                                            const document::GlyphEffects& effects) {
    const auto given = [&args](const char* name) {
        return std::find(args.begin(), args.end(), name) != args.end();
    };
    if (given("--fill") && given("--gradient")) {
        return base::Failure{"--fill and --gradient cannot be combined: choose one fill"};
    }
    if (std::optional<std::string> conflict = fontimport::EffectsConflict(effects)) {
        return base::Failure{"--sdf: " + *conflict};
    }
    return base::Done{};
}

} // namespace glyfora::cli
