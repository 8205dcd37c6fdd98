#pragma once

#include <cstdint>

namespace glyfora::app {

enum class MouseAction { Press, Move, Release };
enum class MouseButton { None, Left, Right, Middle };

// What a control or window reports to its handler: the wheel turns or the mouse action over a
// canvas. Most events carry nothing beyond having happened.
struct DispatchEvent {
    int Notches = 0; // wheel turns; positive = away from the user
    app::MouseAction Action = MouseAction::Move;
    app::MouseButton Button = MouseButton::None; // the button pressed or released
    std::int64_t X = 0; // pointer in canvas pixels; outside the canvas while a button is held
    std::int64_t Y = 0;
};

} // namespace glyfora::app
