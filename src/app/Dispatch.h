#pragma once

#include <span>
#include <string_view>

namespace glyfora::app {

struct Shell;

enum class WindowName { Main, CharacterSet, Character, KerningPair, Example, Import };

// What happened to a control or window.
enum class Trigger {
    Command,  // menu item or menu-bar command chosen
    Edited,   // text field changed
    Clicked,  // button pressed
    Changed,  // spin field value changed
    Selected, // list selection changed
    Wheel,    // wheel turned over a canvas
    Resized,  // window resized
    Closed,   // window close box pressed
};

struct DispatchEvent {
    int Notches = 0; // wheel turns; positive = away from the user
};

using Handler = void (*)(Shell&, const DispatchEvent&);

// One row of the dispatch table: the object (by object name, empty = the window itself) in a
// window, what happened to it, and who handles it.
struct DispatchEntry {
    WindowName Window;
    std::u16string_view ObjectName;
    app::Trigger Trigger;
    app::Handler Handler;
};

// Every menu command, control and window event of the editor with its handler.
[[nodiscard]] std::span<const DispatchEntry> DispatchTable();

} // namespace glyfora::app
