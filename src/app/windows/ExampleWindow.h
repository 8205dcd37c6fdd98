#pragma once

#include "document/Typeface.h"
#include "views/ViewState.h"

#include <QWidget>
#include <cstdint>

class QAction;
class QLineEdit;
class QMenu;

namespace glyfora::app {

class ExampleScreen;

// "Beispiel": the example text field over the example screen; sizable. The screen draws the field's
// text with the typeface under typefaceId, kerning on when it has pairs, at the view's
// ExampleScale over its ExampleBackground, whenever a frame is requested (RequestFrame): no
// frames while nothing changes. The screen's context menu "Ansicht" offers the scales and the
// background colour; the controls keep their places.
class ExampleWindow : public QWidget {
    Q_OBJECT
public:
    ExampleWindow(document::TypefaceRegistry& registry, const views::ViewState& view,
                  std::int64_t typefaceId, QWidget* mainWindow);

    // Text field across the top, 20 pixels high; the screen below it.
    void LayOut();

    // Checks the scale entry of the "Ansicht" menu that matches scale (none for another value).
    void ShowScale(float scale);

    QLineEdit* ExampleTextField = nullptr;
    app::ExampleScreen* ExampleScreen = nullptr; // a child widget of this window
    QMenu* ViewMenu = nullptr;                   // "Ansicht"
    QAction* ViewScale1 = nullptr;               // "1×" … "8×", one checked
    QAction* ViewScale2 = nullptr;
    QAction* ViewScale4 = nullptr;
    QAction* ViewScale8 = nullptr;
    QAction* ViewBackgroundColour = nullptr; // "Hintergrundfarbe…"

signals:
    // At the end of every frame's drawing, before the frame is shown.
    void frameDrawn();
};

} // namespace glyfora::app
