#include "cli/ImportArguments.h"

#include "cli/CommandLine.h"
#include "cli/EffectArguments.h"
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
    std::int64_t fontimport::ImportOptions::*Field;
    fontimport::OptionRange Range;
};

constexpr NumberOption NumberOptions[] = {
    {"--size", &fontimport::ImportOptions::Size, fontimport::SizeRange},
    {"--letter-space", &fontimport::ImportOptions::LetterSpace, fontimport::SpaceRange},
    {"--padding-top", &fontimport::ImportOptions::PaddingTop, fontimport::SpaceRange},
    {"--padding-bottom", &fontimport::ImportOptions::PaddingBottom, fontimport::SpaceRange},
    {"--padding-left", &fontimport::ImportOptions::PaddingLeft, fontimport::SpaceRange},
    {"--padding-right", &fontimport::ImportOptions::PaddingRight, fontimport::SpaceRange},
    {"--max-width", &fontimport::ImportOptions::MaxWidth, fontimport::MaxWidthRange},
    {"--gutter", &fontimport::ImportOptions::Gutter, fontimport::GutterRange},
    {"--hint", &fontimport::ImportOptions::TextAntialiasMode, fontimport::TextAntialiasModeRange},
    {"--quality", &fontimport::ImportOptions::CompositingQuality,
     fontimport::CompositingQualityRange},
};

struct FlagOption {
    const char* Name;
    std::int64_t StyleBit; // 0 for the boolean options
    bool fontimport::ImportOptions::*Field;
};

constexpr FlagOption FlagOptions[] = {
    {"--bold", fontimport::StyleBold, nullptr},
    {"--italic", fontimport::StyleItalic, nullptr},
    {"--underline", fontimport::StyleUnderline, nullptr},
    {"--unicode", 0, &fontimport::ImportOptions::Unicode},
    {"--center", 0, &fontimport::ImportOptions::Center},
    {"--half-pixel", 0, &fontimport::ImportOptions::HalfPixel},
    {"--power-of-two", 0, &fontimport::ImportOptions::PowerOfTwo},
};

// Options that may be given more than once, each adding its value.
bool IsRepeatableOption(const std::string& arg) {
    return arg == "--chars" || arg == "--chars-file" || arg == "--fallback";
}

// Adds the value of a repeatable option; fails with why it is refused.
base::Result<base::Done> AddRepeatableValue(ImportArguments& parsed, const std::string& arg,
                                            const std::string& value) {
    if (arg == "--chars") {
        const auto codes = fontimport::ParseCharacterList(value);
        if (!codes) {
            return base::Failure{"--chars: " + codes.Error};
        }
        std::string& list = parsed.Options.Characters;
        list += (list.empty() ? "" : ", ") + value;
        parsed.CharactersListed = true;
    } else if (arg == "--chars-file") {
        parsed.CharacterFiles.push_back(value);
    } else {
        parsed.Options.Fallbacks.push_back(value);
    }
    return base::Done{};
}

// Puts the value of the number option arg into field when it is a whole number inside range.
base::Result<base::Done> ReadNumber(const std::string& arg, const std::string& value,
                                    fontimport::OptionRange range, std::int64_t& field) {
    const auto number = ParseNumber<std::int64_t>(value);
    if (!number || *number < range.Min || *number > range.Max) {
        return base::Failure{arg + " must be a whole number from " + std::to_string(range.Min) +
                             " to " + std::to_string(range.Max) + ", not \"" + value + "\""};
    }
    field = *number;
    return base::Done{};
}

// Sets the option arg that takes value; fails with why value is refused.
base::Result<base::Done> SetValueOption(ImportArguments& parsed, const std::string& arg,
                                        const std::string& value) {
    if (arg == "--family") {
        parsed.Options.Family = value;
    } else if (arg == "--layout") {
        if (value != "rows" && value != "compact") {
            return base::Failure{"--layout must be rows or compact, not \"" + value + "\""};
        }
        parsed.Options.Layout =
            value == "rows" ? fontimport::CellLayout::Rows : fontimport::CellLayout::Compact;
    } else if (arg == "-o" || arg == "--output") {
        parsed.Output = value;
    } else if (IsRepeatableOption(arg)) {
        return AddRepeatableValue(parsed, arg, value);
    } else if (IsEffectOption(arg)) {
        return SetEffectOption(parsed.Options.Effects, arg, value);
    } else {
        // The one number that is not an import option.
        std::int64_t* field = &parsed.Jobs;
        fontimport::OptionRange range = fontimport::JobsRange;
        for (const NumberOption& option : NumberOptions) {
            if (arg == option.Name) {
                field = &(parsed.Options.*option.Field);
                range = option.Range;
            }
        }
        return ReadNumber(arg, value, range, *field);
    }
    return base::Done{};
}

} // namespace

base::Result<ImportArguments> ParseImportArguments(const std::vector<std::string>& args) {
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
                                arg == "--layout" || arg == "--jobs" || IsRepeatableOption(arg) ||
                                IsEffectOption(arg) ||
                                std::any_of(std::begin(NumberOptions), std::end(NumberOptions),
                                            [&](const NumberOption& o) { return arg == o.Name; });
        if (!takesValue) {
            return base::Failure{"unknown option \"" + arg + "\""};
        }
        if (i + 1 >= args.size()) {
            return base::Failure{arg + " needs a value"};
        }
        const std::string& value = args[++i];
        if (const base::Result<base::Done> set = SetValueOption(parsed, arg, value); !set) {
            return base::Failure{set.Error};
        }
        haveFamily = haveFamily || arg == "--family";
        haveSize = haveSize || arg == "--size";
    }
    if (!haveFamily) {
        return base::Failure{"--family NAME is required"};
    }
    if (!haveSize) {
        return base::Failure{"--size N is required"};
    }
    if (parsed.Output.empty()) {
        return base::Failure{"-o OUT.tf is required"};
    }
    if (const base::Result<base::Done> effects = CheckEffectOptions(args, parsed.Options.Effects);
        !effects) {
        return base::Failure{effects.Error};
    }
    return parsed;
}

} // namespace glyfora::cli
