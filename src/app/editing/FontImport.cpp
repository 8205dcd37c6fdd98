#include "app/editing/FontImport.h"

#include "app/shell/Shell.h"
#include "app/windows/ImportWindow.h"
#include "import/CharacterList.h"
#include "import/FontFiles.h"
#include "import/ImportRun.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressDialog>
#include <algorithm>
#include <string_view>
#include <vector>

namespace glyfora::app {

namespace {

// "Font files (*.ttf *.otf ...)", from the extensions the import recognises.
QString FontFileFilter() {
    QStringList patterns;
    for (const std::string_view extension : fontimport::FontFileExtensions) {
        patterns << QStringLiteral("*") +
                        QString::fromLatin1(extension.data(),
                                            static_cast<qsizetype>(extension.size()));
    }
    return QStringLiteral("Font files (%1)").arg(patterns.join(QLatin1Char(' ')));
}

// Reports the import's progress in a modal dialog. The import rasterises on one
// worker per core but reports on this thread, also while it waits for them; the
// dialog's updates let the event loop run (repaints, the example, the "Cancel"
// button) a few dozen times a second, and the modality keeps every other
// command away until the import has ended.
class ProgressDialogReport {
public:
    explicit ProgressDialogReport(QWidget* parent)
        : dialog_(QStringLiteral("Creating typeface..."), QStringLiteral("Cancel"), 0, 0, parent) {
        dialog_.setWindowTitle(QStringLiteral("Import TTF"));
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setMinimumDuration(400);
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
        sinceEvents_.start();
    }

    bool operator()(std::int64_t done, std::int64_t total) {
        if (sinceEvents_.elapsed() >= EventInterval || done >= total) {
            sinceEvents_.restart();
            // The dialog counts in int; glyph steps stay far below that, but scale
            // just in case.
            const std::int64_t scale = total > 1000000 ? total / 1000000 + 1 : 1;
            dialog_.setMaximum(static_cast<int>(total / scale));
            dialog_.setValue(static_cast<int>(std::min(done, total) / scale));
            // Until the modal dialog shows, input must wait: a click could otherwise reach a
            // menu command or the close box in the middle of the import.
            QCoreApplication::processEvents(
                dialog_.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        }
        return !dialog_.wasCanceled();
    }

private:
    static constexpr qint64 EventInterval = 30; // ms between event passes
    QProgressDialog dialog_;
    QElapsedTimer sinceEvents_;
};

// Told now rather than at "Save", when the options that would fix it are still at hand.
void WarnWhenNotSavableAsTf(Shell& shell, const fontimport::SaveAdvice& saving) {
    QString advice;
    if (saving.FittingWidth && *saving.FittingWidth <= document::MaxWidthOption.Range.Max) {
        advice = QStringLiteral("Set \"max width:\" to %1 and press \"Create Typeface\" again.")
                     .arg(*saving.FittingWidth);
    } else {
        advice = QStringLiteral("No max width up to %1 makes it fit; choose a smaller size, "
                                "smaller paddings or fewer characters.")
                     .arg(document::MaxWidthOption.Range.Max);
    }
    shell.Services.Messages.Warning(
        shell.Import, QStringLiteral("Import TTF"),
        QStringLiteral("The new typeface cannot be saved as .tf: %1.\n\n%2")
            .arg(QString::fromStdString(saving.Reason), advice));
}

void ShowImportFailure(Shell& shell, const std::string& reason) {
    shell.Services.Messages.Error(
        shell.Import, QStringLiteral("Import TTF"),
        QStringLiteral("\"%1\" could not be imported.\n%2")
            .arg(shell.Import->FamilyList->currentText(), QString::fromStdString(reason)));
}

} // namespace

bool CreateTypefaceFromWindow(Shell& shell) {
    if (shell.ImportRunning || !ConfirmDiscard(shell)) {
        return false;
    }
    AppState& state = shell.State;
    const fontimport::ImportOptions options = shell.Import->ReadOptions();
    shell.ImportRunning = true;
    fontimport::ImportOutcome outcome;
    if (shell.ImportProgressHook) {
        outcome = fontimport::RunImport(state.Graphics, state.Registry, TypefaceId, options,
                                        shell.ImportProgressHook);
    } else {
        ProgressDialogReport report(shell.Import);
        outcome = fontimport::RunImport(
            state.Graphics, state.Registry, TypefaceId, options,
            [&report](std::int64_t done, std::int64_t total) { return report(done, total); });
    }
    shell.ImportRunning = false;

    if (outcome.End == fontimport::ImportEnd::Cancelled) {
        return false;
    }
    if (outcome.End == fontimport::ImportEnd::Failed) {
        ShowImportFailure(shell, outcome.Reason);
        return false;
    }
    const document::Typeface* typeface =
        document::InstallTypeface(state.Registry, std::move(outcome.Typeface));
    ForgetDocumentFile(state);
    // Not on disk yet: leaving it unsaved is worth the question.
    ShowDocument(shell, EmptyViews::Hide, Saving::Needed);
    state.ImportedMaxWidth = options.MaxWidth;
    shell.Import->ShowImportReport(ImportReport(*typeface, outcome.Warnings));
    if (outcome.Advice) {
        WarnWhenNotSavableAsTf(shell, *outcome.Advice);
    }
    if (!outcome.Warnings.empty()) {
        QStringList warnings;
        for (const std::string& warning : outcome.Warnings) {
            warnings << QString::fromStdString(warning);
        }
        shell.Services.Messages.Warning(shell.Import, QStringLiteral("Import TTF"),
                                        warnings.join(QStringLiteral("\n\n")));
    }
    return true;
}

bool AddTextFileCharacters(Shell& shell) {
    ImportWindow& window = *shell.Import;
    const QString title = QStringLiteral("Add Text File");
    const FileDialogAnswer answer = shell.Services.Files.OpenFile(
        &window, title, QString(),
        {QStringLiteral("Text (*.txt)"), QStringLiteral("All files (*)")});
    if (answer.Path.isEmpty()) {
        return false;
    }
    const std::string path = answer.Path.toStdString();
    const base::Result<std::string> merged = fontimport::AddCharacterFilesToList(
        window.CharactersField->text().toStdString(), {&path, 1});
    if (!merged) {
        shell.Services.Messages.Warning(&window, title, QString::fromStdString(merged.Error));
        return false;
    }
    window.CharactersField->setText(QString::fromStdString(*merged.Value));
    return true;
}

bool ChooseFontFile(Shell& shell) {
    ImportWindow& window = *shell.Import;
    const QString title = QStringLiteral("Font file");
    const FileDialogAnswer answer = shell.Services.Files.OpenFile(
        &window, title, QString(), {FontFileFilter(), QStringLiteral("All files (*)")});
    if (answer.Path.isEmpty()) {
        return false;
    }
    const base::Result<std::vector<fontimport::FileFace>> faces =
        fontimport::ListFileFaces(shell.State.Graphics, answer.Path.toStdString());
    if (!faces || faces.Value->empty()) {
        const QString reason =
            faces ? QStringLiteral("\"%1\" has no face that can be read.").arg(answer.Path)
                  : QString::fromStdString(faces.Error);
        shell.Services.Messages.Warning(&window, title, reason);
        return false;
    }
    window.ShowFontFile(answer.Path, *faces.Value);
    DrawImportPreview(window, shell.State.Graphics);
    return true;
}

} // namespace glyfora::app
