#pragma once

#include <QString>

class QDialog;
class QFormLayout;
class QPushButton;
class QSpinBox;

namespace glyfora::app {

// The pieces of the editor's small question dialogs laid out as forms ("Add Image", "Pack
// compactly").

// A numeric field of the range, starting at value (clamped to the range).
[[nodiscard]] QSpinBox* MakeFormField(const QString& name, int low, int high, int value);

// The last row: "OK" (the default button, accepting) and "Cancel" (rejecting).
void AddOkCancelRow(QDialog& dialog, QFormLayout& form, QPushButton* ok);

} // namespace glyfora::app
