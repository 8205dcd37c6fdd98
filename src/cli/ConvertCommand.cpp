#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "document/TypefaceIo.h"

#include <algorithm>
#include <optional>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "convert", "IN OUT [--fnt text|xml|binary]",
    "Reads IN (a .tf typeface, a BMFont .fnt descriptor in any variant or an XML & Image\n"
    "description, told apart by content) and writes it as OUT, in the form OUT's extension names:\n"
    "\".tf\"; \".xml\" (the description, with the picture written beside it as a .png of the same\n"
    "name); or \".fnt\" (a BMFont descriptor in the variant --fnt names, text by default,\n"
    "with its page picture beside it as NAME_0.png). What OUT's form cannot hold is reported on\n"
    "stderr."};

constexpr std::int64_t ConvertTypefaceId = 0;

// The format OUT's extension names, case ignored; none for any other extension.
std::optional<int> FormatFor(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || fileName.find_first_of("/\\", dot) != std::string::npos) {
        return std::nullopt;
    }
    std::string extension = fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    if (extension == "tf") {
        return document::FormatTf;
    }
    if (extension == "xml") {
        return document::FormatXmlImage;
    }
    if (extension == "fnt") {
        return document::FormatBmFontText;
    }
    return std::nullopt;
}

} // namespace

int RunConvertCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    std::vector<std::string> files;
    std::optional<std::string> variant;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--fnt") {
            if (i + 1 == args.size()) {
                return UsageError(Usage, "--fnt needs text, xml or binary");
            }
            variant = args[++i];
        } else if (arg.starts_with("--fnt=")) {
            variant = arg.substr(6);
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
    std::optional<int> format = FormatFor(out);
    if (!format) {
        return UsageError(Usage, "cannot tell the format of \"" + out +
                                     "\": its name must end in .tf, .xml or .fnt");
    }
    if (variant) {
        if (*format != document::FormatBmFontText) {
            return UsageError(Usage, "--fnt applies only to a .fnt OUT");
        }
        if (*variant == "xml") {
            format = document::FormatBmFontXml;
        } else if (*variant == "binary") {
            format = document::FormatBmFontBinary;
        } else if (*variant != "text") {
            return UsageError(Usage, "--fnt takes text, xml or binary, not \"" + *variant + "\"");
        }
    }

    document::TypefaceRegistry registry;
    const document::LoadResult loaded = document::LoadTypeface(registry, ConvertTypefaceId, in);
    if (loaded.Loaded == nullptr) {
        return Failure(Usage, loaded.Error);
    }
    for (const std::string& warning : loaded.Warnings) {
        Warn(Usage, in + ": " + warning);
    }
    const document::SaveResult saved =
        document::SaveTypeface(registry, ConvertTypefaceId, out, *format);
    for (const std::string& warning : saved.Warnings) {
        Warn(Usage, out + ": " + warning);
    }
    if (!saved.Saved) {
        return Failure(Usage, saved.Error);
    }
    return ExitOk;
}

} // namespace glyfora::cli
