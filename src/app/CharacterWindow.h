#pragma once

#include "app/Canvas.h"

namespace glyfora::app {

// The selected character, magnified in its layout box.
class CharacterCanvas : public Canvas {
    Q_OBJECT
public:
    explicit CharacterCanvas(QWidget* parent);
};

// "Zeichen": a fixed-size tool window filled by its canvas; the view sizes it.
class CharacterWindow : public QWidget {
    Q_OBJECT
public:
    explicit CharacterWindow(QWidget* mainWindow);

    CharacterCanvas* Canvas = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace glyfora::app
