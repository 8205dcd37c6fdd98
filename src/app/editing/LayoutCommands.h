#pragma once

#include "app/windows/DispatchEvent.h"

#include <QString>

class QWidget;

namespace glyfora::app {

struct Shell;

// The whole-layout commands of the "Edit" menu. Each works on the current typeface, shows a
// refusal or an unreadable answer in a message box, and ends by refilling the lists and redrawing
// the views.
void OnCopyUpperToLower(Shell& shell, const DispatchEvent& event);
void OnCopyUmlauts(Shell& shell, const DispatchEvent& event);
void OnScaleLayout(Shell& shell, const DispatchEvent& event);
void OnSpacingLayout(Shell& shell, const DispatchEvent& event);
// "Pack compactly": the default gutter of 1 pixel and a near-square picture, the smallest the
// packer finds; scripts choose other rules with glyfora-cli layout --compact.
void OnPackCompactly(Shell& shell, const DispatchEvent& event);

// The modal number prompt: no title, the prompt text, an edit field holding defaultText selected,
// and one button "OK" (also Enter). Closing it or Escape gives an empty answer.
[[nodiscard]] QString AskNumber(QWidget* parent, const QString& prompt, const QString& defaultText);

} // namespace glyfora::app
