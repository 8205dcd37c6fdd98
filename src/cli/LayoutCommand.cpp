#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OutputFormat.h"
#include "document/LayoutOperations.h"
#include "document/TypefaceIo.h"
#include "document/bmfont/BmFontFile.h"

#include <charconv>
#include <optional>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "layout",
    "IN -o OUT (--lower-from-upper | --umlauts-from-upper | --scale S | --spacing N) "
    "[--fnt text|xml|binary]",
    "Changes the whole layout of the typeface IN as the editor's \"Edit\" menu does and writes\n"
    "the result as OUT, in the form OUT's extension names (.tf, .xml or .fnt, as for convert).\n"
    "Exactly one of:\n"
    "  --lower-from-upper    \"Copy up case to low case\": a..z get the cells and metrics of A..Z\n"
    "  --umlauts-from-upper  \"copy ÄÖÜ -> äöü +\": codes 224..255 get those of 192..223, the\n"
    "                        cells 64 pixels lower\n"
    "  --scale S             \"scale layout\": every metric and kerning amount times the decimal\n"
    "                        number S, rounded with halves to even; the picture stays as it is\n"
    "  --spacing N           \"spacing layout\": every cell of the 16-column grid grows by the\n"
    "                        whole number N of pixels on each side; the picture grows by 32 x N\n"
    "Options:\n"
    "  -o, --output OUT      the file to write\n"
    "  --fnt VARIANT         the variant of a .fnt OUT (default: IN's when IN is a .fnt, else\n"
    "                        text)\n"
    "A change the editor would refuse exits with status 1 and its reason; nothing is written."};

constexpr std::int64_t LayoutTypefaceId = 0;

enum class LayoutKind { LowerFromUpper, UmlautsFromUpper, Scale, Spacing };

struct LayoutArguments {
    std::string In;
    std::string Out;
    std::optional<std::string> Variant;
    std::optional<LayoutKind> Kind;
    float Scale = 1.0F;
    std::int64_t Spacing = 0;
};

// The arguments, or the usage error to report.
document::Result<LayoutArguments> ParseLayoutArguments(const std::vector<std::string>& args) {
    LayoutArguments parsed;
    bool haveIn = false;
    const auto setKind = [&](LayoutKind kind,
                             const std::string& arg) -> document::Result<document::Done> {
        if (parsed.Kind) {
            return document::Failure{
                "give only one of --lower-from-upper, --umlauts-from-upper, --scale and "
                "--spacing (\"" +
                arg + "\" is a second)"};
        }
        parsed.Kind = kind;
        return document::Done{};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--lower-from-upper" || arg == "--umlauts-from-upper") {
            const auto kind = arg == "--lower-from-upper" ? LayoutKind::LowerFromUpper
                                                          : LayoutKind::UmlautsFromUpper;
            if (auto kindSet = setKind(kind, arg); !kindSet) {
                return document::Failure{kindSet.Error};
            }
            continue;
        }
        const bool takesValue = arg == "-o" || arg == "--output" || arg == "--fnt" ||
                                arg == "--scale" || arg == "--spacing";
        if (!takesValue) {
            if (arg.size() > 1 && arg.front() == '-') {
                return document::Failure{"unknown option \"" + arg + "\""};
            }
            if (haveIn) {
                return document::Failure{"more than one IN given (\"" + parsed.In + "\", \"" + arg +
                                         "\")"};
            }
            parsed.In = arg;
            haveIn = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            return document::Failure{arg + " needs a value"};
        }
        const std::string& value = args[++i];
        if (arg == "-o" || arg == "--output") {
            parsed.Out = value;
        } else if (arg == "--fnt") {
            parsed.Variant = value;
        } else if (arg == "--scale") {
            const std::optional<float> scale = ParseNumber<float>(value);
            if (!scale) {
                return document::Failure{
                    "--scale must be a decimal number such as 0.5 or 2, not \"" + value + "\""};
            }
            if (auto kindSet = setKind(LayoutKind::Scale, arg); !kindSet) {
                return document::Failure{kindSet.Error};
            }
            parsed.Scale = *scale;
        } else {
            const std::optional<std::int64_t> spacing = ParseNumber<std::int64_t>(value);
            if (!spacing) {
                return document::Failure{"--spacing must be a whole number of pixels, not \"" +
                                         value + "\""};
            }
            if (auto kindSet = setKind(LayoutKind::Spacing, arg); !kindSet) {
                return document::Failure{kindSet.Error};
            }
            parsed.Spacing = *spacing;
        }
    }
    if (!haveIn) {
        return document::Failure{"no IN given"};
    }
    if (parsed.Out.empty()) {
        return document::Failure{"-o OUT is required"};
    }
    if (!parsed.Kind) {
        return document::Failure{
            "give one of --lower-from-upper, --umlauts-from-upper, --scale S and --spacing N"};
    }
    return parsed;
}

document::Result<document::Done> ApplyLayout(document::Typeface& typeface,
                                             const LayoutArguments& args) {
    switch (*args.Kind) {
    case LayoutKind::LowerFromUpper:
        static_cast<void>(document::CopyUpperToLower(typeface, 97, 122, 0));
        return document::Done{};
    case LayoutKind::UmlautsFromUpper:
        static_cast<void>(document::CopyUpperToLower(typeface, 224, 255, 64));
        return document::Done{};
    case LayoutKind::Scale:
        return document::ScaleLayout(typeface, args.Scale);
    case LayoutKind::Spacing:
        return document::SpacingLayout(typeface, args.Spacing);
    }
    return document::Failure{};
}

} // namespace

int RunLayoutCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    const document::Result<LayoutArguments> arguments = ParseLayoutArguments(args);
    if (!arguments) {
        return UsageError(Usage, arguments.Error);
    }
    const LayoutArguments& parsed = *arguments.Value;
    std::optional<document::FileFormatId> format = FormatForExtension(parsed.Out);
    if (!format) {
        return UsageError(Usage, "cannot tell the format of \"" + parsed.Out +
                                     "\": its name must end in " + OutputExtensionsText());
    }
    if (parsed.Variant) {
        if (!document::HasExtension(document::FileFormatOf(*format), "fnt")) {
            return UsageError(Usage, "--fnt applies only to a .fnt OUT");
        }
        format = BmFontFormatNamed(*parsed.Variant);
        if (!format) {
            return UsageError(Usage,
                              "--fnt takes text, xml or binary, not \"" + *parsed.Variant + "\"");
        }
    }

    document::TypefaceRegistry registry;
    const document::Result<document::LoadedTypeface> loaded =
        document::LoadTypeface(registry, LayoutTypefaceId, parsed.In);
    if (!loaded) {
        return Failure(Usage, loaded.Error);
    }
    for (const std::string& warning : loaded.Warnings) {
        Warn(Usage, parsed.In + ": " + warning);
    }
    // A .fnt is written in the variant it was read in, as "Save" does in the editor.
    if (!parsed.Variant) {
        format = document::FormatForFileName(parsed.Out, loaded.Value->Format);
    }
    const document::Result<document::Done> outcome = ApplyLayout(*loaded.Value->Installed, parsed);
    if (!outcome) {
        return Failure(Usage, outcome.Error);
    }
    const document::Result<document::Done> saved =
        document::SaveTypeface(registry, LayoutTypefaceId, parsed.Out, *format);
    for (const std::string& warning : saved.Warnings) {
        Warn(Usage, parsed.Out + ": " + warning);
    }
    if (!saved) {
        return Failure(Usage, saved.Error);
    }
    return ExitOk;
}

} // namespace glyfora::cli
