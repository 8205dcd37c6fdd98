#include "cli/ImportArguments.h"

#include "cli/CommandLine.h"
#include "import/CharacterList.h"
#include "import/FontMatching.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>

namespace glyfora::cli {

namespace {

struct NumberOption {
    const char* Name;
    std::int64_t import::ImportOptions::*Field;
    import::OptionRange Range;
};

constexpr NumberOption NumberOptions[] = {
    {"--size", &import::ImportOptions::Size, import::SizeRange},
    {"--letter-space", &import::ImportOptions::LetterSpace, import::SpaceRange},
    {"--padding-top", &import::ImportOptions::PaddingTop, import::SpaceRange},
    {"--padding-bottom", &import::ImportOptions::PaddingBottom, import::SpaceRange},
    {"--padding-left", &import::ImportOptions::PaddingLeft, import::SpaceRange},
    {"--padding-right", &import::ImportOptions::PaddingRight, import::SpaceRange},
    {"--max-width", &import::ImportOptions::MaxWidth, import::MaxWidthRange},
    {"--gutter", &import::ImportOptions::Gutter, import::GutterRange},
    {"--hint", &import::ImportOptions::TextAntialiasMode, import::TextAntialiasModeRange},
    {"--quality", &import::ImportOptions::CompositingQuality, import::CompositingQualityRange},
};

struct FlagOption {
    const char* Name;
    std::int64_t StyleBit; // 0 for the boolean options
    bool import::ImportOptions::*Field;
};

constexpr FlagOption FlagOptions[] = {
    {"--bold", import::StyleBold, nullptr},
    {"--italic", import::StyleItalic, nullptr},
    {"--underline", import::StyleUnderline, nullptr},
    {"--unicode", 0, &import::ImportOptions::Unicode},
    {"--center", 0, &import::ImportOptions::Center},
    {"--half-pixel", 0, &import::ImportOptions::HalfPixel},
    {"--power-of-two", 0, &import::ImportOptions::PowerOfTwo},
};

// Options that may be given more than once, each adding its value.
bool IsRepeatableOption(const std::string& arg) {
    return arg == "--chars" || arg == "--chars-file" || arg == "--fallback";
}

// Adds the value of a repeatable option; why it is refused, or nothing.
std::string AddRepeatableValue(ImportArguments& parsed, const std::string& arg,
                               const std::string& value) {
    if (arg == "--chars") {
        const auto codes = import::ParseCharacterList(value);
        if (!codes) {
            return "--chars: " + codes.Error;
        }
        std::string& list = parsed.Options.Characters;
        list += (list.empty() ? "" : ", ") + value;
    } else if (arg == "--chars-file") {
        parsed.CharacterFiles.push_back(value);
    } else {
        parsed.Options.Fallbacks.push_back(value);
    }
    return {};
}

// Sets the numeric option arg names, if it names one; the reason when value is out of range.
std::string SetNumberOption(ImportArguments& parsed, const std::string& arg,
                            const std::string& value) {
    for (const NumberOption& option : NumberOptions) {
        if (arg != option.Name) {
            continue;
        }
        const auto number = ParseNumber<std::int64_t>(value);
        if (!number || *number < option.Range.Min || *number > option.Range.Max) {
            return arg + " must be a whole number from " + std::to_string(option.Range.Min) +
                   " to " + std::to_string(option.Range.Max) + ", not \"" + value + "\"";
        }
        parsed.Options.*option.Field = *number;
    }
    return {};
}

} // namespace

document::Result<ImportArguments> ParseImportArguments(const std::vector<std::string>& args) {
    ImportArguments parsed;
    bool haveFamily = false;
    bool haveSize = false;
    if (std::any_of(args.begin(), args.end(),
                    [](const std::string& arg) { return arg == "--help" || arg == "-h"; })) {
        parsed.Help = true;
        return parsed;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool known = false;
        for (const FlagOption& flag : FlagOptions) {
            if (arg == flag.Name) {
                known = true;
                if (flag.Field != nullptr) {
                    parsed.Options.*flag.Field = true;
                } else {
                    parsed.Options.Style |= flag.StyleBit;
                }
            }
        }
        if (known) {
            continue;
        }
        const bool takesValue = arg == "--family" || arg == "-o" || arg == "--output" ||
                                arg == "--layout" || IsRepeatableOption(arg) ||
                                std::any_of(std::begin(NumberOptions), std::end(NumberOptions),
                                            [&](const NumberOption& o) { return arg == o.Name; });
        if (!takesValue) {
            return document::Failure{"unknown option \"" + arg + "\""};
        }
        if (i + 1 >= args.size()) {
            return document::Failure{arg + " needs a value"};
        }
        const std::string& value = args[++i];
        if (arg == "--family") {
            parsed.Options.Family = value;
            haveFamily = true;
            continue;
        }
        if (arg == "--layout") {
            if (value != "rows" && value != "compact") {
                return document::Failure{"--layout must be rows or compact, not \"" + value + "\""};
            }
            parsed.Options.Layout =
                value == "rows" ? import::CellLayout::Rows : import::CellLayout::Compact;
            continue;
        }
        if (arg == "-o" || arg == "--output") {
            parsed.Output = value;
            continue;
        }
        if (IsRepeatableOption(arg)) {
            if (const std::string error = AddRepeatableValue(parsed, arg, value); !error.empty()) {
                return document::Failure{error};
            }
            continue;
        }
        if (const std::string error = SetNumberOption(parsed, arg, value); !error.empty()) {
            return document::Failure{error};
        }
        haveSize = haveSize || arg == "--size";
    }
    if (!haveFamily) {
        return document::Failure{"--family NAME is required"};
    }
    if (!haveSize) {
        return document::Failure{"--size N is required"};
    }
    if (parsed.Output.empty()) {
        return document::Failure{"-o OUT.tf is required"};
    }
    return parsed;
}

} // namespace glyfora::cli
