#pragma once

namespace glyfora::app {

struct Shell;

// How the text fields of the windows meet the edit history. A document field's step closes when
// the field commits its value: Return or leaving a number field, leaving the comment. The undo and
// redo keys reach the history from every field, except that a field whose text is being edited
// (its step still open) undoes its own typing; fields outside the document (the example text)
// keep their own text undo while they have one.
void ConnectFieldHistory(Shell& shell);

} // namespace glyfora::app
