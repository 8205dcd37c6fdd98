#include "cli/TypefaceChange.h"

#include "cli/OutputFormat.h"
#include "formats/TypefaceIo.h"

#include <filesystem>
#include <system_error>

namespace glyfora::cli {

namespace {

constexpr std::int64_t ChangedTypefaceId = 0;

bool SameFile(const std::string& first, const std::string& second) {
    std::error_code error;
    return first == second || std::filesystem::equivalent(first, second, error);
}

} // namespace

base::Result<base::Done> CheckOverwrite(const std::string& in, const std::string& out,
                                        const std::vector<std::string>& loadWarnings, bool force) {
    if (force || loadWarnings.empty() || !SameFile(in, out)) {
        return base::Done{};
    }
    return base::Failure{"\"" + in +
                         "\" was only partly read; writing it over itself would lose what could "
                         "not be read (give --force to write it anyway)"};
}

int ChangeTypefaceFile(const CommandUsage& usage, const TypefaceFiles& files,
                       const TypefaceChange& change) {
    std::optional<formats::FileFormatId> format = FormatForExtension(files.Out);
    if (!format) {
        return UsageError(usage, "cannot tell the format of \"" + files.Out +
                                     "\": its name must end in " + OutputExtensionsText());
    }
    if (files.Variant) {
        if (!formats::HasExtension(formats::FileFormatOf(*format), "fnt")) {
            return UsageError(usage, "--fnt applies only to a .fnt OUT");
        }
        format = BmFontFormatNamed(*files.Variant);
        if (!format) {
            return UsageError(usage,
                              "--fnt takes text, xml or binary, not \"" + *files.Variant + "\"");
        }
    }

    document::TypefaceRegistry registry;
    const base::Result<formats::LoadedTypeface> loaded =
        formats::LoadTypeface(registry, ChangedTypefaceId, files.In);
    if (!loaded) {
        return Failure(usage, loaded.Error);
    }
    for (const std::string& warning : loaded.Warnings) {
        Warn(usage, files.In + ": " + warning);
    }
    if (base::Result<base::Done> allowed =
            CheckOverwrite(files.In, files.Out, loaded.Warnings, files.Force);
        !allowed) {
        return Failure(usage, allowed.Error);
    }
    if (!files.Variant) {
        format = formats::FormatForFileName(files.Out, loaded.Value->Format);
    }
    const base::Result<base::Done> outcome = change(*loaded.Value->Installed);
    if (!outcome) {
        return Failure(usage, outcome.Error);
    }
    const base::Result<base::Done> saved =
        formats::SaveTypeface(registry, ChangedTypefaceId, files.Out, *format);
    for (const std::string& warning : saved.Warnings) {
        Warn(usage, files.Out + ": " + warning);
    }
    if (!saved) {
        return Failure(usage, saved.Error);
    }
    return ExitOk;
}

} // namespace glyfora::cli
