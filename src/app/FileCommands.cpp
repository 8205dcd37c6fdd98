#include "app/MainWindow.h"
#include "app/Shell.h"
#include "document/TypefaceIo.h"

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

// The file-type filters of both dialogs, in dialog order, with the extension and format each
// stands for. The three BMFont variants share ".fnt".
struct FileTypeFilter {
    const char16_t* Text;
    const char* Extension;
    int Format;
};
constexpr FileTypeFilter FileTypeFilters[] = {
    {u"Typeface (*.tf)", "tf", document::FormatTf},
    {u"XML & Image (*.xml)", "xml", document::FormatXmlImage},
    {u"BMFont (text) (*.fnt)", "fnt", document::FormatBmFontText},
    {u"BMFont (XML) (*.fnt)", "fnt", document::FormatBmFontXml},
    {u"BMFont (binary) (*.fnt)", "fnt", document::FormatBmFontBinary},
};

bool IsBmFontFormat(int format) {
    return format == document::FormatBmFontText || format == document::FormatBmFontXml ||
           format == document::FormatBmFontBinary;
}

// The format to save in, by the exact, lower-case extension; none for any other. A ".fnt" keeps
// the variant it was opened or last saved as.
std::optional<int> FormatOfPath(const std::string& path, int currentFormat) {
    const std::string extension = FileExtension(path);
    if (extension == "tf") {
        return document::FormatTf;
    }
    if (extension == "xml") {
        return document::FormatXmlImage;
    }
    if (extension == "fnt") {
        return IsBmFontFormat(currentFormat) ? currentFormat : document::FormatBmFontText;
    }
    return std::nullopt;
}

bool WriteDocument(Shell& shell, const std::string& path, int format) {
    const document::SaveResult result =
        document::SaveTypeface(shell.State.Registry, TypefaceId, path, format);
    if (!result.Saved) {
        shell.Services.Messages.Error(
            shell.Main.get(), QString::fromUtf16(SaveTitle),
            QStringLiteral("\"%1\" could not be saved.\n%2")
                .arg(QString::fromStdString(path), QString::fromStdString(result.Error)));
        return false;
    }
    shell.State.CurrentFilePath = path;
    shell.State.CurrentFileFormat = format;
    if (document::Typeface* typeface = CurrentTypeface(shell.State)) {
        typeface->Modified = false;
    }
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
    for (const FileTypeFilter& filter : FileTypeFilters) {
        filters << QString::fromUtf16(filter.Text);
    }
    return filters;
}

std::string FileExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
        return {};
    }
    return path.substr(dot + 1);
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
    const document::LoadResult result = document::LoadTypeface(shell.State.Registry, TypefaceId, path);
    if (result.Loaded == nullptr) {
        shell.Services.Messages.Error(
            shell.Main.get(), QString::fromUtf16(OpenTitle),
            QStringLiteral("\"%1\" could not be opened.\n%2")
                .arg(QString::fromStdString(path), QString::fromStdString(result.Error)));
        return false;
    }
    shell.State.CurrentFilePath = path;
    shell.State.CurrentFileFormat = result.Format;
    result.Loaded->Modified = false;
    ShowDocument(shell);
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
    const std::optional<int> format =
        path.empty() ? std::nullopt : FormatOfPath(path, shell.State.CurrentFileFormat);
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
    const bool known = answer.FilterIndex >= 0 && answer.FilterIndex < std::ssize(FileTypeFilters);
    const FileTypeFilter& filter = FileTypeFilters[known ? answer.FilterIndex : 0];
    const std::string path = document::WithExtension(answer.Path.toStdString(), filter.Extension);
    return WriteDocument(shell, path, filter.Format);
}

} // namespace glyfora::app
