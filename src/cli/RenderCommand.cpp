#include "base/Utf8.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "document/ColourText.h"
#include "document/Pixel.h"
#include "formats/PictureFile.h"
#include "formats/PngCodec.h"
#include "formats/TypefaceIo.h"
#include "views/ExampleTextRenderer.h"
#include "views/RenderSettingsAccess.h"
#include "views/SoftwareQuadSurface.h"
#include "views/ViewCanvas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "render",
    "FILE --text TEXT -o OUT.png [--width W --height H] [--x X --y Y] [--scale S] "
    "[--tint RRGGBB[AA]] [--align left|center|right] [--wrap-width N] [--kerning on|off | "
    "--no-kerning]",
    "Draws TEXT (UTF-8; each UTF-16 code unit is one character code) with the typeface FILE as\n"
    "the editor's example window does, and writes the picture as a PNG.\n"
    "--width, --height  size of the picture in pixels (default 800 x 100), background 0x404040\n"
    "--x, --y           origin of the text (default 10, 10; with --align center the middle of the\n"
    "                   picture, with --align right 10 from its right edge)\n"
    "--scale            size factor, positive (default: the typeface's, 1)\n"
    "--tint             every glyph pixel in this colour (hex red, green, blue), its alpha kept\n"
    "                   and multiplied by AA (default FF)\n"
    "--align            each line starts at (left), is centred on (center) or ends at (right) X\n"
    "--wrap-width       break lines at the last space before N pixels (after scaling); 0 none\n"
    "--kerning          on (default: when the typeface has pairs) or off; --no-kerning is off"};

constexpr std::int64_t RenderTypefaceId = 5;
constexpr float DefaultMargin = 10.0F;

struct RenderOptions {
    std::string File;
    std::optional<std::u16string> Text;
    std::string Output;
    std::int64_t Width = 800;
    std::int64_t Height = 100;
    std::optional<float> X; // by the alignment when not given
    float Y = DefaultMargin;
    float Scale = views::DefaultFloatArgument;
    bool Kerning = true;
    std::int64_t Tint = views::NoTint;
    std::int64_t Intensity = views::FullOpacity;
    float AlignX = 0.0F;
    float WrapWidth = 0.0F;
};

template <typename Number> std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(value)) {
            return std::nullopt;
        }
    }
    return value;
}

// "RRGGBB" or "RRGGBBAA" in hex, a "#" in front allowed: the tint 0xBBGGRR and the opacity AA.
bool ParseTint(std::string_view text, RenderOptions& options) {
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    const std::optional<std::uint32_t> colour = document::ParseHexColour(text);
    if (!colour) {
        return false;
    }
    options.Tint = static_cast<std::int64_t>(document::ColourOf(*colour));
    options.Intensity = static_cast<std::int64_t>(document::Alpha(*colour));
    return true;
}

// Applies one option that takes a value; says why the value does not fit, naming it, when it
// does not.
std::optional<base::Failure> ApplyOption(RenderOptions& options, const std::string& arg,
                                         const std::string& value) {
    const auto invalid = [&](std::string_view what) {
        return base::Failure{"option " + arg + ": \"" + value + "\" is not " + std::string(what)};
    };
    if (arg == "--text") {
        options.Text = base::Utf8ToUtf16(value, base::Utf8Policy::Reject);
        if (!options.Text) {
            return base::Failure{"--text is not valid UTF-8"};
        }
    } else if (arg == "-o") {
        options.Output = value;
    } else if (arg == "--width" || arg == "--height") {
        const auto size = ParseNumber<std::int64_t>(value);
        if (!size || *size <= 0) {
            return invalid("a positive whole number");
        }
        (arg == "--width" ? options.Width : options.Height) = *size;
    } else if (arg == "--x" || arg == "--y") {
        const auto number = ParseNumber<float>(value);
        if (!number) {
            return invalid("a number");
        }
        if (arg == "--x") {
            options.X = *number;
        } else {
            options.Y = *number;
        }
    } else if (arg == "--scale") {
        const auto number = ParseNumber<float>(value);
        if (!number || *number <= 0.0F) {
            return invalid("a positive number");
        }
        options.Scale = *number;
    } else if (arg == "--wrap-width") {
        const auto number = ParseNumber<float>(value);
        if (!number || *number < 0.0F) {
            return invalid("a number of pixels, 0 or more");
        }
        options.WrapWidth = *number;
    } else if (arg == "--tint") {
        if (!ParseTint(value, options)) {
            return invalid("a colour RRGGBB or RRGGBBAA in hex");
        }
    } else if (arg == "--align") {
        if (value != "left" && value != "center" && value != "right") {
            return invalid("left, center or right");
        }
        options.AlignX = value == "left" ? 0.0F : value == "center" ? 0.5F : 1.0F;
    } else if (value == "on" || value == "off") {
        options.Kerning = value == "on";
    } else {
        return invalid("on or off");
    }
    return std::nullopt;
}

// Whether the options make a picture that can be drawn and written.
std::optional<base::Failure> CheckOptions(const RenderOptions& options, bool haveFile) {
    if (!haveFile) {
        return base::Failure{"no FILE given"};
    }
    if (!options.Text) {
        return base::Failure{"no --text given"};
    }
    if (options.Output.empty()) {
        return base::Failure{"no -o OUT.png given"};
    }
    if (!document::ImageSizeAllowed(options.Width, options.Height)) {
        return base::Failure{"a picture of " + std::to_string(options.Width) + " x " +
                             std::to_string(options.Height) + " pixels is too large"};
    }
    // Written as a PNG in the end, so a size the PNG cannot hold is refused before any drawing.
    if (const base::Result<base::Done> png = formats::CheckPngSize(options.Width, options.Height);
        !png) {
        return base::Failure{png.Error};
    }
    return std::nullopt;
}

// The options the arguments give; why they do not fit, for the user, when they do not.
base::Result<RenderOptions> ParseArguments(const std::vector<std::string>& args) {
    RenderOptions options;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = arg.size() > 1 && arg.front() == '-';
        if (!isOption) {
            if (haveFile) {
                return base::Failure{"more than one FILE given (\"" + options.File + "\", \"" +
                                     arg + "\")"};
            }
            options.File = arg;
            haveFile = true;
            continue;
        }
        if (arg == "--no-kerning") {
            options.Kerning = false;
            continue;
        }
        static constexpr std::string_view ValueOptions[] = {
            "--text",  "-o",     "--width", "--height",     "--x",      "--y",
            "--scale", "--tint", "--align", "--wrap-width", "--kerning"};
        if (std::find(std::begin(ValueOptions), std::end(ValueOptions), arg) ==
            std::end(ValueOptions)) {
            return base::Failure{"unknown option \"" + arg + "\""};
        }
        if (i + 1 >= args.size()) {
            return base::Failure{"option " + arg + " needs a value"};
        }
        if (std::optional<base::Failure> bad = ApplyOption(options, arg, args[++i])) {
            return *bad;
        }
    }
    if (std::optional<base::Failure> bad = CheckOptions(options, haveFile)) {
        return *bad;
    }
    return options;
}

// The origin's x: given, or where the alignment puts a block inside the picture.
float OriginX(const RenderOptions& options) {
    if (options.X) {
        return *options.X;
    }
    const auto width = static_cast<float>(options.Width);
    return options.AlignX == 0.0F   ? DefaultMargin
           : options.AlignX == 1.0F ? width - DefaultMargin
                                    : width / 2.0F;
}

// The typeface's render settings as the options ask; the scale is passed to each draw.
void ApplySettings(document::TypefaceRegistry& registry, const RenderOptions& options) {
    (void)views::SetKerningEnabled(registry, RenderTypefaceId, options.Kerning);
    (void)views::SetTintColour(registry, RenderTypefaceId, options.Tint);
    (void)views::SetIntensity(registry, RenderTypefaceId, options.Intensity);
    (void)views::SetAlignX(registry, RenderTypefaceId, options.AlignX);
    (void)views::SetMaxLineWidth(registry, RenderTypefaceId, options.WrapWidth);
}

} // namespace

int RunRenderCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    const base::Result<RenderOptions> parsed = ParseArguments(args);
    if (!parsed) {
        return UsageError(Usage, parsed.Error);
    }
    const RenderOptions& options = *parsed.Value;

    document::TypefaceRegistry registry;
    const base::Result<formats::LoadedTypeface> loaded =
        formats::LoadTypeface(registry, RenderTypefaceId, options.File);
    if (!loaded) {
        return Failure(Usage, loaded.Error);
    }
    for (const std::string& warning : loaded.Warnings) {
        Warn(Usage, options.File + ": " + warning);
    }
    if (!loaded.Value->Installed->Content.Sprite) {
        Warn(Usage, options.File + ": the typeface has no character-set picture; nothing drawn");
    }

    // One frame as the example window draws it.
    views::SoftwareQuadSurface surface(options.Width, options.Height);
    surface.Clear(document::ColourOf(views::ViewBackground));
    surface.SetBlendMode(views::BlendFactor::SourceAlpha, views::BlendFactor::OneMinusSourceAlpha);
    ApplySettings(registry, options);
    views::DrawTypefaceText(registry, surface, RenderTypefaceId, OriginX(options), options.Y,
                            *options.Text, views::DefaultIntegerArgument,
                            views::DefaultIntegerArgument, options.Scale);

    if (const base::Result<base::Done> written =
            formats::WritePngFile(surface.Target, options.Output);
        !written) {
        return Failure(Usage, written.Error);
    }
    return ExitOk;
}

} // namespace glyfora::cli
