#pragma once

namespace glyfora::app {

struct Shell;

// Files dropped on the windows: a typeface file (".tf", ".fnt", ".xml") on any window opens it
// after the unsaved-changes question; a PNG or BMP on the character-set window replaces the picture
// as its "Import" does, as one step.
void AcceptFileDrops(Shell& shell);

} // namespace glyfora::app
