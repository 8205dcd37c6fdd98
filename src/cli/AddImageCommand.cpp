#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/TypefaceChange.h"
#include "document/ImageCharacter.h"
#include "formats/PictureFile.h"

#include <charconv>
#include <optional>
#include <string>
#include <system_error>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "add-image",
    "IN -o OUT --code N --image PICTURE [--offset X,Y] [--advance N] [--fnt text|xml|binary] "
    "[--force]",
    "Adds the picture PICTURE (PNG or BMP, colours kept) to the typeface IN as the character N,\n"
    "or replaces that character, as the character-set window's \"Add Image\" does, and writes\n"
    "the result as OUT, in the form OUT's extension names (.tf, .xml or .fnt, as for convert).\n"
    "The picture goes into the top-most, then left-most free space of the character-set picture\n"
    "(transparent, one pixel away from every other cell); without room the character-set picture\n"
    "grows downwards and no other cell moves (\"layout --compact\" packs it tightly afterwards).\n"
    "  -o, --output OUT  the file to write\n"
    "  --code N          the character code: decimal, 0x or U+ hexadecimal, 0 to 65535\n"
    "  --image PICTURE   the picture file\n"
    "  --offset X,Y      the drawing offset from the pen in pixels (default 0,0)\n"
    "  --advance N       how far the pen moves on (default: the picture's width)\n"
    "  --fnt VARIANT     the variant of a .fnt OUT (default: IN's when IN is a .fnt, else text)\n"
    "  --force           write OUT even when it is IN and IN was only partly read (what could\n"
    "                    not be read is then lost)\n"
    "The line height is the space character's, or the picture's height without a space."};

struct AddImageArguments {
    TypefaceFiles Files;
    std::optional<std::int64_t> Code;
    std::string Picture;
    document::ImagePlacement Placement;
};

// A code in decimal, or hexadecimal after "0x" or "U+"; none outside 0..65535.
std::optional<std::int64_t> ParseCode(const std::string& text) {
    std::optional<std::int64_t> code;
    if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X") ||
                            text.starts_with("U+") || text.starts_with("u+"))) {
        std::int64_t value = 0;
        const auto [end, error] =
            std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
        if (error == std::errc() && end == text.data() + text.size()) {
            code = value;
        }
    } else {
        code = ParseNumber<std::int64_t>(text);
    }
    if (!code || *code < 0 || *code > 0xFFFF) {
        return std::nullopt;
    }
    return code;
}

base::Result<base::Done> ReadValue(AddImageArguments& parsed, const std::string& arg,
                                   const std::string& value) {
    if (arg == "-o" || arg == "--output") {
        parsed.Files.Out = value;
    } else if (arg == "--fnt") {
        parsed.Files.Variant = value;
    } else if (arg == "--image") {
        parsed.Picture = value;
    } else if (arg == "--code") {
        parsed.Code = ParseCode(value);
        if (!parsed.Code) {
            return base::Failure{"--code must be a character code from 0 to 65535 (such as "
                                 "65, 0x41 or U+0041), not \"" +
                                 value + "\""};
        }
    } else if (arg == "--advance") {
        const auto advance = ParseNumber<std::int32_t>(value);
        if (!advance || *advance < 0) {
            return base::Failure{"--advance must be a whole number of pixels from 0, not \"" +
                                 value + "\""};
        }
        parsed.Placement.Advance = *advance;
    } else {
        const std::size_t comma = value.find(',');
        const auto x = ParseNumber<std::int32_t>(value.substr(0, comma));
        const auto y = comma == std::string::npos
                           ? std::nullopt
                           : ParseNumber<std::int32_t>(value.substr(comma + 1));
        if (!x || !y) {
            return base::Failure{"--offset must be two whole numbers X,Y such as -1,4, not \"" +
                                 value + "\""};
        }
        parsed.Placement.OffsetX = *x;
        parsed.Placement.OffsetY = *y;
    }
    return base::Done{};
}

// The arguments, or the usage error to report.
base::Result<AddImageArguments> ParseAddImageArguments(const std::vector<std::string>& args) {
    AddImageArguments parsed;
    bool haveIn = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--output" || arg == "--fnt" ||
                                arg == "--image" || arg == "--code" || arg == "--advance" ||
                                arg == "--offset";
        if (arg == "--force") {
            parsed.Files.Force = true;
            continue;
        }
        if (!takesValue) {
            if (arg.size() > 1 && arg.front() == '-') {
                return base::Failure{"unknown option \"" + arg + "\""};
            }
            if (haveIn) {
                return base::Failure{"more than one IN given (\"" + parsed.Files.In + "\", \"" +
                                     arg + "\")"};
            }
            parsed.Files.In = arg;
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
    if (!haveIn) {
        return base::Failure{"no IN given"};
    }
    if (parsed.Files.Out.empty()) {
        return base::Failure{"-o OUT is required"};
    }
    if (!parsed.Code) {
        return base::Failure{"--code N is required"};
    }
    if (parsed.Picture.empty()) {
        return base::Failure{"--image PICTURE is required"};
    }
    return parsed;
}

} // namespace

int RunAddImageCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    const base::Result<AddImageArguments> arguments = ParseAddImageArguments(args);
    if (!arguments) {
        return UsageError(Usage, arguments.Error);
    }
    const AddImageArguments& parsed = *arguments.Value;
    // The typeface is read first: a typeface that cannot be read is told before a large picture
    // is decoded for nothing.
    return ChangeTypefaceFile(
        Usage, parsed.Files, [&](document::Typeface& typeface) -> base::Result<base::Done> {
            const base::Result<document::Image> picture = formats::LoadPictureFile(parsed.Picture);
            if (!picture) {
                return base::Failure{"the picture \"" + parsed.Picture +
                                     "\" could not be loaded: " + picture.Error};
            }
            return document::AddImageCharacter(typeface, *parsed.Code, *picture.Value,
                                               parsed.Placement);
        });
}

} // namespace glyfora::cli
