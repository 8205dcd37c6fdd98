#include "cli/ImportArguments.h"

#include "cli/CommandLine.h"
#include "cli/EffectArguments.h"
#include "import/CharacterList.h"
#include "import/FontMatching.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

namespace glyfora::cli {

namespace {

// Puts value into field when it is a whole number inside range; else says why not.
std::string ReadNumber(std::string_view flag, const std::string& value, document::OptionRange range,
                       std::int64_t& field) {
    const auto number = ParseNumber<std::int64_t>(value);
    if (!number || *number < range.Min || *number > range.Max) {
        return std::string(flag) + " must be a whole number from " + std::to_string(range.Min) +
               " to " + std::to_string(range.Max) + ", not \"" + value + "\"";
    }
    field = *number;
    return {};
}

// "a", "a or b", "a, b or c".
std::string Alternatives(std::span<const std::string_view> words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += i == 0 ? "" : i + 1 == words.size() ? " or " : ", ";
        text += words[i];
    }
    return text;
}

// Reads the import option that one argument names, with the argument after it as its value when
// the option takes one (Value is null when there is none left). Visits every row of the options
// table; only the row whose flag is the argument does anything.
struct OptionArgument {
    OptionArgument(const std::string& arg, const std::string* value, ImportArguments& parsed)
        : Arg(arg), Value(value), Parsed(parsed) {}

    const std::string& Arg;
    const std::string* Value;
    ImportArguments& Parsed;
    bool Known = false;      // the argument names an import option
    bool TakesValue = false; // ... which takes the next argument
    std::string Error;       // why that value is refused

    // Whether the argument is flag, an option with a value, and the value is there to read. Rows
    // without a flag are set by flags of several options (the effects').
    bool Takes(std::string_view flag) {
        if (flag.empty() || Arg != flag) {
            return false;
        }
        Known = TakesValue = true;
        return Value != nullptr;
    }

    void operator()(const document::TextOption& option, std::string& field) {
        if (Takes(option.Flag)) {
            field = *Value;
        }
    }
    // The lists are read here, once; the command makes the option's list of them and the files.
    void operator()(const document::CharacterListOption& option, std::string&) {
        if (!Takes(option.Flag)) {
            return;
        }
        const auto codes = fontimport::ParseCharacterList(*Value);
        if (!codes) {
            Error = std::string(option.Flag) + ": " + codes.Error;
            return;
        }
        Parsed.ListedCharacters =
            fontimport::MergeCharacterLists(Parsed.ListedCharacters, *codes.Value);
        Parsed.CharactersListed = true;
    }
    void operator()(const document::FamiliesOption& option, std::vector<std::string>& families) {
        if (Takes(option.Flag)) {
            families.push_back(*Value);
        }
    }
    void operator()(const document::NumberOption& option, std::int64_t& field) {
        if (Takes(option.Flag)) {
            Error = ReadNumber(option.Flag, *Value, option.Range, field);
        }
    }
    void operator()(const document::SwitchOption& option, bool& field) {
        if (!option.Flag.empty() && Arg == option.Flag) {
            Known = true;
            field = true;
        }
    }
    void operator()(const document::BitsOption& option, std::int64_t& field) {
        for (const document::StyleBit& bit : option.Bits) {
            if (Arg == bit.Flag) {
                Known = true;
                field |= bit.Bit;
            }
        }
    }
    void operator()(const document::RealOption&, double&) {}
    void operator()(const document::ColourOption&, std::uint32_t&) {}
    void operator()(const document::PageSizeOption& option,
                    std::optional<document::PageSize>& field) {
        if (!Takes(option.Flag)) {
            return;
        }
        field = document::ParsePageSize(*Value);
        if (!field) {
            Error = std::string(option.Flag) + " takes " + document::PageSizeForm() + ", not \"" +
                    *Value + "\"";
        }
    }
    template <class Choice, std::size_t Count>
    void operator()(const document::ChoiceOption<Choice, Count>& option, Choice& field) {
        if (!Takes(option.Flag)) {
            return;
        }
        std::int64_t number = 0;
        if (option.Words.front().empty()) {
            Error = ReadNumber(option.Flag, *Value, {0, Count - 1}, number);
        } else {
            const auto word = std::find(option.Words.begin(), option.Words.end(), *Value);
            number = word - option.Words.begin();
            if (word == option.Words.end()) {
                Error = std::string(option.Flag) + " must be " + Alternatives(option.Words) +
                        ", not \"" + *Value + "\"";
            }
        }
        if (Error.empty()) {
            field = document::ChoiceOfNumber(option, number);
        }
    }
};

// Sets an option that is no row of the options table (the output, the character files, the jobs,
// and the effect flags that set several rows at once); fails with why value is refused.
base::Result<base::Done> SetCommandOption(ImportArguments& parsed, const std::string& arg,
                                          const std::string& value) {
    if (arg == "-o" || arg == "--output") {
        parsed.Output = value;
    } else if (IsEffectOption(arg)) {
        return SetEffectOption(parsed.Options.Effects, arg, value);
    } else if (arg == "--chars-file") {
        parsed.CharacterFiles.push_back(value);
    } else if (const std::string error = ReadNumber(arg, value, fontimport::JobsRange, parsed.Jobs);
               !error.empty()) {
        return base::Failure{error};
    }
    return base::Done{};
}

bool IsCommandOption(const std::string& arg) {
    return arg == "-o" || arg == "--output" || arg == "--chars-file" || arg == "--jobs" ||
           IsEffectOption(arg);
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
        const std::string* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
        OptionArgument option{arg, value, parsed};
        document::VisitImportOptions(parsed.Options, option);
        if (!option.Known && !IsCommandOption(arg)) {
            return base::Failure{"unknown option \"" + arg + "\""};
        }
        if ((option.TakesValue || !option.Known) && value == nullptr) {
            return base::Failure{arg + " needs a value"};
        }
        if (!option.Error.empty()) {
            return base::Failure{option.Error};
        }
        if (!option.Known) {
            if (const base::Result<base::Done> set = SetCommandOption(parsed, arg, *value); !set) {
                return base::Failure{set.Error};
            }
        }
        if (option.TakesValue || !option.Known) {
            ++i;
        }
        haveFamily = haveFamily || arg == document::FamilyOption.Flag ||
                     arg == document::FontFileOption.Flag;
        haveSize = haveSize || arg == document::SizeOption.Flag;
    }
    if (!haveFamily) {
        return base::Failure{"--family NAME or --font-file PATH is required"};
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
