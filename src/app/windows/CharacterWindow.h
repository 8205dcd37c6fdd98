#pragma once

#include "app/surfaces/CanvasWidget.h"

namespace glyfora::app {

// The selected character, magnified in its layout box.
class CharacterCanvas : public CanvasWidget {
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

    // Shows the view's picture at its size, or hides the window when the view has nothing to show.
    void ShowView(views::ViewPicture&& picture);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace glyfora::app
