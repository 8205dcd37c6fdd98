#pragma once

#include "ScratchFolder.h"
#include "app/shell/AppState.h"
#include "app/shell/Dialogs.h"
#include "app/startup/StartUp.h"
#include "app/windows/ScreenFit.h"
#include "document/Image.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QTreeWidget>
#include <QUrl>
#include <QWidget>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace glyfora::app::testing {

// Answers the file dialogs from a queue and remembers how they were asked.
class FakeFileDialogs final : public FileDialogs {
public:
    struct Call {
        bool Save = false;
        QString Title;
        QString DefaultPath;
        QStringList Filters;
    };

    FileDialogAnswer OpenFile(QWidget*, const QString& title, const QString& defaultPath,
                              const QStringList& filters) override {
        return Next({false, title, defaultPath, filters});
    }
    FileDialogAnswer SaveFile(QWidget*, const QString& title, const QString& defaultPath,
                              const QStringList& filters) override {
        return Next({true, title, defaultPath, filters});
    }

    std::deque<FileDialogAnswer> Answers; // an empty queue answers "cancelled"
    std::vector<Call> Calls;

private:
    FileDialogAnswer Next(Call call) {
        Calls.push_back(std::move(call));
        if (Answers.empty()) {
            return {};
        }
        FileDialogAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

// Records every message and answers "Save changes?" and the partly read question from queues.
class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        QString Kind;
        QString Title;
        QString Text;
    };

    void Notice(QWidget*, const QString& title, const QString& text) override {
        Messages.push_back({QStringLiteral("notice"), title, text});
    }
    void Warning(QWidget*, const QString& title, const QString& text) override {
        Messages.push_back({QStringLiteral("warning"), title, text});
    }
    void Error(QWidget*, const QString& title, const QString& text) override {
        Messages.push_back({QStringLiteral("error"), title, text});
    }
    SaveChoice AskSaveChanges(QWidget*) override {
        ++Questions;
        if (Choices.empty()) {
            return SaveChoice::Cancel;
        }
        const SaveChoice choice = Choices.front();
        Choices.pop_front();
        return choice;
    }

    PartlyReadChoice AskOverwritePartlyRead(QWidget*, const QString& path) override {
        PartlyReadQuestions.push_back(path);
        if (PartlyReadChoices.empty()) {
            return PartlyReadChoice::KeepOriginal;
        }
        const PartlyReadChoice choice = PartlyReadChoices.front();
        PartlyReadChoices.pop_front();
        return choice;
    }

    std::vector<Shown> Messages;
    std::deque<SaveChoice> Choices;
    int Questions = 0;
    // An empty queue answers "Keep Original", the default of the real box.
    std::deque<PartlyReadChoice> PartlyReadChoices;
    std::vector<QString> PartlyReadQuestions;
};

// A settings folder ("APPDATA") nobody has used yet, under a temporary folder of the test run.
inline QString FreshAppData() {
    static const testsupport::ScratchFolder root;
    static int counter = 0;
    const QString folder =
        QString::fromStdString(root.File("appdata-" + std::to_string(++counter)));
    QDir().mkpath(folder);
    return folder;
}

// One editor with its own state, fake dialogs and a registration check that reports "rewritten"
// when asked to.
struct Editor {
    explicit Editor(const StartOptions& options = NoCheck(), bool registrationRewrites = false,
                    const QString& appData = FreshAppData())
        : AppData(appData), Services{Files, Messages,
                                     [this, registrationRewrites](const std::string& program) {
                                         CheckedPrograms.push_back(program);
                                         return registrationRewrites;
                                     },
                                     "/opt/glyfora/bin/glyfora"} {
        qputenv("APPDATA", AppData.toLocal8Bit());
        TheShell = StartUp(State, Services, options);
    }

    static StartOptions NoCheck() {
        StartOptions options;
        options.FileTypeCheck = false;
        return options;
    }

    QString AppData;
    AppState State;
    FakeFileDialogs Files;
    FakeMessageBoxes Messages;
    std::vector<std::string> CheckedPrograms;
    ShellServices Services;
    std::unique_ptr<Shell> TheShell;
};

// Puts A, B and V (cells 10 x 12) and the pairs A-V and A-W into the shell's document, with a
// 1000 x 800 picture, and shows it as opening a file does.
inline void ShowSampleDocument(Shell& shell) {
    document::Typeface& typeface = *CurrentTypeface(shell.State);
    for (const std::int64_t code : {'V', 'A', 'B'}) {
        document::Character& character = document::AddCharacter(typeface, code);
        character.Source = {(code - 'A') * 20 + 500, 400, 10, 12};
        character.Outlay = {0, 0, 11, 16};
    }
    document::AddKerningPair(typeface, 'A', 'W', -1);
    document::AddKerningPair(typeface, 'A', 'V', -3);
    document::SetCharacterSetImage(typeface, document::MakeImage(1000, 800));
    ShowDocument(shell);
}

// Where a window asked to stand at place ends up: wholly inside its screen's free area when it
// fits there, as every window is kept.
inline QPoint FittedPlace(const QWidget& window, QPoint place) {
    return KeepInside(QRect(place, window.frameGeometry().size()),
                      window.screen()->availableGeometry());
}

inline void Click(QTreeWidget* list, int row) {
    list->setCurrentItem(list->topLevelItem(row));
}

// Drops the file at path onto target as a drag does: the window must take the file on entering
// before it gets the drop. True when the drop was taken.
inline bool DropFile(QWidget* target, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace glyfora::app::testing
