#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/TypefaceChange.h"
#include "document/ImportOptions.h"
#include "document/LayoutOperations.h"
#include "document/TypefaceRepacking.h"

#include <charconv>
#include <optional>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "layout",
    "IN -o OUT (--lower-from-upper | --umlauts-from-upper | --scale S | --spacing N | --compact "
    "[--gutter N] [--max-width N] [--power-of-two] [--page-size N|WxH]) [--fnt text|xml|binary] "
    "[--force]",
    "Changes the whole layout of the typeface IN as the editor's \"Edit\" menu does and writes\n"
    "the result as OUT, in the form OUT's extension names (.tf, .xml or .fnt, as for convert).\n"
    "Exactly one of:\n"
    "  --lower-from-upper    \"Copy up case to low case\": a..z get the cells and metrics of A..Z\n"
    "  --umlauts-from-upper  \"copy ÄÖÜ -> äöü +\": codes 224..255 get those of 192..223, the\n"
    "                        cells 64 pixels lower\n"
    "  --scale S             \"scale layout\": every metric and kerning amount times the decimal\n"
    "                        number S (more than 0, at most 32767), rounded with halves to even;\n"
    "                        the picture stays as it is\n"
    "  --spacing N           \"spacing layout\": every cell of the 16-column grid grows by the\n"
    "                        whole number N of pixels on each side; the picture grows by 32 x N\n"
    "  --compact             \"Pack compactly\": every cell is cropped to its ink (its offset\n"
    "                        moves with it, so text looks the same) and the cells are packed\n"
    "                        densely into a new picture\n"
    "Options:\n"
    "  -o, --output OUT      the file to write\n"
    "  --fnt VARIANT         the variant of a .fnt OUT (default: IN's when IN is a .fnt, else\n"
    "                        text)\n"
    "  --gutter N            with --compact: empty pixels between cells, 0..64 (default 1)\n"
    "  --max-width N         with --compact: the picture's width, up to 16384 (default 0: a\n"
    "                        near-square picture)\n"
    "  --power-of-two        with --compact: both sides of the picture rounded up to powers of "
    "two\n"
    "  --page-size N|WxH     with --compact: fill pages of N x N (or W x H) pixels, powers of two\n"
    "                        from 64 to 16384, stacked top to bottom; no cell crosses a page's\n"
    "                        edge, and a BMFont OUT gets one picture per page (default: the\n"
    "                        typeface's own page size, else one picture)\n"
    "  --force               write OUT even when it is IN and IN was only partly read (what\n"
    "                        could not be read is then lost)\n"
    "A change the editor would refuse exits with status 1 and its reason; nothing is written."};

enum class LayoutKind { LowerFromUpper, UmlautsFromUpper, Scale, Spacing, Compact };

struct LayoutArguments {
    std::string In;
    std::string Out;
    std::optional<std::string> Variant;
    bool Force = false;
    std::optional<LayoutKind> Kind;
    float Scale = 1.0F;
    std::int64_t Spacing = 0;
    document::PackingRules Packing;
    bool PackingGiven = false; // --gutter, --max-width or --power-of-two was given
};

base::Result<base::Done> SetKind(LayoutArguments& parsed, LayoutKind kind, const std::string& arg) {
    if (parsed.Kind) {
        return base::Failure{"give only one of --lower-from-upper, --umlauts-from-upper, "
                             "--scale, --spacing and --compact (\"" +
                             arg + "\" is a second)"};
    }
    parsed.Kind = kind;
    return base::Done{};
}

// The options that stand alone; none when arg is not one of them.
std::optional<base::Result<base::Done>> ReadFlag(LayoutArguments& parsed, const std::string& arg) {
    if (arg == "--lower-from-upper") {
        return SetKind(parsed, LayoutKind::LowerFromUpper, arg);
    }
    if (arg == "--umlauts-from-upper") {
        return SetKind(parsed, LayoutKind::UmlautsFromUpper, arg);
    }
    if (arg == "--compact") {
        return SetKind(parsed, LayoutKind::Compact, arg);
    }
    if (arg == "--force") {
        parsed.Force = true;
        return base::Done{};
    }
    if (arg == "--power-of-two") {
        parsed.Packing.PowerOfTwo = true;
        parsed.PackingGiven = true;
        return base::Done{};
    }
    return std::nullopt;
}

bool TakesValue(const std::string& arg) {
    return arg == "-o" || arg == "--output" || arg == "--fnt" || arg == "--scale" ||
           arg == "--spacing" || arg == "--gutter" || arg == "--max-width" || arg == "--page-size";
}

// The largest --scale: beyond it no metric but 0 stays within a .tf file's 16 bits.
constexpr float MaxScale = 32767.0F;

// A packing rule's value: a whole number in range.
base::Result<base::Done> ReadPackingValue(std::int64_t& field, const std::string& arg,
                                          const std::string& value, document::OptionRange range) {
    const std::optional<std::int64_t> number = ParseNumber<std::int64_t>(value);
    if (!number || *number < range.Min || *number > range.Max) {
        return base::Failure{arg + " must be a whole number from " + std::to_string(range.Min) +
                             " to " + std::to_string(range.Max) + ", not \"" + value + "\""};
    }
    field = *number;
    return base::Done{};
}

base::Result<base::Done> ReadValue(LayoutArguments& parsed, const std::string& arg,
                                   const std::string& value) {
    if (arg == "-o" || arg == "--output") {
        parsed.Out = value;
    } else if (arg == "--fnt") {
        parsed.Variant = value;
    } else if (arg == "--scale") {
        const std::optional<float> scale = ParseNumber<float>(value);
        if (!scale || !(*scale > 0.0F) || *scale > MaxScale) {
            return base::Failure{
                "--scale must be a decimal number such as 0.5 or 2, greater than 0 and at most " +
                std::to_string(static_cast<int>(MaxScale)) + ", not \"" + value + "\""};
        }
        parsed.Scale = *scale;
        return SetKind(parsed, LayoutKind::Scale, arg);
    } else if (arg == "--spacing") {
        const std::optional<std::int64_t> spacing = ParseNumber<std::int64_t>(value);
        if (!spacing) {
            return base::Failure{"--spacing must be a whole number of pixels, not \"" + value +
                                 "\""};
        }
        parsed.Spacing = *spacing;
        return SetKind(parsed, LayoutKind::Spacing, arg);
    } else {
        parsed.PackingGiven = true;
        if (arg == "--page-size") {
            parsed.Packing.Pages = document::ParsePageSize(value);
            if (!parsed.Packing.Pages) {
                return base::Failure{"--page-size takes " + document::PageSizeForm() + ", not \"" +
                                     value + "\""};
            }
            return base::Done{};
        }
        if (arg == "--gutter") {
            return ReadPackingValue(parsed.Packing.Gutter, arg, value,
                                    document::GutterOption.Range);
        }
        return ReadPackingValue(parsed.Packing.MaxWidth, arg, value, {0, document::MaxPackedSide});
    }
    return base::Done{};
}

// What a complete command line has: IN, OUT, one command and only the options it takes.
base::Result<base::Done> CheckComplete(const LayoutArguments& parsed, bool haveIn) {
    if (!haveIn) {
        return base::Failure{"no IN given"};
    }
    if (parsed.Out.empty()) {
        return base::Failure{"-o OUT is required"};
    }
    if (!parsed.Kind) {
        return base::Failure{"give one of --lower-from-upper, --umlauts-from-upper, --scale S, "
                             "--spacing N and --compact"};
    }
    if (parsed.PackingGiven && *parsed.Kind != LayoutKind::Compact) {
        return base::Failure{
            "--gutter, --max-width, --power-of-two and --page-size apply only to --compact"};
    }
    return base::Done{};
}

// The arguments, or the usage error to report.
base::Result<LayoutArguments> ParseLayoutArguments(const std::vector<std::string>& args) {
    LayoutArguments parsed;
    bool haveIn = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = ReadFlag(parsed, arg)) {
            if (!*flag) {
                return base::Failure{flag->Error};
            }
            continue;
        }
        if (!TakesValue(arg)) {
            if (arg.size() > 1 && arg.front() == '-') {
                return base::Failure{"unknown option \"" + arg + "\""};
            }
            if (haveIn) {
                return base::Failure{"more than one IN given (\"" + parsed.In + "\", \"" + arg +
                                     "\")"};
            }
            parsed.In = arg;
            haveIn = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            return base::Failure{arg + " needs a value"};
        }
        if (auto read = ReadValue(parsed, arg, args[++i]); !read) {
            return base::Failure{read.Error};
        }
    }
    if (auto complete = CheckComplete(parsed, haveIn); !complete) {
        return base::Failure{complete.Error};
    }
    return parsed;
}

base::Result<base::Done> ApplyLayout(document::Typeface& typeface, const LayoutArguments& args) {
    switch (*args.Kind) {
    case LayoutKind::LowerFromUpper:
        static_cast<void>(document::CopyUpperToLower(typeface, 97, 122, 0));
        return base::Done{};
    case LayoutKind::UmlautsFromUpper:
        static_cast<void>(document::CopyUpperToLower(typeface, 224, 255, 64));
        return base::Done{};
    case LayoutKind::Scale:
        return document::ScaleLayout(typeface, args.Scale);
    case LayoutKind::Spacing:
        return document::SpacingLayout(typeface, args.Spacing);
    case LayoutKind::Compact:
        return document::PackCompactly(typeface, args.Packing);
    }
    return base::Failure{};
}

} // namespace

int RunLayoutCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    const base::Result<LayoutArguments> arguments = ParseLayoutArguments(args);
    if (!arguments) {
        return UsageError(Usage, arguments.Error);
    }
    const LayoutArguments& parsed = *arguments.Value;
    return ChangeTypefaceFile(
        Usage, {parsed.In, parsed.Out, parsed.Variant, parsed.Force},
        [&parsed](document::Typeface& typeface) { return ApplyLayout(typeface, parsed); });
}

} // namespace glyfora::cli
