#include "app/editing/LayoutCommands.h"

#include "app/editing/PromptNumber.h"
#include "app/shell/History.h"
#include "app/shell/Shell.h"
#include "app/windows/MainWindow.h"
#include "app/windows/PackCompactlyDialog.h"
#include "document/LayoutOperations.h"
#include "document/TypefaceRepacking.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <string>

namespace glyfora::app {

namespace {

void CopyUpperToLower(Shell& shell, std::int64_t first, std::int64_t last, std::int64_t shift) {
    document::Typeface* typeface = CurrentTypeface(shell.State);
    if (typeface == nullptr) {
        return;
    }
    (void)document::CopyUpperToLower(*typeface, first, last, shift);
    ShowDocumentChange(shell);
}

using LayoutFromAnswer = base::Result<base::Done> (*)(document::Typeface&, std::string_view);

void AskAndApply(Shell& shell, const QString& title, const QString& prompt,
                 const QString& defaultText, LayoutFromAnswer apply) {
    document::Typeface* typeface = CurrentTypeface(shell.State);
    if (typeface == nullptr) {
        return;
    }
    const std::string answer = AskNumber(shell.Main.get(), prompt, defaultText).toStdString();
    const base::Result<base::Done> outcome = apply(*typeface, answer);
    if (!outcome) {
        // A closed prompt is no refusal: the user changed their mind.
        if (!outcome.Error.empty()) {
            shell.Services.Messages.Warning(shell.Main.get(), title,
                                            QString::fromStdString(outcome.Error));
        }
        return;
    }
    ShowDocumentChange(shell);
}

} // namespace

QString AskNumber(QWidget* parent, const QString& prompt, const QString& defaultText) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("NumberPrompt"));
    dialog.setWindowTitle(QString());
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    auto* field = new QLineEdit(defaultText, &dialog);
    field->setObjectName(QStringLiteral("NumberPromptField"));
    field->selectAll();
    label->setBuddy(field);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addWidget(buttons);
    field->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return field->text();
}

void OnCopyUpperToLower(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Copy Upper to Lower Case"),
               [&shell] { CopyUpperToLower(shell, 97, 122, 0); });
}

void OnCopyUmlauts(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Copy Umlauts"),
               [&shell] { CopyUpperToLower(shell, 224, 255, 64); });
}

void OnScaleLayout(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Scale Layout"), [&shell] {
        AskAndApply(shell, QStringLiteral("scale layout"), QStringLiteral("Scale:"),
                    QStringLiteral("1.0"), &ScaleLayoutFromAnswer);
    });
}

void OnSpacingLayout(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Spacing Layout"), [&shell] {
        AskAndApply(shell, QStringLiteral("spacing layout"), QStringLiteral("Spacing:"),
                    QStringLiteral("0"), &SpacingLayoutFromAnswer);
    });
}

void OnPackCompactly(Shell& shell, const DispatchEvent& /*event*/) {
    if (CurrentTypeface(shell.State) == nullptr) {
        return;
    }
    PackCompactlyDialog dialog(DefaultPackingRules(shell.State.ImportedMaxWidth), shell.Main.get());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const document::PackingRules rules = dialog.Rules();
    RecordStep(shell, QStringLiteral("Pack Compactly"), [&shell, &rules] {
        // The dialog ran its own event loop: take the document afresh.
        document::Typeface* typeface = CurrentTypeface(shell.State);
        if (typeface == nullptr) {
            return;
        }
        const base::Result<base::Done> outcome = document::PackCompactly(*typeface, rules);
        if (!outcome) {
            shell.Services.Messages.Warning(shell.Main.get(), QStringLiteral("Pack compactly"),
                                            QString::fromStdString(outcome.Error));
            return;
        }
        // The new picture starts at its top-left corner, wherever the view was.
        shell.State.View.ScrollX = 0;
        shell.State.View.ScrollY = 0;
        ShowDocumentChange(shell);
        const document::Image& picture = *typeface->Content.Image;
        shell.Main->statusBar()->showMessage(QStringLiteral("Packed into a %1 × %2 picture.")
                                                 .arg(picture.Width)
                                                 .arg(picture.Height));
    });
}

} // namespace glyfora::app
