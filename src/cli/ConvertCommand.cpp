#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "document/TypefaceIo.h"

#include <algorithm>
#include <optional>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "convert", "IN OUT",
    "Reads IN (a .tf typeface or an XML & Image description, told apart by content) and writes\n"
    "it as OUT, in the form OUT's extension names: \".tf\", or \".xml\" (the description, with "
    "the\n"
    "picture written beside it as a .png of the same name). Properties, which an XML description\n"
    "cannot hold, are reported on stderr when they are dropped."};

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
    return std::nullopt;
}

} // namespace

int RunConvertCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    for (const std::string& arg : args) {
        if (arg.size() > 1 && arg.front() == '-') {
            return UsageError(Usage, "unknown option \"" + arg + "\"");
        }
    }
    if (args.size() != 2) {
        return UsageError(Usage, "expected IN and OUT, got " + std::to_string(args.size()) +
                                     " argument(s)");
    }
    const std::string& in = args[0];
    const std::string& out = args[1];
    const std::optional<int> format = FormatFor(out);
    if (!format) {
        return UsageError(Usage, "cannot tell the format of \"" + out +
                                     "\": its name must end in .tf or .xml");
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
