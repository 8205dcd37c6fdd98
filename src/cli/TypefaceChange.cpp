#include "cli/TypefaceChange.h"

#include "cli/OutputFormat.h"
#include "document/TypefaceIo.h"

namespace glyfora::cli {

namespace {

constexpr std::int64_t ChangedTypefaceId = 0;

} // namespace

int ChangeTypefaceFile(const CommandUsage& usage, const TypefaceFiles& files,
                       const TypefaceChange& change) {
    std::optional<document::FileFormatId> format = FormatForExtension(files.Out);
    if (!format) {
        return UsageError(usage, "cannot tell the format of \"" + files.Out +
                                     "\": its name must end in " + OutputExtensionsText());
    }
    if (files.Variant) {
        if (!document::HasExtension(document::FileFormatOf(*format), "fnt")) {
            return UsageError(usage, "--fnt applies only to a .fnt OUT");
        }
        format = BmFontFormatNamed(*files.Variant);
        if (!format) {
            return UsageError(usage,
                              "--fnt takes text, xml or binary, not \"" + *files.Variant + "\"");
        }
    }

    document::TypefaceRegistry registry;
    const document::Result<document::LoadedTypeface> loaded =
        document::LoadTypeface(registry, ChangedTypefaceId, files.In);
    if (!loaded) {
        return Failure(usage, loaded.Error);
    }
    for (const std::string& warning : loaded.Warnings) {
        Warn(usage, files.In + ": " + warning);
    }
    if (!files.Variant) {
        format = document::FormatForFileName(files.Out, loaded.Value->Format);
    }
    const document::Result<document::Done> outcome = change(*loaded.Value->Installed);
    if (!outcome) {
        return Failure(usage, outcome.Error);
    }
    const document::Result<document::Done> saved =
        document::SaveTypeface(registry, ChangedTypefaceId, files.Out, *format);
    for (const std::string& warning : saved.Warnings) {
        Warn(usage, files.Out + ": " + warning);
    }
    if (!saved) {
        return Failure(usage, saved.Error);
    }
    return ExitOk;
}

} // namespace glyfora::cli
