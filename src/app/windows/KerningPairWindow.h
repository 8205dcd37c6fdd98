#pragma once

#include "app/surfaces/CanvasWidget.h"

namespace glyfora::app {

// The selected kerning pair side by side, magnified.
class KerningPairCanvas : public CanvasWidget {
    Q_OBJECT
public:
    explicit KerningPairCanvas(QWidget* parent);
};

// "Unterschneidungspaar": a fixed-size tool window filled by its canvas; the view sizes it.
class KerningPairWindow : public QWidget {
    Q_OBJECT
public:
    explicit KerningPairWindow(QWidget* mainWindow);

    KerningPairCanvas* Canvas = nullptr;

    // Shows the view's picture at its size, or hides the window when the view has nothing to show.
    void ShowView(views::ViewPicture&& picture);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace glyfora::app
