#pragma once

#include "app/Canvas.h"

#include <QMainWindow>

class QAction;

namespace glyfora::app {

// The magnified character-set picture; takes the keyboard focus and shows a crosshair.
class CharacterSetCanvas : public Canvas {
    Q_OBJECT
public:
    explicit CharacterSetCanvas(QWidget* parent);
};

// "Zeichensatz": four commands right in the menu bar over the character-set canvas.
class CharacterSetWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CharacterSetWindow(QWidget* mainWindow);

    CharacterSetCanvas* Canvas = nullptr;
};

} // namespace glyfora::app
