#include "app/shell/History.h"
#include "app/shell/RecentFiles.h"
#include "app/shell/Shell.h"
#include "app/windows/MainWindow.h"
#include "formats/TypefaceIo.h"

#include <filesystem>
#include <system_error>

namespace glyfora::app {
namespace {

constexpr auto OpenTitle = u"Open Typeface";
constexpr auto SaveTitle = u"Save Typeface";

QString Lines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) {
        list << QString::fromStdString(line);
    }
    return list.join(u'\n');
}

// Whether path is the file the document was only partly read from, under any of its names.
bool IsPartlyReadFile(const AppState& state, const std::string& path) {
    if (!state.CurrentFilePartlyRead) {
        return false;
    }
    std::error_code error;
    return path == state.CurrentFilePath ||
           std::filesystem::equivalent(path, state.CurrentFilePath, error);
}

bool WriteDocument(Shell& shell, const std::string& path, formats::FileFormatId format) {
    if (IsPartlyReadFile(shell.State, path)) {
        switch (shell.Services.Messages.AskOverwritePartlyRead(shell.Main.get(),
                                                               QString::fromStdString(path))) {
        case PartlyReadChoice::KeepOriginal:
            return false;
        case PartlyReadChoice::SaveAs:
            return SaveDocumentAs(shell);
        case PartlyReadChoice::Overwrite:
            break;
        }
    }
    const base::Result<base::Done> result =
        formats::SaveTypeface(shell.State.Registry, TypefaceId, path, format);
    if (!result) {
        shell.Services.Messages.Error(
            shell.Main.get(), QString::fromUtf16(SaveTitle),
            QStringLiteral("\"%1\" could not be saved.\n%2")
                .arg(QString::fromStdString(path), QString::fromStdString(result.Error)));
        return false;
    }
    shell.State.CurrentFilePath = path;
    shell.State.CurrentFileFormat = format;
    shell.State.CurrentFilePartlyRead = false;
    MarkSaved(shell);
    RememberRecentFile(shell, path);
    if (!result.Warnings.empty()) {
        shell.Services.Messages.Warning(
            shell.Main.get(), QString::fromUtf16(SaveTitle),
            QStringLiteral("\"%1\" was saved, but:\n%2")
                .arg(QString::fromStdString(path), Lines(result.Warnings)));
    }
    return true;
}

} // namespace

QStringList TypefaceFileFilters() {
    QStringList filters;
    for (const formats::FileFormat& format : formats::FileFormats()) {
        QStringList patterns;
        for (const std::string_view extension : format.Extensions) {
            patterns << QStringLiteral("*.") +
                            QString::fromUtf8(extension.data(), extension.size());
        }
        filters << QString::fromUtf8(format.DisplayName) + QStringLiteral(" (") +
                       patterns.join(u' ') + u')';
    }
    return filters;
}

bool ConfirmDiscard(Shell& shell) {
    const document::Typeface* typeface = CurrentTypeface(shell.State);
    if (typeface == nullptr || !typeface->Modified) {
        return true;
    }
    switch (shell.Services.Messages.AskSaveChanges(shell.Main.get())) {
    case SaveChoice::Save:
        return SaveDocument(shell);
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

bool OpenTypefaceFile(Shell& shell, const std::string& path) {
    const base::Result<formats::LoadedTypeface> result =
        formats::LoadTypeface(shell.State.Registry, TypefaceId, path);
    if (!result) {
        shell.Services.Messages.Error(
            shell.Main.get(), QString::fromUtf16(OpenTitle),
            QStringLiteral("\"%1\" could not be opened.\n%2")
                .arg(QString::fromStdString(path), QString::fromStdString(result.Error)));
        return false;
    }
    shell.State.CurrentFilePath = path;
    shell.State.CurrentFileFormat = result.Value->Format;
    shell.State.CurrentFilePartlyRead = !result.Warnings.empty();
    ShowDocument(shell);
    RememberRecentFile(shell, path);
    if (!result.Warnings.empty()) {
        shell.Services.Messages.Warning(
            shell.Main.get(), QString::fromUtf16(OpenTitle),
            QStringLiteral("\"%1\" was only partly read:\n%2")
                .arg(QString::fromStdString(path), Lines(result.Warnings)));
    }
    return true;
}

bool SaveDocument(Shell& shell) {
    const std::string& path = shell.State.CurrentFilePath;
    // A ".fnt" keeps the variant it was opened or last saved as.
    const std::optional<formats::FileFormatId> format =
        path.empty() ? std::nullopt
                     : formats::FormatForFileName(path, shell.State.CurrentFileFormat);
    if (!format) {
        return SaveDocumentAs(shell);
    }
    return WriteDocument(shell, path, *format);
}

bool SaveDocumentAs(Shell& shell) {
    const FileDialogAnswer answer = shell.Services.Files.SaveFile(
        shell.Main.get(), QString::fromUtf16(SaveTitle),
        QString::fromStdString(shell.State.CurrentFilePath), TypefaceFileFilters());
    if (answer.Path.isEmpty()) {
        return false;
    }
    // The filters are the formats in table order.
    const std::span<const formats::FileFormat> formats = formats::FileFormats();
    const bool known = answer.FilterIndex >= 0 && answer.FilterIndex < std::ssize(formats);
    const formats::FileFormat& format = formats[known ? answer.FilterIndex : 0];
    const std::string path =
        formats::WithExtension(answer.Path.toStdString(), std::string(format.Extensions.front()));
    return WriteDocument(shell, path, format.Id);
}

} // namespace glyfora::app
