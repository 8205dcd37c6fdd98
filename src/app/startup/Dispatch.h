#pragma once

#include "app/windows/DispatchEvent.h"

#include <span>

class QObject;

namespace glyfora::app {

struct Shell;

// What happened to a control or window.
enum class Trigger {
    Command,  // menu item or menu-bar command chosen
    Edited,   // text field changed
    Clicked,  // button pressed
    Changed,  // spin field value changed, or the import window's effects
    Selected, // list selection changed
    Wheel,    // wheel turned over a canvas
    Resized,  // window resized
    Closed,   // window close box pressed
    Mouse,    // button pressed or released, or pointer moved, over a canvas
};

using Handler = void (*)(Shell&, const DispatchEvent&);

// Reaches a control (or, for Resized and Closed, a window) through the shell's members.
using ControlOf = QObject* (*)(Shell&);

// One row of the dispatch table: the control or window, what happened to it, and who handles it.
struct DispatchEntry {
    ControlOf Control;
    app::Trigger Trigger;
    app::Handler Handler;
};

// Every menu command, control and window event of the editor with its handler.
[[nodiscard]] std::span<const DispatchEntry> DispatchTable();

// Connects every menu command, control and window event to its handler.
void ConnectDispatch(Shell& shell);

} // namespace glyfora::app
