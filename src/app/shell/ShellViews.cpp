#include "app/shell/ShellViews.h"

#include "app/shell/EditingLists.h"
#include "app/shell/Shell.h"
#include "app/surfaces/ExampleScreen.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "views/CharacterSetView.h"
#include "views/CharacterView.h"
#include "views/KerningPairView.h"

namespace glyfora::app {

void DrawCharacterSetView(Shell& shell, bool showScrollMarks) {
    CharacterSetCanvas& canvas = *shell.CharacterSet->Canvas;
    // The canvas fills the window below its menu bar, so it already has the window's new size.
    views::DrawCharacterSetView(canvas.Picture, canvas.width(), canvas.height(),
                                CurrentTypeface(shell.State), shell.State.View, showScrollMarks);
    canvas.ShowPicture();
}

void DrawCharacterView(Shell& shell) {
    shell.State.View.CurrentCharacter = SelectedCharacter(*shell.Editing);
    views::ViewPicture picture =
        views::DrawCharacterView(CurrentTypeface(shell.State), shell.State.View);
    shell.Character->ShowView(std::move(picture));
}

void DrawKerningPairView(Shell& shell) {
    shell.State.View.CurrentPair = SelectedKerningPair(*shell.Editing);
    views::ViewPicture picture =
        views::DrawKerningPairView(CurrentTypeface(shell.State), shell.State.View);
    shell.KerningPair->ShowView(std::move(picture));
}

void BlankCharacterViews(Shell& shell) {
    for (CanvasWidget* canvas : {static_cast<CanvasWidget*>(shell.Character->Canvas),
                                 static_cast<CanvasWidget*>(shell.KerningPair->Canvas)}) {
        canvas->Picture = {};
        canvas->ShowPicture();
    }
}

void ApplyViewUpdate(Shell& shell, const views::ViewUpdate& update) {
    if (update.CharacterView) {
        DrawCharacterView(shell);
    }
    if (update.KerningPairView) {
        DrawKerningPairView(shell);
    }
    if (update.CharacterSet) {
        DrawCharacterSetView(shell, update.ScrollMarks);
    }
    if (update.Pointer) {
        shell.CharacterSet->Canvas->setCursor(
            *update.Pointer == views::Pointer::Move ? Qt::SizeAllCursor : Qt::CrossCursor);
    }
}

void RequestExampleFrame(Shell& shell) {
    shell.Example->ExampleScreen->RequestFrame();
}

} // namespace glyfora::app
