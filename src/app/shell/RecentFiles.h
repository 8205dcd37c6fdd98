#pragma once

#include <string>

namespace glyfora::app {

struct Shell;

// "Open Recent" of the "File" menu: the files last opened or saved, newest first, as many as the
// configuration keeps. The entries are rebuilt from AppState::RecentFiles.
void ShowRecentFiles(Shell& shell);

// Puts path first in the list (once) and shows the list.
void RememberRecentFile(Shell& shell, const std::string& path);

// Opens the recent file at position index after the unsaved-changes question. A file that is gone
// is dropped from the list and the user is told.
void OpenRecentFile(Shell& shell, std::size_t index);

} // namespace glyfora::app
