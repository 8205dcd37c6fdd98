#include "app/shell/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace glyfora::app {
namespace {

FileDialogAnswer Answer(const QString& path, const QString& chosenFilter,
                        const QStringList& filters) {
    const qsizetype index = filters.indexOf(chosenFilter);
    return {path, index < 0 ? 0 : static_cast<int>(index)};
}

} // namespace

QtFileDialogs::QtFileDialogs() {
    // Qt writes its user settings only there, and no file can be made under /dev/null; the editor
    // itself uses no QSettings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

FileDialogAnswer QtFileDialogs::OpenFile(QWidget* parent, const QString& title,
                                         const QString& defaultPath, const QStringList& filters) {
    QString chosenFilter = filters.value(0);
    const QString path = QFileDialog::getOpenFileName(parent, title, defaultPath,
                                                      filters.join(u";;"), &chosenFilter);
    return Answer(path, chosenFilter, filters);
}

FileDialogAnswer QtFileDialogs::SaveFile(QWidget* parent, const QString& title,
                                         const QString& defaultPath, const QStringList& filters) {
    QString chosenFilter = filters.value(0);
    const QString path = QFileDialog::getSaveFileName(parent, title, defaultPath,
                                                      filters.join(u";;"), &chosenFilter);
    return Answer(path, chosenFilter, filters);
}

void QtMessageBoxes::Notice(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

void QtMessageBoxes::Warning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

void QtMessageBoxes::Error(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text);
}

SaveChoice QtMessageBoxes::AskSaveChanges(QWidget* parent) {
    const auto button = QMessageBox::question(
        parent, QStringLiteral("Glyfora"), QStringLiteral("Save changes?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (button == QMessageBox::Save) {
        return SaveChoice::Save;
    }
    return button == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

PartlyReadChoice QtMessageBoxes::AskOverwritePartlyRead(QWidget* parent, const QString& path) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Save Typeface"),
                    QStringLiteral("\"%1\" was only partly read when it was opened.\n"
                                   "Saving over it replaces the whole file with what the editor "
                                   "holds; what could not be read is then lost.")
                        .arg(path),
                    QMessageBox::NoButton, parent);
    QPushButton* keep = box.addButton(QStringLiteral("Keep Original"), QMessageBox::RejectRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("Save As..."), QMessageBox::AcceptRole);
    QPushButton* overwrite =
        box.addButton(QStringLiteral("Overwrite"), QMessageBox::DestructiveRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    if (box.clickedButton() == saveAs) {
        return PartlyReadChoice::SaveAs;
    }
    return box.clickedButton() == overwrite ? PartlyReadChoice::Overwrite
                                            : PartlyReadChoice::KeepOriginal;
}

} // namespace glyfora::app
