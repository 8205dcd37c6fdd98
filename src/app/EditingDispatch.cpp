#include "app/EditingDispatch.h"

#include "app/CharacterEditor.h"
#include "app/CharacterSetWindow.h"
#include "app/CharacterWindow.h"
#include "app/KerningPairEditor.h"
#include "app/KerningPairWindow.h"
#include "app/MainWindow.h"
#include "app/Shell.h"
#include "views/CharacterView.h"
#include "views/KerningPairView.h"

#include <QTreeWidget>

#include <algorithm>

namespace glyfora::app {
namespace {

using document::CharacterMetric;

const QString HolderName = QStringLiteral("EditingContext");

// Keeps the context alive as long as the main window, where the shell's handlers can find it.
class EditingHolder final : public QObject {
public:
    EditingHolder(Shell& shell, QObject* parent)
        : QObject(parent),
          Context{[&shell] { return document::TypefaceFromId(shell.State.Registry, TypefaceId); },
                  shell.State.View,
                  shell.State.LastDialogCode,
                  {},
                  {},
                  [&shell] { DrawCharacterView(shell); },
                  [&shell] { DrawKerningPairView(shell); },
                  [&shell] { DrawCharacterSetView(shell); },
                  [&shell] { return shell.CharacterSet->Canvas->size(); },
                  {}} {
        setObjectName(HolderName);
        const MainWindow& main = *shell.Main;
        Context.Characters = {main.CharacterList,
                              main.CharacterDeleteButton,
                              main.CharacterNewButton,
                              {main.CharacterCode.Code, main.CharacterCode.Glyph},
                              {main.SourceX, main.SourceY, main.SourceWidth, main.SourceHeight,
                               main.OutlayX, main.OutlayY, main.OutlayWidth, main.OutlayHeight}};
        Context.Pairs = {main.KerningPairList,
                         main.KerningPairDeleteButton,
                         main.KerningPairNewButton,
                         {main.LeftCode.Code, main.LeftCode.Glyph},
                         {main.RightCode.Code, main.RightCode.Glyph},
                         main.AmountField};
    }

    EditingContext Context;
};

// Shows the window at the view's size without taking the focus, or hides it.
void ShowView(QWidget& window, QWidget& canvas, const views::ViewPicture& picture) {
    if (picture.Visible) {
        window.setAttribute(Qt::WA_ShowWithoutActivating);
        window.setFixedSize(static_cast<int>(std::max<std::int64_t>(picture.Width, 1)),
                            static_cast<int>(std::max<std::int64_t>(picture.Height, 1)));
        window.show();
    } else {
        window.hide();
    }
    canvas.update();
}

template <CharacterMetric Metric>
void OnMetricFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnCharacterMetricChanged(EditingOf(shell), Metric);
}

} // namespace

EditingContext& EditingOf(Shell& shell) {
    auto* holder = static_cast<EditingHolder*>(
        shell.Main->findChild<QObject*>(HolderName, Qt::FindDirectChildrenOnly));
    if (holder == nullptr) {
        holder = new EditingHolder(shell, shell.Main.get());
    }
    return holder->Context;
}

void DrawCharacterView(Shell& shell) {
    shell.State.View.CurrentCharacter = SelectedCharacter(EditingOf(shell));
    const views::ViewPicture picture =
        views::DrawCharacterView(document::TypefaceFromId(shell.State.Registry, TypefaceId),
                                 shell.State.View);
    ShowView(*shell.Character, *shell.Character->Canvas, picture);
}

void DrawKerningPairView(Shell& shell) {
    shell.State.View.CurrentPair = SelectedKerningPair(EditingOf(shell));
    const views::ViewPicture picture =
        views::DrawKerningPairView(document::TypefaceFromId(shell.State.Registry, TypefaceId),
                                   shell.State.View);
    ShowView(*shell.KerningPair, *shell.KerningPair->Canvas, picture);
}

void DrawCharacterSetView(Shell& shell) {
    shell.CharacterSet->Canvas->update();
}

void RefillEditingLists(Shell& shell) {
    EditingContext& context = EditingOf(shell);
    RefillCharacterList(context, nullptr);
    RefillKerningPairList(context, nullptr);
    ShowCopyCaption(context.Characters.CopyButton, false);
    ShowCopyCaption(context.Pairs.CopyButton, false);
    // Which windows show stays as it is (the settings decide at start); the views go blank.
    shell.Character->Canvas->update();
    shell.KerningPair->Canvas->update();
}

void OnCharacterListSelected(Shell& shell, const DispatchEvent& /*event*/) {
    OnCharacterSelectionChanged(EditingOf(shell));
}

void OnCharacterNewClicked(Shell& shell, const DispatchEvent& /*event*/) {
    OnCopyCharacter(EditingOf(shell));
}

void OnCharacterDeleteClicked(Shell& shell, const DispatchEvent& /*event*/) {
    OnDeleteCharacter(EditingOf(shell));
}

void OnCharacterCodeFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnCharacterCodeChanged(EditingOf(shell));
}

void OnCharacterGlyphFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnCharacterGlyphChanged(EditingOf(shell));
}

void OnSourceXFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::SourceX>(shell, event);
}

void OnSourceYFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::SourceY>(shell, event);
}

void OnSourceWidthFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::SourceWidth>(shell, event);
}

void OnSourceHeightFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::SourceHeight>(shell, event);
}

void OnOutlayXFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::OutlayX>(shell, event);
}

void OnOutlayYFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::OutlayY>(shell, event);
}

void OnOutlayWidthFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::OutlayWidth>(shell, event);
}

void OnOutlayHeightFieldChanged(Shell& shell, const DispatchEvent& event) {
    OnMetricFieldChanged<CharacterMetric::OutlayHeight>(shell, event);
}

void OnKerningPairListSelected(Shell& shell, const DispatchEvent& /*event*/) {
    OnKerningPairSelectionChanged(EditingOf(shell));
}

void OnKerningPairNewClicked(Shell& shell, const DispatchEvent& /*event*/) {
    OnCopyKerningPair(EditingOf(shell));
}

void OnKerningPairDeleteClicked(Shell& shell, const DispatchEvent& /*event*/) {
    OnDeleteKerningPair(EditingOf(shell));
}

void OnLeftCodeFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnPairLeftChanged(EditingOf(shell));
}

void OnLeftGlyphFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnPairLeftGlyphChanged(EditingOf(shell));
}

void OnRightCodeFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnPairRightChanged(EditingOf(shell));
}

void OnRightGlyphFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnPairRightGlyphChanged(EditingOf(shell));
}

void OnAmountFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    OnPairAmountChanged(EditingOf(shell));
}

void OnAddCharCommand(Shell& shell, const DispatchEvent& /*event*/) {
    OnAddCharacter(EditingOf(shell));
}

} // namespace glyfora::app
