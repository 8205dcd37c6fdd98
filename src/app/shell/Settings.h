#pragma once

#include "app/shell/Configuration.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <string>

class QWidget;

namespace glyfora::app {

struct Shell;

// Which parts of a window RestoreWindow and StoreWindow handle; combine with |.
enum WindowPart : int { WindowPosition = 1, WindowSize = 2, WindowHidden = 4 };

// Moves, sizes, shows or hides a window as the keys say, for the parts asked for. A position that
// would leave the window off every screen is moved onto the nearest one, and the window is then
// fitted into its screen's free area (FitWindowToScreen). X and Y are device-independent pixels.
void RestoreWindow(QWidget& window, const WindowPlacement& keys, int parts);

// The keys of a window for the parts asked for.
[[nodiscard]] WindowPlacement StoreWindow(const QWidget& window, int parts);

// Applies settings to the windows and the view state, and reads them back. The import options
// go to the import window and come back from it.
void ApplySettings(Shell& shell, const Configuration& settings);
[[nodiscard]] Configuration CollectSettings(const Shell& shell);

// Reads "Configuration.ini" from the settings folder and applies it; missing keys keep defaults.
void LoadConfiguration(Shell& shell);

// Hides the Character and Kerning-pair windows (so they start hidden next time), then writes
// "Configuration.ini", creating the settings folder first.
void SaveConfiguration(Shell& shell);

// The settings folder of this user ("Zorbatek/Glyfora/" under APPDATA or the XDG config folder).
[[nodiscard]] std::string DefaultSettingsFolder();

// Checks the desktop's ".tf" registration against the program at this path and writes it again
// when it differs; true when it did. An installed program (RunsFromInstallation) never writes it.
[[nodiscard]] bool CheckFileTypeRegistrationOfProgram(const std::string& programPath);

} // namespace glyfora::app
