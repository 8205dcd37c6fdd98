#pragma once

#include "document/Image.h"
#include "views/ViewCanvas.h"

#include <QColor>
#include <QWidget>

namespace glyfora::app {

// views::ViewBackground as a Qt colour, for what Qt paints around or behind a view.
[[nodiscard]] QColor ViewBackgroundColour();

// A view surface: paints the view background, then the view's picture at its top-left corner, and
// reports wheel turns in notches (positive = away from the user).
class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    // The view's picture as the views draw it (RGBA, 0xAABBGGRR); shown without a copy. The views
    // reuse its buffer between redraws; call update() after changing it.
    document::Image Picture;

    // Call after a view changed Picture: schedules the repaint and reports the new picture.
    void ShowPicture();

signals:
    void wheeled(int notches);
    // A view put a new picture in, or blanked it.
    void pictureShown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int wheelRemainder_ = 0; // eighths of a degree not yet worth a notch (touchpads)
};

// Puts a character or kerning-pair view's picture on screen: a visible view sizes the canvas and
// the window's inner area to the picture (at least 1 x 1) and shows the window without activating
// it; a hidden one hides the window and leaves the canvas blank.
void ShowViewPicture(QWidget& window, CanvasWidget& canvas, views::ViewPicture&& picture);

// The picture wrapped as a QImage over the same pixels; valid while the picture is unchanged.
[[nodiscard]] QImage WrapPicture(const document::Image& picture);

} // namespace glyfora::app
