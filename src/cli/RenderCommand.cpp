#include "base/Utf8.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
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
    "[--kerning on|off]",
    "Draws TEXT (UTF-8; each UTF-16 code unit is one character code) with the typeface FILE as\n"
    "the editor's example window does, and writes the picture as a PNG.\n"
    "--width, --height  size of the picture in pixels (default 800 x 100), background 0x404040\n"
    "--x, --y           origin of the text (default 10, 10)\n"
    "--scale            size factor (default: the typeface's, 1)\n"
    "--kerning          on (default: when the typeface has pairs) or off"};

constexpr std::int64_t RenderTypefaceId = 5;

struct RenderOptions {
    std::string File;
    std::optional<std::u16string> Text;
    std::string Output;
    std::int64_t Width = 800;
    std::int64_t Height = 100;
    float X = 10.0F;
    float Y = 10.0F;
    float Scale = views::DefaultFloatArgument;
    bool Kerning = true;
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
        static constexpr std::string_view KnownOptions[] = {
            "--text", "-o", "--width", "--height", "--x", "--y", "--scale", "--kerning"};
        if (std::find(std::begin(KnownOptions), std::end(KnownOptions), arg) ==
            std::end(KnownOptions)) {
            return base::Failure{"unknown option \"" + arg + "\""};
        }
        if (i + 1 >= args.size()) {
            return base::Failure{"option " + arg + " needs a value"};
        }
        const std::string& value = args[++i];
        const auto invalid = [&](std::string_view what) {
            return base::Failure{"option " + arg + ": \"" + value + "\" is not " +
                                 std::string(what)};
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
        } else if (arg == "--x" || arg == "--y" || arg == "--scale") {
            const auto number = ParseNumber<float>(value);
            if (!number) {
                return invalid("a number");
            }
            (arg == "--x" ? options.X : arg == "--y" ? options.Y : options.Scale) = *number;
        } else if (value == "on" || value == "off") {
            options.Kerning = value == "on";
        } else {
            return invalid("on or off");
        }
    }
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
    return options;
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
    (void)views::SetKerningEnabled(registry, RenderTypefaceId, options.Kerning);
    views::DrawTypefaceText(registry, surface, RenderTypefaceId, options.X, options.Y,
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
