#include "app/editing/CharacterSetPicture.h"

#include "app/shell/History.h"
#include "app/shell/Shell.h"
#include "app/shell/ShellViews.h"
#include "app/windows/AddImageDialog.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/MainWindow.h"
#include "document/ImageCharacter.h"
#include "formats/PictureFile.h"
#include "platform/Folders.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStatusBar>
#include <QUrl>
#include <chrono>

namespace glyfora::app {

namespace {

// The picture changed but the metrics did not: the views that show pixels are drawn again, and
// the lists and the current character stay as they are.
void ShowPictureChange(Shell& shell) {
    DrawCharacterSetView(shell);
    DrawCharacterView(shell);
    DrawKerningPairView(shell);
    RequestExampleFrame(shell);
}

} // namespace

void ImportCharacterSetPicture(Shell& shell, const std::string& path) {
    RecordStep(shell, QStringLiteral("Import Picture"), [&shell, &path] {
        document::Typeface* typeface = CurrentTypeface(shell.State);
        if (typeface == nullptr) {
            return;
        }
        const base::Result<base::Done> imported =
            formats::ImportCharacterSetPicture(*typeface, path);
        if (!imported) {
            shell.Services.Messages.Warning(shell.CharacterSet, QStringLiteral("Import"),
                                            QStringLiteral("The picture could not be loaded: %1")
                                                .arg(QString::fromStdString(imported.Error)));
            return;
        }
        ShowPictureChange(shell);
    });
}

void OnCharacterSetImport(Shell& shell, const DispatchEvent& /*event*/) {
    AppState& state = shell.State;
    const FileDialogAnswer answer = shell.Services.Files.OpenFile(
        shell.CharacterSet, QStringLiteral("Open Character Set"),
        QString::fromStdString(state.CurrentFilePath), {QStringLiteral("Image (*.png *.bmp)")});
    state.CharacterSetImagePath = answer.Path.toStdString();
    if (!answer.Path.isEmpty()) {
        ImportCharacterSetPicture(shell, state.CharacterSetImagePath);
    }
}

void OnCharacterSetAddImage(Shell& shell, const DispatchEvent& /*event*/) {
    AppState& state = shell.State;
    if (CurrentTypeface(state) == nullptr) {
        return;
    }
    const FileDialogAnswer answer = shell.Services.Files.OpenFile(
        shell.CharacterSet, QStringLiteral("Add Image"),
        QString::fromStdString(state.CurrentFilePath), {QStringLiteral("Image (*.png *.bmp)")});
    if (answer.Path.isEmpty()) {
        return;
    }
    const QString title = QStringLiteral("Add Image");
    const base::Result<document::Image> picture =
        formats::LoadPictureFile(answer.Path.toStdString());
    if (!picture) {
        shell.Services.Messages.Warning(shell.CharacterSet, title,
                                        QStringLiteral("The picture could not be loaded: %1")
                                            .arg(QString::fromStdString(picture.Error)));
        return;
    }
    AddImageDialog dialog(document::FreeImageCode(*CurrentTypeface(state)), picture.Value->Width,
                          shell.CharacterSet);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The dialog ran its own event loop: take the document afresh.
    document::Typeface* typeface = CurrentTypeface(state);
    if (!accepted || typeface == nullptr) {
        return;
    }
    state.LastDialogCode = dialog.Code();
    const document::ImagePlacement placement = dialog.Placement();
    RecordStep(shell, title, [&shell, &state, &picture, &title, &placement, typeface] {
        const base::Result<base::Done> added =
            document::AddImageCharacter(*typeface, state.LastDialogCode, *picture.Value, placement);
        if (!added) {
            shell.Services.Messages.Warning(shell.CharacterSet, title,
                                            QString::fromStdString(added.Error));
            return;
        }
        ShowDocumentChange(shell);
    });
}

namespace {

// The picture written into the editor's own export folder, made at the first export.
base::Result<std::string> ExportPicture(Shell& shell, const document::Typeface& typeface) {
    if (!shell.ExportFolder) {
        base::Result<platform::OwnTemporaryFolder> made =
            platform::OwnTemporaryFolder::Make(platform::TemporaryFolder());
        if (!made) {
            return base::Failure{std::move(made.Error)};
        }
        shell.ExportFolder = std::move(*made.Value);
    }
    return platform::ExportCharacterSetPicture(typeface, shell.ExportFolder->Path(),
                                               shell.PictureWatch);
}

} // namespace

void OnCharacterSetEdit(Shell& shell, const DispatchEvent& /*event*/) {
    AppState& state = shell.State;
    document::Typeface* typeface = CurrentTypeface(state);
    if (typeface == nullptr) {
        return;
    }
    const base::Result<std::string> exported = ExportPicture(shell, *typeface);
    if (!exported) {
        shell.Services.Messages.Warning(shell.CharacterSet, QStringLiteral("Edit"),
                                        QStringLiteral("The picture could not be exported: %1")
                                            .arg(QString::fromStdString(exported.Error)));
        return;
    }
    if (shell.PictureWatch.Known) {
        state.ExportedImageTime = shell.PictureWatch.Known->Seconds;
    }
    const QString path = QString::fromStdString(*exported.Value);
    // The path goes to the editor as one argument of its own, so it needs no quotes here.
    if (state.EditorPath.empty()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    } else {
        QProcess::startDetached(QString::fromStdString(state.EditorPath), {path},
                                QString::fromStdString(shell.ExportFolder->Path()));
    }
    shell.PictureWatchTimer->start();
}

PictureWatchTimer::PictureWatchTimer(Shell& shell, QObject* parent)
    : QTimer(parent), shell_(shell) {
    setObjectName(QStringLiteral("PictureWatchTimer"));
    setInterval(std::chrono::milliseconds(platform::PictureWatchPeriod));
    connect(this, &QTimer::timeout, this, &PictureWatchTimer::Check);
}

void PictureWatchTimer::Check() {
    document::Typeface* typeface = CurrentTypeface(shell_.State);
    if (typeface == nullptr) {
        return;
    }
    platform::WatchResult result =
        platform::PollPictureWatch(shell_.PictureWatch, std::chrono::steady_clock::now());
    const bool news = result.Status != lastStatus_;
    lastStatus_ = result.Status;
    switch (result.Status) {
    case platform::WatchStatus::Reloaded:
        RecordStep(shell_, QStringLiteral("Reload Picture"), [this, typeface, &result] {
            formats::ReplaceCharacterSetPicture(*typeface, std::move(*result.Picture));
            ShowPictureChange(shell_);
        });
        if (shell_.PictureWatch.Known) {
            shell_.State.ExportedImageTime = shell_.PictureWatch.Known->Seconds;
        }
        break;
    case platform::WatchStatus::GaveUp:
    case platform::WatchStatus::Undecodable:
        // Said once in the status bar, not in a box: the editor may just be busy with the file.
        if (news) {
            shell_.Main->statusBar()->showMessage(
                QStringLiteral("CharacterSet.png not reloaded yet: %1")
                    .arg(QString::fromStdString(result.Reason)),
                5000);
        }
        break;
    default:
        break;
    }
}

} // namespace glyfora::app
