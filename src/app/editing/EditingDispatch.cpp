#include "app/editing/EditingDispatch.h"

#include "app/editing/CharacterEditor.h"
#include "app/editing/KerningPairEditor.h"
#include "app/shell/History.h"
#include "app/shell/Shell.h"

#include <QSpinBox>
#include <functional>

namespace glyfora::app {
namespace {

using document::CharacterMetric;

// A field of the "Characters" frame changed. Only an edit of a selected record is a step; without
// one the field just shows a code.
void EditCharacterField(Shell& shell, const QObject* field, const QString& name,
                        const std::function<void()>& change) {
    if (SelectedCharacter(*shell.Editing) == nullptr) {
        change();
        return;
    }
    RecordFieldEdit(shell, field, name, change);
}

void EditPairField(Shell& shell, const QObject* field, const QString& name,
                   const std::function<void()>& change) {
    if (SelectedKerningPair(*shell.Editing) == nullptr) {
        change();
        return;
    }
    RecordFieldEdit(shell, field, name, change);
}

QString MetricStepName(CharacterMetric metric) {
    switch (metric) {
    case CharacterMetric::SourceX:
    case CharacterMetric::SourceY:
        return QStringLiteral("Edit Position");
    case CharacterMetric::SourceWidth:
    case CharacterMetric::SourceHeight:
        return QStringLiteral("Edit Size");
    case CharacterMetric::OutlayX:
    case CharacterMetric::OutlayY:
        return QStringLiteral("Edit Offset");
    case CharacterMetric::OutlayWidth:
    case CharacterMetric::OutlayHeight:
        break;
    }
    return QStringLiteral("Edit Outlay");
}

template <CharacterMetric Metric>
void OnMetricFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditCharacterField(shell, shell.Editing->Characters.Metrics[static_cast<std::size_t>(Metric)],
                       MetricStepName(Metric),
                       [&shell] { OnCharacterMetricChanged(*shell.Editing, Metric); });
}

} // namespace

void OnCharacterListSelected(Shell& shell, const DispatchEvent& /*event*/) {
    OnCharacterSelectionChanged(*shell.Editing);
}

void OnCharacterNewClicked(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Copy Character"),
               [&shell] { OnCopyCharacter(*shell.Editing); });
}

void OnCharacterDeleteClicked(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Delete Character"),
               [&shell] { OnDeleteCharacter(*shell.Editing); });
}

void OnCharacterCodeFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditCharacterField(shell, shell.Editing->Characters.Character.Code,
                       QStringLiteral("Edit Character Code"),
                       [&shell] { OnCharacterCodeChanged(*shell.Editing); });
}

void OnCharacterGlyphFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditCharacterField(shell, shell.Editing->Characters.Character.Glyph,
                       QStringLiteral("Edit Character Code"),
                       [&shell] { OnCharacterGlyphChanged(*shell.Editing); });
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
    OnKerningPairSelectionChanged(*shell.Editing);
}

void OnKerningPairNewClicked(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Copy Kerning Pair"),
               [&shell] { OnCopyKerningPair(*shell.Editing); });
}

void OnKerningPairDeleteClicked(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Delete Kerning Pair"),
               [&shell] { OnDeleteKerningPair(*shell.Editing); });
}

void OnLeftCodeFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditPairField(shell, shell.Editing->Pairs.Left.Code, QStringLiteral("Edit Left Code"),
                  [&shell] { OnPairLeftChanged(*shell.Editing); });
}

void OnLeftGlyphFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditPairField(shell, shell.Editing->Pairs.Left.Glyph, QStringLiteral("Edit Left Code"),
                  [&shell] { OnPairLeftGlyphChanged(*shell.Editing); });
}

void OnRightCodeFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditPairField(shell, shell.Editing->Pairs.Right.Code, QStringLiteral("Edit Right Code"),
                  [&shell] { OnPairRightChanged(*shell.Editing); });
}

void OnRightGlyphFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditPairField(shell, shell.Editing->Pairs.Right.Glyph, QStringLiteral("Edit Right Code"),
                  [&shell] { OnPairRightGlyphChanged(*shell.Editing); });
}

void OnAmountFieldChanged(Shell& shell, const DispatchEvent& /*event*/) {
    EditPairField(shell, shell.Editing->Pairs.AmountField, QStringLiteral("Edit Amount"),
                  [&shell] { OnPairAmountChanged(*shell.Editing); });
}

void OnAddCharCommand(Shell& shell, const DispatchEvent& /*event*/) {
    RecordStep(shell, QStringLiteral("Add Char"), [&shell] { OnAddCharacter(*shell.Editing); });
}

} // namespace glyfora::app
