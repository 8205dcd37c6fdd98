#pragma once

#include "app/shell/ShellViews.h"
#include "app/windows/EditingFrames.h"

#include <memory>

namespace glyfora::app {

struct DispatchEvent;
struct Shell;

// The editing context over the main window's two frames and the shell's views; the shell keeps it
// once its windows exist.
[[nodiscard]] std::unique_ptr<EditingContext> MakeEditingContext(Shell& shell);

// The character, kerning-pair and character-set views as the shell's windows show them: each
// takes its record from the selected row, then shows and sizes its window or hides it.
void DrawCharacterView(Shell& shell);
void DrawKerningPairView(Shell& shell);

// Both lists refilled from the document with nothing selected, the buttons reading "New" and the
// views blank; the windows stay shown or hidden as they are.
void RefillEditingLists(Shell& shell);

// The dispatch table's handlers of the two editing frames and of "Add Char".
void OnCharacterListSelected(Shell& shell, const DispatchEvent& event);
void OnCharacterNewClicked(Shell& shell, const DispatchEvent& event);
void OnCharacterDeleteClicked(Shell& shell, const DispatchEvent& event);
void OnCharacterCodeFieldChanged(Shell& shell, const DispatchEvent& event);
void OnCharacterGlyphFieldChanged(Shell& shell, const DispatchEvent& event);
void OnSourceXFieldChanged(Shell& shell, const DispatchEvent& event);
void OnSourceYFieldChanged(Shell& shell, const DispatchEvent& event);
void OnSourceWidthFieldChanged(Shell& shell, const DispatchEvent& event);
void OnSourceHeightFieldChanged(Shell& shell, const DispatchEvent& event);
void OnOutlayXFieldChanged(Shell& shell, const DispatchEvent& event);
void OnOutlayYFieldChanged(Shell& shell, const DispatchEvent& event);
void OnOutlayWidthFieldChanged(Shell& shell, const DispatchEvent& event);
void OnOutlayHeightFieldChanged(Shell& shell, const DispatchEvent& event);
void OnKerningPairListSelected(Shell& shell, const DispatchEvent& event);
void OnKerningPairNewClicked(Shell& shell, const DispatchEvent& event);
void OnKerningPairDeleteClicked(Shell& shell, const DispatchEvent& event);
void OnLeftCodeFieldChanged(Shell& shell, const DispatchEvent& event);
void OnLeftGlyphFieldChanged(Shell& shell, const DispatchEvent& event);
void OnRightCodeFieldChanged(Shell& shell, const DispatchEvent& event);
void OnRightGlyphFieldChanged(Shell& shell, const DispatchEvent& event);
void OnAmountFieldChanged(Shell& shell, const DispatchEvent& event);
void OnAddCharCommand(Shell& shell, const DispatchEvent& event);

} // namespace glyfora::app
