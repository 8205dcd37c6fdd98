#include "app/shell/RecentFiles.h"

#include "app/shell/Configuration.h"
#include "app/shell/Shell.h"
#include "app/windows/MainWindow.h"

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <filesystem>

namespace glyfora::app {

void ShowRecentFiles(Shell& shell) {
    QMenu* menu = shell.Main->FileOpenRecent;
    menu->clear();
    const std::vector<std::string>& files = shell.State.RecentFiles;
    for (std::size_t i = 0; i < files.size(); ++i) {
        QAction* entry = menu->addAction(QString::fromStdString(files[i]));
        QObject::connect(entry, &QAction::triggered, shell.Main.get(),
                         [&shell, i] { OpenRecentFile(shell, i); });
    }
    menu->setEnabled(!files.empty());
}

void RememberRecentFile(Shell& shell, const std::string& file) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    const std::string path = error ? file : absolute.lexically_normal().string();
    std::vector<std::string>& files = shell.State.RecentFiles;
    std::erase(files, path);
    files.insert(files.begin(), path);
    if (files.size() > MaxRecentFiles) {
        files.resize(MaxRecentFiles);
    }
    ShowRecentFiles(shell);
}

void OpenRecentFile(Shell& shell, std::size_t index) {
    std::vector<std::string>& files = shell.State.RecentFiles;
    if (index >= files.size()) {
        return;
    }
    const std::string path = files[index];
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        std::erase(files, path);
        ShowRecentFiles(shell);
        shell.Services.Messages.Warning(
            shell.Main.get(), QStringLiteral("Open Recent"),
            QStringLiteral("\"%1\" no longer exists and was removed from the list.")
                .arg(QString::fromStdString(path)));
        return;
    }
    if (ConfirmDiscard(shell)) {
        (void)OpenTypefaceFile(shell, path);
    }
}

} // namespace glyfora::app
