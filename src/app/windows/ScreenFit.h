#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

namespace glyfora::app {

// Positions are Qt's device-independent pixels throughout: on a desktop scaled to 2x a window at
// x 100 sits 200 device pixels from the screen's left edge, and a stored position means the same
// place at every scale.

// Top-left corner for a window of this frame so that it lies on a screen: unchanged when it
// already overlaps one, otherwise pulled onto the nearest screen.
[[nodiscard]] QPoint PlaceOnScreens(QRect frame, const QList<QRect>& screens);

// Top-left corner that puts as much of the frame inside area as it can: moved in from the right
// and bottom edges first, so a frame larger than the area keeps its title bar on it.
[[nodiscard]] QPoint KeepInside(QRect frame, QRect area);

// The free areas of every screen (without panels and docks).
[[nodiscard]] QList<QRect> ScreenAreas();

// Makes a window fit the free area of its screen: a window that may change size is made no larger
// than that area, and every window is then moved wholly into it where it fits.
void FitWindowToScreen(QWidget& window);

// Puts the window's children into a scroll area that fills it, and lets the window shrink below
// the size they were laid out for (down to a quarter of it), but not grow beyond it (beyond the
// scroll bar while it scrolls): a fixed layout stays reachable on a screen that is too small for
// it. The window keeps its size.
void MakeScrollable(QWidget& window);

} // namespace glyfora::app
