#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace glyfora::app {

struct FileDialogAnswer {
    QString Path;        // empty when the dialog was cancelled
    int FilterIndex = 0; // position of the chosen filter in the list handed in
};

// The open and save dialogs, behind an interface so that tests can answer them.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogAnswer OpenFile(QWidget* parent, const QString& title,
                                      const QString& defaultPath, const QStringList& filters) = 0;
    virtual FileDialogAnswer SaveFile(QWidget* parent, const QString& title,
                                      const QString& defaultPath, const QStringList& filters) = 0;
};

enum class SaveChoice { Save, Discard, Cancel };

// What "Save" does with the file a document was only partly read from.
enum class PartlyReadChoice { KeepOriginal, SaveAs, Overwrite };

// Every message the editor shows and the questions it asks.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Notice(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual void Warning(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual void Error(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual SaveChoice AskSaveChanges(QWidget* parent) = 0;
    // Asked before the document is written over the file at path it was only partly read from.
    virtual PartlyReadChoice AskOverwritePartlyRead(QWidget* parent, const QString& path) = 0;
};

// The real dialogs. Qt's file dialog keeps its history in a settings file of Qt's own
// ("QtProject.conf"); making these dialogs turns that store off, so that "Configuration.ini" stays
// the editor's one settings file.
class QtFileDialogs final : public FileDialogs {
public:
    QtFileDialogs();
    FileDialogAnswer OpenFile(QWidget* parent, const QString& title, const QString& defaultPath,
                              const QStringList& filters) override;
    FileDialogAnswer SaveFile(QWidget* parent, const QString& title, const QString& defaultPath,
                              const QStringList& filters) override;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Notice(QWidget* parent, const QString& title, const QString& text) override;
    void Warning(QWidget* parent, const QString& title, const QString& text) override;
    void Error(QWidget* parent, const QString& title, const QString& text) override;
    SaveChoice AskSaveChanges(QWidget* parent) override;
    // "Keep Original" is the default and what closing the box answers.
    PartlyReadChoice AskOverwritePartlyRead(QWidget* parent, const QString& path) override;
};

} // namespace glyfora::app
