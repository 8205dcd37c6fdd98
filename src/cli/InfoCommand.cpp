#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "formats/TypefaceIo.h"

#include <algorithm>
#include <iostream>

namespace glyfora::cli {

namespace {

constexpr CommandUsage Usage{
    "info", "FILE [--json]",
    "Reads a typeface (.tf, a BMFont .fnt or .json, or an XML & Image description) and prints\n"
    "a summary.\n"
    "--json  print the whole typeface as one JSON object instead: \"image\", \"characters\",\n"
    "        \"kerning\", \"properties\" and \"warnings\" (why the file was only partly read)."};

constexpr std::int64_t InfoTypefaceId = 0;

void PrintSummary(const std::string& fileName, const document::Typeface& typeface,
                  formats::FileFormatId format, const std::vector<std::string>& warnings) {
    const document::TypefaceContent& content = typeface.Content;
    std::cout << "File: " << fileName << '\n'
              << "Format: " << formats::FileFormatOf(format).InfoName << '\n'
              << "Image: ";
    if (content.Image) {
        std::cout << content.Image->Width << " x " << content.Image->Height << '\n';
    } else {
        std::cout << "none\n";
    }
    std::cout << "Characters: " << content.Characters.Size();
    if (!content.Characters.Empty()) {
        const auto [lowest, highest] =
            std::minmax_element(content.Characters.begin(), content.Characters.end(),
                                [](const auto& a, const auto& b) { return a.Index < b.Index; });
        std::cout << " (codes " << lowest->Index << " to " << highest->Index << ')';
    }
    std::cout << "\nKerning pairs: " << content.KerningPairs.Size() << '\n';
    for (const auto& [key, value] : content.Properties) {
        std::string line = "Property ";
        AppendJsonString(line, key);
        line += ": ";
        AppendJsonString(line, value);
        std::cout << line << '\n';
    }
    for (const std::string& warning : warnings) {
        std::cout << "Warning: " << warning << '\n';
    }
}

} // namespace

int RunInfoCommand(const std::vector<std::string>& args) {
    if (WantsHelp(args)) {
        return PrintHelp(Usage);
    }
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return UsageError(Usage, "unknown option \"" + arg + "\"");
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 1) {
        return UsageError(Usage, files.empty() ? "no FILE given" : "more than one FILE given");
    }

    document::TypefaceRegistry registry;
    const base::Result<formats::LoadedTypeface> loaded =
        formats::LoadTypeface(registry, InfoTypefaceId, files.front());
    if (!loaded) {
        return Failure(Usage, loaded.Error);
    }
    if (json) {
        std::cout << TypefaceToJson(*loaded.Value->Installed, loaded.Warnings);
    } else {
        PrintSummary(files.front(), *loaded.Value->Installed, loaded.Value->Format,
                     loaded.Warnings);
    }
    return ExitOk;
}

} // namespace glyfora::cli
