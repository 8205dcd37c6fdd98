#include "cli/TypefaceChange.h"

#include "cli/OutputFormat.h"
#include "formats/TypefaceIo.h"

namespace glyfora::cli {

namespace {

constexpr std::int64_t ChangedTypefaceId = 0;

} // namespace

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
