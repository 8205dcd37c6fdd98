#include "app/CharacterEditor.h"

#include "app/CharacterCodeDialog.h"
#include "views/CharacterSetCentring.h"
#include "views/ListTexts.h"

#include <QMetaObject>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

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
    CharacterMetric::SourceX,      CharacterMetric::SourceY,    CharacterMetric::SourceWidth,
    CharacterMetric::SourceHeight, CharacterMetric::OutlayX,    CharacterMetric::OutlayY,
    CharacterMetric::OutlayWidth,  CharacterMetric::OutlayHeight,
};

document::Typeface* Document(const EditingContext& context) {
    return context.CurrentTypeface ? context.CurrentTypeface() : nullptr;
}

} // namespace

void RefillCharacterList(EditingContext& context, const Character* select) {
    QTreeWidget* list = context.Characters.List;
    context.View.CurrentCharacter = nullptr;
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
    context.View.CurrentCharacter =
        FillRecordList(list, typeface->Content.Characters, select,
                       [](const Character& character) { return RowTexts(character); });
}

Character* SelectedCharacter(const EditingContext& context) {
    document::Typeface* typeface = Document(context);
    return typeface != nullptr ? SelectedRecord(context.Characters.List, typeface->Content.Characters)
                               : nullptr;
}

void OnCharacterSelectionChanged(EditingContext& context) {
    CharacterFrame& frame = context.Characters;
    Character* character = SelectedCharacter(context);
    context.View.CurrentCharacter = character;
    ShowCopyCaption(frame.CopyButton, character != nullptr);
    if (character == nullptr) {
        Redraw(context.DrawCharacterView); // hides the Character window
        return;
    }
    ShowFieldValue(frame.Character.Code, character->Index);
    ShowFieldValue(frame.Character.Glyph, character->Index);
    for (std::size_t i = 0; i < frame.Metrics.size(); ++i) {
        ShowFieldValue(frame.Metrics[i], CharacterMetricValue(*character, AllMetrics[i]));
    }
    context.View.Selection = character->Source;
    const QSize canvas =
        context.CharacterSetCanvasSize ? context.CharacterSetCanvasSize() : QSize(0, 0);
    const document::Typeface* typeface = Document(context);
    const document::Image* image =
        typeface != nullptr && typeface->Content.Image ? &*typeface->Content.Image : nullptr;
    views::CentreCharacterSetView(context.View, character->Source, canvas.width(),
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
    context.View.CurrentCharacter = nullptr;
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
        context.View.Selection = character->Source;
        Redraw(context.DrawCharacterSetView);
    }
    Redraw(context.DrawKerningPairView);
}

void OnAddCharacter(EditingContext& context) {
    if (Document(context) == nullptr) {
        return;
    }
    const auto ask =
        context.AskCharacterCode ? context.AskCharacterCode : &CharacterCodeDialog::Ask;
    context.LastDialogCode = ask(context.LastDialogCode);
    if (context.LastDialogCode == -1) {
        return;
    }
    // The dialog ran its own event loop: take the document afresh.
    document::Typeface* typeface = Document(context);
    if (typeface == nullptr) {
        return;
    }
    Character* character =
        document::AddCharacterForCell(*typeface, context.LastDialogCode, context.View.Selection);
    if (character == nullptr) {
        return;
    }
    RefillCharacterList(context, character);
    PostCharacterSelectionChanged(context);
}

void ConnectCharacterFrame(EditingContext& context) {
    CharacterFrame& frame = context.Characters;
    QObject::connect(frame.List, &QTreeWidget::itemSelectionChanged, frame.List,
                     [&context] { OnCharacterSelectionChanged(context); });
    QObject::connect(frame.CopyButton, &QPushButton::clicked, frame.CopyButton,
                     [&context] { OnCopyCharacter(context); });
    QObject::connect(frame.DeleteButton, &QPushButton::clicked, frame.DeleteButton,
                     [&context] { OnDeleteCharacter(context); });
    QObject::connect(frame.Character.Code, &QSpinBox::valueChanged, frame.Character.Code,
                     [&context] { OnCharacterCodeChanged(context); });
    QObject::connect(frame.Character.Glyph, &QSpinBox::valueChanged, frame.Character.Glyph,
                     [&context] { OnCharacterGlyphChanged(context); });
    for (std::size_t i = 0; i < frame.Metrics.size(); ++i) {
        const CharacterMetric metric = AllMetrics[i];
        QObject::connect(frame.Metrics[i], &QSpinBox::valueChanged, frame.Metrics[i],
                         [&context, metric] { OnCharacterMetricChanged(context, metric); });
    }
}

} // namespace glyfora::app
