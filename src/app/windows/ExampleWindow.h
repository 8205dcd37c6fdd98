#pragma once

#include "document/Typeface.h"

#include <QWidget>
#include <cstdint>

class QLineEdit;

namespace glyfora::app {

class ExampleScreen;

// "Beispiel": the example text field over the example screen; sizable. The screen draws the field's
// text with the typeface under typefaceId, kerning on when it has pairs, whenever a frame is
// requested (RequestFrame): no frames while nothing changes.
class ExampleWindow : public QWidget {
    Q_OBJECT
public:
    ExampleWindow(document::TypefaceRegistry& registry, std::int64_t typefaceId,
                  QWidget* mainWindow);

    // Text field across the top, 20 pixels high; the screen below it.
    void LayOut();

    QLineEdit* ExampleTextField = nullptr;
    app::ExampleScreen* ExampleScreen = nullptr; // a child widget of this window

signals:
    // At the end of every frame's drawing, before the frame is shown.
    void frameDrawn();
};

} // namespace glyfora::app
