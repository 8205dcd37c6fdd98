#pragma once

#include "views/QuadSurface.h"

#include <QImage>
#include <cstdint>
#include <functional>

class QWidget;

namespace glyfora::app {

// The example text is drawn into a back buffer of this size, one unit per (logical) pixel, at the
// screen's top-left corner; the rest of a larger screen shows the background.
constexpr int ExampleBackBufferWidth = 1600;
constexpr int ExampleBackBufferHeight = 900;

// What a frame shows after the screen has been cleared and set to ordinary alpha blending.
using ExampleFrameDrawer = std::function<void(views::QuadSurface&)>;

// One frame: clear to views::ViewBackground, blending source alpha / one minus source alpha, then
// drawFrame (when set).
void DrawExampleFrame(views::QuadSurface& surface, const ExampleFrameDrawer& drawFrame);

// The example window's drawing surface, a widget of either kind behind one face. It draws only
// when asked: RequestFrame schedules one paint, and requests before it is painted coalesce (at
// most one frame per display refresh). Nothing runs while no frame is requested.
class ExampleScreen {
public:
    virtual ~ExampleScreen() = default;

    // The widget itself, owned by the parent given to CreateExampleScreen.
    [[nodiscard]] virtual QWidget* Widget() = 0;
    virtual void RequestFrame() = 0;
    [[nodiscard]] virtual bool UsesOpenGl() const = 0;
    // Draws a frame now and returns it as the screen shows it (device pixels).
    [[nodiscard]] virtual QImage GrabFrame() = 0;
    // Frames drawn so far.
    [[nodiscard]] virtual std::int64_t FramesDrawn() const = 0;
};

struct ExampleScreenOptions {
    // Draw in software even where OpenGL would be used.
    bool ForceSoftware = false;
    // Above 0: the largest texture side the OpenGL surface uses, for testing tiled sprites.
    int TileSizeLimit = 0;
};

// True on platforms whose OpenGL widgets work (a window system: xcb, wayland) when an OpenGL
// context can be made there.
[[nodiscard]] bool OpenGlScreenAvailable();

// The example screen as a child of parent, named "ExampleScreen": OpenGL where
// OpenGlScreenAvailable, otherwise a plain widget painting the software surface's picture, so
// the editor runs on every platform Qt offers.
[[nodiscard]] ExampleScreen* CreateExampleScreen(QWidget* parent, ExampleFrameDrawer drawFrame,
                                                 const ExampleScreenOptions& options = {});

} // namespace glyfora::app
