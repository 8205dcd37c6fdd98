#include "app/editing/CharacterEditor.h"

#include "app/windows/CharacterCodeDialog.h"
#include "views/CharacterSetCentring.h"
#include "views/ListTexts.h"

#include <QMetaObject>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

namespace glyfora::app {
namespace {

using document::Character;
using document::CharacterMetric;
using views::CharacterColumn;

int Column(CharacterColumn column) {
    return static_cast<int>(column);
}

std::vector<std::u16string> RowTexts(const Character& character) {
    std::vector<std::u16string> texts;
    for (const CharacterColumn column :
         {CharacterColumn::Index, CharacterColumn::Char, CharacterColumn::Position,
          CharacterColumn::Size, CharacterColumn::Offset, CharacterColumn::Flow}) {
        texts.push_back(views::CharacterCellText(character, column));
    }
    return texts;
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

constexpr CharacterMetric AllMetrics[] = {
    CharacterMetric::SourceX,      CharacterMetric::SourceY,      CharacterMetric::SourceWidth,
    CharacterMetric::SourceHeight, CharacterMetric::OutlayX,      CharacterMetric::OutlayY,
    CharacterMetric::OutlayWidth,  CharacterMetric::OutlayHeight,
};

document::Typeface* Document(const EditingContext& context) {
    return CurrentTypeface(context.State);
}

// The "Position:" and "Size:" fields keep the main window's range of 0..4000 unless the picture
// or the cell reaches beyond it; then they take what a ".tf" record holds, so a cell of a large
// atlas shows and takes its real numbers.
constexpr std::int64_t LayoutSourceLimit = 4000;
constexpr std::int64_t TfSourceLimit = 32767;

void ShowSourceRanges(CharacterFrame& frame, const document::Typeface& typeface,
                      const Character& character) {
    const document::Image* image = typeface.Content.Image ? &*typeface.Content.Image : nullptr;
    const std::int64_t reach = std::max(
        {image != nullptr ? image->Width : 0, image != nullptr ? image->Height : 0,
         character.Source.X, character.Source.Y, character.Source.Width, character.Source.Height});
    const int limit =
        static_cast<int>(reach > LayoutSourceLimit ? TfSourceLimit : LayoutSourceLimit);
    for (const CharacterMetric metric :
         {CharacterMetric::SourceX, CharacterMetric::SourceY, CharacterMetric::SourceWidth,
          CharacterMetric::SourceHeight}) {
        QSpinBox* field = frame.Metrics[static_cast<std::size_t>(metric)];
        if (field != nullptr) {
            // Narrowing may clamp the old value; no handler must see that as an edit.
            const QSignalBlocker blocker(field);
            field->setMaximum(limit);
        }
    }
}

} // namespace

void RefillCharacterList(EditingContext& context, const Character* select) {
    QTreeWidget* list = context.Characters.List;
    context.State.View.CurrentCharacter = nullptr;
    if (list == nullptr) {
        return;
    }
    document::Typeface* typeface = Document(context);
    if (typeface == nullptr) {
        const ListSignalBlocker blocker(list);
        list->clear();
        return;
    }
    document::SortCharacters(*typeface);
    context.State.View.CurrentCharacter =
        FillRecordList(list, typeface->Content.Characters, select,
                       [](const Character& character) { return RowTexts(character); });
}

Character* SelectedCharacter(const EditingContext& context) {
    document::Typeface* typeface = Document(context);
    return typeface != nullptr
               ? SelectedRecord(context.Characters.List, typeface->Content.Characters)
               : nullptr;
}

void OnCharacterSelectionChanged(EditingContext& context) {
    CharacterFrame& frame = context.Characters;
    Character* character = SelectedCharacter(context);
    context.State.View.CurrentCharacter = character;
    ShowCopyCaption(frame.CopyButton, character != nullptr);
    if (character == nullptr) {
        Redraw(context.DrawCharacterView); // hides the Character window
        return;
    }
    ShowFieldValue(frame.Character.Code, character->Index);
    ShowFieldValue(frame.Character.Glyph, character->Index);
    ShowSourceRanges(frame, *Document(context), *character);
    for (std::size_t i = 0; i < frame.Metrics.size(); ++i) {
        ShowFieldValue(frame.Metrics[i], CharacterMetricValue(*character, AllMetrics[i]));
    }
    context.State.View.Selection = character->Source;
    const QSize canvas =
        context.CharacterSetCanvasSize ? context.CharacterSetCanvasSize() : QSize(0, 0);
    const document::Typeface* typeface = Document(context);
    const document::Image* image =
        typeface != nullptr && typeface->Content.Image ? &*typeface->Content.Image : nullptr;
    views::CentreCharacterSetView(context.State.View, character->Source, canvas.width(),
                                  canvas.height(), image);
    Redraw(context.DrawCharacterView);
    Redraw(context.DrawCharacterSetView);
}

void PostCharacterSelectionChanged(EditingContext& context) {
    // The list is the receiver: a posted call outliving the window is dropped with it.
    QMetaObject::invokeMethod(
        context.Characters.List, [&context] { OnCharacterSelectionChanged(context); },
        Qt::QueuedConnection);
}

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
