#include "app/editing/CharacterEditor.h"

#include "app/windows/CharacterCodeDialog.h"
#include "views/ListTexts.h"

#include <QSpinBox>
#include <QTreeWidget>

namespace glyfora::app {
namespace {

using document::Character;
using document::CharacterMetric;
using views::CharacterColumn;

int Column(CharacterColumn column) {
    return static_cast<int>(column);
}

CharacterColumn ColumnOf(CharacterMetric metric) {
    switch (metric) {
    case CharacterMetric::SourceX:
    case CharacterMetric::SourceY:
        return CharacterColumn::Position;
    case CharacterMetric::SourceWidth:
    case CharacterMetric::SourceHeight:
        return CharacterColumn::Size;
    case CharacterMetric::OutlayX:
    case CharacterMetric::OutlayY:
        return CharacterColumn::Offset;
    case CharacterMetric::OutlayWidth:
    case CharacterMetric::OutlayHeight:
        break;
    }
    return CharacterColumn::Flow;
}

document::Typeface* Document(const EditingContext& context) {
    return CurrentTypeface(context.State);
}

} // namespace

void OnCopyCharacter(EditingContext& context) {
    Character* original = SelectedCharacter(context);
    if (original == nullptr) {
        return;
    }
    Character* copy = document::CopyCharacter(*Document(context), original);
    RefillCharacterList(context, copy);
    PostCharacterSelectionChanged(context);
}

void OnDeleteCharacter(EditingContext& context) {
    Character* character = SelectedCharacter(context);
    if (character == nullptr) {
        return;
    }
    RemoveSelectedRowQuietly(context.Characters.List);
    context.State.View.CurrentCharacter = nullptr;
    document::DeleteCharacter(*Document(context), character);
    // No row is selected now: the button reads "New" and the character view hides.
    OnCharacterSelectionChanged(context);
    Redraw(context.DrawKerningPairView);
}

void OnCharacterCodeChanged(EditingContext& context) {
    const PartnerFields& fields = context.Characters.Character;
    const int code = fields.Code->value();
    if (fields.Glyph != nullptr && fields.Glyph->value() != code) {
        ShowFieldValue(fields.Glyph, code);
    }
    Character* character = SelectedCharacter(context);
    if (character == nullptr) {
        return;
    }
    const bool taken = document::RecodeCharacter(*Document(context), *character, code);
    QTreeWidgetItem* row = SelectedRow(context.Characters.List);
    SetCellText(row, Column(CharacterColumn::Index),
                taken ? views::MarkedIndexText(code) : views::DecimalText(code));
    SetCellText(row, Column(CharacterColumn::Char),
                views::CharacterCellText(*character, CharacterColumn::Char));
    // The pair view looks its characters up by code.
    Redraw(context.DrawKerningPairView);
}

void OnCharacterGlyphChanged(EditingContext& context) {
    const PartnerFields& fields = context.Characters.Character;
    ShowFieldValue(fields.Code, fields.Glyph->value());
    OnCharacterCodeChanged(context);
}

void OnCharacterMetricChanged(EditingContext& context, CharacterMetric metric) {
    Character* character = SelectedCharacter(context);
    QSpinBox* field = context.Characters.Metrics[static_cast<std::size_t>(metric)];
    if (character == nullptr || field == nullptr) {
        return;
    }
    document::SetCharacterMetric(*Document(context), *character, metric, field->value());
    const CharacterColumn column = ColumnOf(metric);
    SetCellText(SelectedRow(context.Characters.List), Column(column),
                views::CharacterCellText(*character, column));
    Redraw(context.DrawCharacterView);
    if (document::IsSourceMetric(metric)) {
        context.State.View.Selection = character->Source;
        Redraw(context.DrawCharacterSetView);
    }
    Redraw(context.DrawKerningPairView);
}

void OnAddCharacter(EditingContext& context) {
    if (Document(context) == nullptr) {
        return;
    }
    context.State.LastDialogCode = CharacterCodeDialog::Ask(context.State.LastDialogCode);
    if (context.State.LastDialogCode == -1) {
        return;
    }
    // The dialog ran its own event loop: take the document afresh.
    document::Typeface* typeface = Document(context);
    if (typeface == nullptr) {
        return;
    }
    Character* character = document::AddCharacterForCell(*typeface, context.State.LastDialogCode,
                                                         context.State.View.Selection);
    if (character == nullptr) {
        return;
    }
    RefillCharacterList(context, character);
    PostCharacterSelectionChanged(context);
}

} // namespace glyfora::app
