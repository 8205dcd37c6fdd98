#pragma once

#include <Qt>

namespace glyfora::app {

// Tool windows float above the main window and carry a title bar; only some have a close box.
inline constexpr Qt::WindowFlags ToolWindowFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
inline constexpr Qt::WindowFlags ClosableToolWindowFlags =
    ToolWindowFlags | Qt::WindowCloseButtonHint;

} // namespace glyfora::app
