#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace glyfora::app {

struct Shell;

// Which parts of a window RestoreWindow and StoreWindow handle; combine with |.
enum WindowPart : int { WindowPosition = 1, WindowSize = 2, WindowHidden = 4 };

// One window's stored keys; a missing key leaves that part as it is.
struct WindowKeys {
    std::optional<std::int64_t> X, Y;          // outer top-left corner
    std::optional<std::int64_t> Width, Height; // inner size, menu bar included
    std::optional<std::int64_t> Hide;          // non-zero: hidden
};

// What the shell keeps in "Configuration.ini" (the import options belong to the import window).
struct ShellSettings {
    WindowKeys Main, Example, Import, CharacterSet, Character, KerningPair;
    std::int64_t CharacterSetZoom = 1;
    std::string EditorPath;
    std::int64_t CharacterZoom = 8;
};

// Moves, sizes, shows or hides a window as the keys say, for the parts asked for. A position that
// would leave the window off every screen is moved onto the nearest one.
void RestoreWindow(QWidget& window, const WindowKeys& keys, int parts);

// The keys of a window for the parts asked for.
[[nodiscard]] WindowKeys StoreWindow(const QWidget& window, int parts);

// Top-left corner for a window of this frame so that it lies on a screen: unchanged when it
// already overlaps one, otherwise pulled onto the nearest screen.
[[nodiscard]] QPoint PlaceOnScreens(QRect frame, const QList<QRect>& screens);

// Applies settings to the windows and the view state, and reads them back.
void ApplySettings(Shell& shell, const ShellSettings& settings);
[[nodiscard]] ShellSettings CollectSettings(const Shell& shell);

// Reads "Configuration.ini" from the settings folder and applies it; missing keys keep defaults.
void LoadConfiguration(Shell& shell);

// Hides the Character and Kerning-pair windows (so they start hidden next time), then writes
// "Configuration.ini", creating the settings folder first.
void SaveConfiguration(Shell& shell);

// The settings file's reading and writing, and the platform services around it.
[[nodiscard]] ShellSettings ReadSettingsFile(const std::string& settingsFolder);
bool WriteSettingsFile(const std::string& settingsFolder, const ShellSettings& settings);
[[nodiscard]] std::string DefaultSettingsFolder();
[[nodiscard]] bool CheckFileTypeRegistrationOfProgram(const std::string& programPath);

} // namespace glyfora::app
