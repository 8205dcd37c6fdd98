#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OutputFormat.h"
#include "cli/TypefaceChange.h"
#include "formats/TypefaceIo.h"

#include <optional>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "convert", "IN OUT [--fnt text|xml|binary] [--force]",
    "Reads IN (a .tf typeface, a BMFont .fnt or .json descriptor in any variant or an XML & Image\n"
    "description, told apart by content) and writes it as OUT, in the form OUT's extension names\n"
    "(in any letter case): \".tf\"; \".xml\" (the description, with the picture written beside it\n"
    "as a .png of the same name); \".fnt\" (a BMFont descriptor in the variant --fnt names,\n"
    "text by default, with its page pictures beside it as NAME_0.png, NAME_1.png ...); or\n"
    "\".json\" (the BMFont descriptor as JSON, with its pages likewise).\n"
    "What OUT's form has no place for, such as properties in an XML description, is reported on\n"
    "stderr. A value too large for OUT's fields is never cut down: the command names it, exits\n"
    "with status 1 and writes nothing. A partly read IN is not written over itself: the command\n"
    "exits with status 1 unless --force is given.\n"
    "Options:\n"
    "  --fnt VARIANT     the variant of a .fnt OUT: text, xml or binary\n"
    "  --force           write OUT even when it is IN and IN was only partly read (what could\n"
    "                    not be read is then lost)"};

constexpr std::int64_t ConvertTypefaceId = 0;

} // namespace

int RunConvertCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    std::vector<std::string> files;
    std::optional<std::string> variant;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--fnt") {
            if (i + 1 == args.size()) {
                return UsageError(Usage, "--fnt needs text, xml or binary");
            }
            variant = args[++i];
        } else if (arg.starts_with("--fnt=")) {
            variant = arg.substr(6);
        } else if (arg == "--force") {
            force = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return UsageError(Usage, "unknown option \"" + arg + "\"");
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        return UsageError(Usage, "expected IN and OUT, got " + std::to_string(files.size()) +
                                     " argument(s)");
    }
    const std::string& in = files[0];
    const std::string& out = files[1];
    std::optional<formats::FileFormatId> format = FormatForExtension(out);
    if (!format) {
        return UsageError(Usage, "cannot tell the format of \"" + out +
                                     "\": its name must end in " + OutputExtensionsText());
    }
    if (variant) {
        if (!formats::HasExtension(formats::FileFormatOf(*format), "fnt")) {
            return UsageError(Usage, "--fnt applies only to a .fnt OUT");
        }
        format = BmFontFormatNamed(*variant);
        if (!format) {
            return UsageError(Usage, "--fnt takes text, xml or binary, not \"" + *variant + "\"");
        }
    }

    document::TypefaceRegistry registry;
    const base::Result<formats::LoadedTypeface> loaded =
        formats::LoadTypeface(registry, ConvertTypefaceId, in);
    if (!loaded) {
        return Failure(Usage, loaded.Error);
    }
    for (const std::string& warning : loaded.Warnings) {
        Warn(Usage, in + ": " + warning);
    }
    if (base::Result<base::Done> allowed = CheckOverwrite(in, out, loaded.Warnings, force);
        !allowed) {
        return Failure(Usage, allowed.Error);
    }
    const base::Result<base::Done> saved =
        formats::SaveTypeface(registry, ConvertTypefaceId, out, *format);
    for (const std::string& warning : saved.Warnings) {
        Warn(Usage, out + ": " + warning);
    }
    if (!saved) {
        return Failure(Usage, saved.Error);
    }
    return ExitOk;
}

} // namespace glyfora::cli
