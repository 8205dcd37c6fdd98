#include "app/shell/EditingLists.h"

#include "app/shell/Shell.h"
#include "app/shell/ShellViews.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/MainWindow.h"
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
using document::KerningPair;
using views::CharacterColumn;
using views::PairColumn;

std::vector<std::u16string> RowTexts(const Character& character) {
    std::vector<std::u16string> texts;
    for (const CharacterColumn column :
         {CharacterColumn::Index, CharacterColumn::Char, CharacterColumn::Position,
          CharacterColumn::Size, CharacterColumn::Offset, CharacterColumn::Flow}) {
        texts.push_back(views::CharacterCellText(character, column));
    }
    return texts;
}

std::vector<std::u16string> RowTexts(const KerningPair& pair) {
    return {views::PairCellText(pair, PairColumn::Indices),
            views::PairCellText(pair, PairColumn::Pair),
            views::PairCellText(pair, PairColumn::Amount)};
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

// Refills list from records after sorting them; the row of select ends selected.
template <typename Record, typename Sort>
Record* RefillList(EditingContext& context, QTreeWidget* list,
                   document::CursorList<Record> document::TypefaceContent::*records,
                   const Record* select, Sort sort) {
    if (list == nullptr) {
        return nullptr;
    }
    document::Typeface* typeface = Document(context);
    if (typeface == nullptr) {
        const ListSignalBlocker blocker(list);
        list->clear();
        return nullptr;
    }
    sort(*typeface);
    return FillRecordList(list, typeface->Content.*records, select,
                          [](const Record& record) { return RowTexts(record); });
}

} // namespace

std::unique_ptr<EditingContext> MakeEditingContext(Shell& shell) {
    const MainWindow& main = *shell.Main;
    return std::make_unique<EditingContext>(
        EditingContext{shell.State,
                       {main.CharacterList,
                        main.CharacterDeleteButton,
                        main.CharacterNewButton,
                        {main.CharacterCode.Code, main.CharacterCode.Glyph},
                        {main.SourceX, main.SourceY, main.SourceWidth, main.SourceHeight,
                         main.OutlayX, main.OutlayY, main.OutlayWidth, main.OutlayHeight}},
                       {main.KerningPairList,
                        main.KerningPairDeleteButton,
                        main.KerningPairNewButton,
                        {main.LeftCode.Code, main.LeftCode.Glyph},
                        {main.RightCode.Code, main.RightCode.Glyph},
                        main.AmountField},
                       [&shell] { DrawCharacterView(shell); },
                       [&shell] { DrawKerningPairView(shell); },
                       [&shell] { DrawCharacterSetView(shell); },
                       [&shell] { return shell.CharacterSet->Canvas->size(); }});
}

void RefillCharacterList(EditingContext& context, const Character* select) {
    context.State.View.CurrentCharacter =
        RefillList(context, context.Characters.List, &document::TypefaceContent::Characters, select,
                   [](document::Typeface& typeface) { document::SortCharacters(typeface); });
}

Character* SelectedCharacter(const EditingContext& context) {
    document::Typeface* typeface = Document(context);
    return typeface != nullptr
               ? SelectedRecord(context.Characters.List, typeface->Content.Characters)
               : nullptr;
}

Character* ShowCharacterSelection(EditingContext& context) {
    CharacterFrame& frame = context.Characters;
    Character* character = SelectedCharacter(context);
    context.State.View.CurrentCharacter = character;
    ShowCopyCaption(frame.CopyButton, character != nullptr);
    ShowFrameRecord(frame, character != nullptr);
    if (character == nullptr) {
        return nullptr;
    }
    ShowFieldValue(frame.Character.Code, character->Index);
    ShowFieldValue(frame.Character.Glyph, character->Index);
    ShowSourceRanges(frame, *Document(context), *character);
    for (std::size_t i = 0; i < frame.Metrics.size(); ++i) {
        ShowFieldValue(frame.Metrics[i], CharacterMetricValue(*character, AllMetrics[i]));
    }
    context.State.View.Selection = character->Source;
    context.State.View.SelectionShown = true;
    const QSize canvas =
        context.CharacterSetCanvasSize ? context.CharacterSetCanvasSize() : QSize(0, 0);
    const document::Typeface* typeface = Document(context);
    const document::Image* image =
        typeface != nullptr && typeface->Content.Image ? &*typeface->Content.Image : nullptr;
    views::CentreCharacterSetView(context.State.View, character->Source, canvas.width(),
                                  canvas.height(), image);
    return character;
}

void OnCharacterSelectionChanged(EditingContext& context) {
    const Character* character = ShowCharacterSelection(context);
    Redraw(context.DrawCharacterView); // hides the Character window without a record
    if (character != nullptr) {
        Redraw(context.DrawCharacterSetView);
    }
}

void PostCharacterSelectionChanged(EditingContext& context) {
    // The list is the receiver: a posted call outliving the window is dropped with it.
    QMetaObject::invokeMethod(
        context.Characters.List, [&context] { OnCharacterSelectionChanged(context); },
        Qt::QueuedConnection);
}

void RefillKerningPairList(EditingContext& context, const KerningPair* select) {
    context.State.View.CurrentPair =
        RefillList(context, context.Pairs.List, &document::TypefaceContent::KerningPairs, select,
                   [](document::Typeface& typeface) { document::SortKerningPairs(typeface); });
}

KerningPair* SelectedKerningPair(const EditingContext& context) {
    document::Typeface* typeface = Document(context);
    return typeface != nullptr ? SelectedRecord(context.Pairs.List, typeface->Content.KerningPairs)
                               : nullptr;
}

KerningPair* ShowKerningPairSelection(EditingContext& context) {
    KerningPairFrame& frame = context.Pairs;
    KerningPair* pair = SelectedKerningPair(context);
    context.State.View.CurrentPair = pair;
    ShowCopyCaption(frame.CopyButton, pair != nullptr);
    ShowFrameRecord(frame, pair != nullptr);
    if (pair != nullptr) {
        ShowFieldValue(frame.AmountField, pair->Amount);
        ShowFieldValue(frame.Left.Code, document::PairLeft(*pair));
        ShowFieldValue(frame.Left.Glyph, document::PairLeft(*pair));
        ShowFieldValue(frame.Right.Code, document::PairRight(*pair));
        ShowFieldValue(frame.Right.Glyph, document::PairRight(*pair));
    }
    return pair;
}

void OnKerningPairSelectionChanged(EditingContext& context) {
    ShowKerningPairSelection(context);
    Redraw(context.DrawKerningPairView); // hides the window without a pair
}

void PostKerningPairSelectionChanged(EditingContext& context) {
    QMetaObject::invokeMethod(
        context.Pairs.List, [&context] { OnKerningPairSelectionChanged(context); },
        Qt::QueuedConnection);
}

} // namespace glyfora::app
