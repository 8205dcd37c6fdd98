#pragma once

namespace glyfora::app {

struct Shell;

// "Create Typeface": asks about unsaved changes, imports the font the window's
// options name while a progress dialog with "Cancel" keeps the editor
// responsive, and only when the import completes puts the new typeface in place
// of the document and shows it. A failed import shows its reason; a cancelled
// one leaves the document as it was. True when a new typeface was installed.
bool CreateTypefaceFromWindow(Shell& shell);

// "Add Text File...": asks for a UTF-8 text file and adds its characters to the
// "Characters" list, which then names them all as ranges. A file that cannot be
// read or a list that is not valid is shown and changes nothing. True when the
// list was changed.
bool AddTextFileCharacters(Shell& shell);

// "Font file...": asks for a font file and lists its faces and named instances in the import
// window, which then imports from the file instead of the family. A file that is no font is shown
// and changes nothing. True when the file is used.
bool ChooseFontFile(Shell& shell);

} // namespace glyfora::app
