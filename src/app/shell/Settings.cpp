#include "app/shell/Settings.h"

#include "app/shell/RecentFiles.h"
#include "app/shell/Shell.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "app/windows/ScreenFit.h"

#include <QWidget>
#include <algorithm>
#include <climits>

namespace glyfora::app {
namespace {

// Hand-edited files may hold any 64-bit number; Qt takes int.
int ToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN / 2, INT_MAX / 2));
}

void ResizeInner(QWidget& window, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    // Fixed-size windows keep a fixed size, only a different one.
    if (window.minimumSize() == window.maximumSize()) {
        window.setFixedSize(width, height);
    } else {
        window.resize(width, height);
    }
}

} // namespace

void RestoreWindow(QWidget& window, const WindowPlacement& keys, int parts) {
    if ((parts & WindowPosition) != 0 && (keys.X || keys.Y)) {
        const QPoint stored(keys.X ? ToInt(*keys.X) : window.x(),
                            keys.Y ? ToInt(*keys.Y) : window.y());
        window.move(PlaceOnScreens(QRect(stored, window.frameGeometry().size()), ScreenAreas()));
    }
    if ((parts & WindowSize) != 0 && (keys.Width || keys.Height)) {
        ResizeInner(window, keys.Width ? ToInt(*keys.Width) : window.width(),
                    keys.Height ? ToInt(*keys.Height) : window.height());
    }
    if ((parts & WindowHidden) != 0) {
        window.setVisible(keys.Hide == 0);
    }
    // Stored and default places alike: wholly on this screen, at this scale.
    FitWindowToScreen(window);
}

WindowPlacement StoreWindow(const QWidget& window, int parts) {
    WindowPlacement keys;
    if ((parts & WindowPosition) != 0) {
        // A window moved off every screen is stored where it will be shown again.
        const QPoint shown = PlaceOnScreens(window.frameGeometry(), ScreenAreas());
        keys.X = shown.x();
        keys.Y = shown.y();
    }
    if ((parts & WindowSize) != 0) {
        keys.Width = window.width();
        keys.Height = window.height();
    }
    if ((parts & WindowHidden) != 0) {
        keys.Hide = window.isVisible() ? 0 : 1;
    }
    return keys;
}

void ApplySettings(Shell& shell, const Configuration& settings) {
    constexpr int All = WindowPosition | WindowSize | WindowHidden;
    RestoreWindow(*shell.Main, settings.WindowMain, WindowPosition | WindowHidden);
    RestoreWindow(*shell.Example, settings.WindowExample, All);
    RestoreWindow(*shell.Import, settings.WindowImport, WindowPosition | WindowHidden);
    RestoreWindow(*shell.CharacterSet, settings.WindowCharacterSet, All);
    RestoreWindow(*shell.Character, settings.WindowCharacter, All);
    RestoreWindow(*shell.KerningPair, settings.WindowKerningPair, All);
    views::ViewState& view = shell.State.View;
    view.CharacterSetZoom = views::ClampRange(settings.CharacterSetZoom, views::MaxZoom, 1);
    view.CharacterZoom = views::ClampRange(settings.CharacterZoom, views::MaxZoom, 1);
    shell.State.EditorPath = settings.EditorPath;
    shell.Import->ShowOptions(settings.ImportTTF);
    shell.State.RecentFiles = settings.RecentFiles;
    ShowRecentFiles(shell);
}

Configuration CollectSettings(const Shell& shell) {
    constexpr int All = WindowPosition | WindowSize | WindowHidden;
    Configuration settings;
    settings.WindowMain = StoreWindow(*shell.Main, WindowPosition);
    settings.WindowExample = StoreWindow(*shell.Example, All);
    settings.WindowImport = StoreWindow(*shell.Import, WindowPosition | WindowHidden);
    settings.WindowCharacterSet = StoreWindow(*shell.CharacterSet, All);
    settings.WindowCharacter = StoreWindow(*shell.Character, All);
    settings.WindowKerningPair = StoreWindow(*shell.KerningPair, All);
    settings.CharacterSetZoom = shell.State.View.CharacterSetZoom;
    settings.EditorPath = shell.State.EditorPath;
    settings.CharacterZoom = shell.State.View.CharacterZoom;
    settings.ImportTTF = shell.Import->ReadOptions();
    settings.RecentFiles = shell.State.RecentFiles;
    return settings;
}

void LoadConfiguration(Shell& shell) {
    ApplySettings(shell, LoadConfigurationFile(shell.State.SettingsFolder));
}

void SaveConfiguration(Shell& shell) {
    shell.Character->hide();
    shell.KerningPair->hide();
    const base::Result<base::Done> saved =
        SaveConfigurationFile(shell.State.SettingsFolder, CollectSettings(shell));
    if (!saved) {
        // Nothing is shown at exit; the next start simply uses the defaults.
        qWarning("Configuration.ini not saved: %s", saved.Error.c_str());
    }
}

} // namespace glyfora::app
