#pragma once

#include "app/windows/DispatchEvent.h"

namespace glyfora::app {

struct Shell;

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
