#include "app/editing/KerningPairEditor.h"

#include "document/KerningPairEditing.h"
#include "views/ListTexts.h"

#include <QMetaObject>
#include <QSpinBox>
#include <QTreeWidget>
#include <vector>

namespace glyfora::app {
namespace {

using document::KerningPair;
using views::PairColumn;

int Column(PairColumn column) {
    return static_cast<int>(column);
}

std::vector<std::u16string> RowTexts(const KerningPair& pair) {
    return {views::PairCellText(pair, PairColumn::Indices),
            views::PairCellText(pair, PairColumn::Pair),
            views::PairCellText(pair, PairColumn::Amount)};
}

document::Typeface* Document(const EditingContext& context) {
    return CurrentTypeface(context.State);
}

// A change of one half of the pair's key, from its code field.
void OnPairCodeChanged(EditingContext& context, const PartnerFields& fields, bool left) {
    const int code = fields.Code->value();
    if (fields.Glyph != nullptr && fields.Glyph->value() != code) {
        ShowFieldValue(fields.Glyph, code);
    }
    KerningPair* pair = SelectedKerningPair(context);
    if (pair == nullptr) {
        return;
    }
    if (left) {
        document::SetPairLeft(*Document(context), *pair, code);
    } else {
        document::SetPairRight(*Document(context), *pair, code);
    }
    QTreeWidgetItem* row = SelectedRow(context.Pairs.List);
    SetCellText(row, Column(PairColumn::Indices), views::PairCellText(*pair, PairColumn::Indices));
    SetCellText(row, Column(PairColumn::Pair), views::PairCellText(*pair, PairColumn::Pair));
    Redraw(context.DrawKerningPairView);
}

} // namespace

void RefillKerningPairList(EditingContext& context, const KerningPair* select) {
    QTreeWidget* list = context.Pairs.List;
    context.State.View.CurrentPair = nullptr;
    if (list == nullptr) {
        return;
    }
    document::Typeface* typeface = Document(context);
    if (typeface == nullptr) {
        const ListSignalBlocker blocker(list);
        list->clear();
        return;
    }
    document::SortKerningPairs(*typeface);
    context.State.View.CurrentPair =
        FillRecordList(list, typeface->Content.KerningPairs, select,
                       [](const KerningPair& pair) { return RowTexts(pair); });
}

KerningPair* SelectedKerningPair(const EditingContext& context) {
    document::Typeface* typeface = Document(context);
    return typeface != nullptr ? SelectedRecord(context.Pairs.List, typeface->Content.KerningPairs)
                               : nullptr;
}

void OnKerningPairSelectionChanged(EditingContext& context) {
    KerningPairFrame& frame = context.Pairs;
    KerningPair* pair = SelectedKerningPair(context);
    context.State.View.CurrentPair = pair;
    ShowCopyCaption(frame.CopyButton, pair != nullptr);
    if (pair != nullptr) {
        ShowFieldValue(frame.AmountField, pair->Amount);
        ShowFieldValue(frame.Left.Code, document::PairLeft(*pair));
        ShowFieldValue(frame.Left.Glyph, document::PairLeft(*pair));
        ShowFieldValue(frame.Right.Code, document::PairRight(*pair));
        ShowFieldValue(frame.Right.Glyph, document::PairRight(*pair));
    }
    Redraw(context.DrawKerningPairView); // hides the window without a pair
}

void PostKerningPairSelectionChanged(EditingContext& context) {
    QMetaObject::invokeMethod(
        context.Pairs.List, [&context] { OnKerningPairSelectionChanged(context); },
        Qt::QueuedConnection);
}

void OnCopyKerningPair(EditingContext& context) {
    KerningPair* original = SelectedKerningPair(context);
    if (original == nullptr) {
        return;
    }
    KerningPair* copy = document::CopyKerningPair(*Document(context), original);
    RefillKerningPairList(context, copy);
    PostKerningPairSelectionChanged(context);
}

void OnDeleteKerningPair(EditingContext& context) {
    KerningPair* pair = SelectedKerningPair(context);
    if (pair == nullptr) {
        return;
    }
    RemoveSelectedRowQuietly(context.Pairs.List);
    context.State.View.CurrentPair = nullptr;
    document::DeleteKerningPair(*Document(context), pair);
    OnKerningPairSelectionChanged(context);
}

void OnPairLeftChanged(EditingContext& context) {
    OnPairCodeChanged(context, context.Pairs.Left, true);
}

void OnPairRightChanged(EditingContext& context) {
    OnPairCodeChanged(context, context.Pairs.Right, false);
}

void OnPairLeftGlyphChanged(EditingContext& context) {
    ShowFieldValue(context.Pairs.Left.Code, context.Pairs.Left.Glyph->value());
    OnPairLeftChanged(context);
}

void OnPairRightGlyphChanged(EditingContext& context) {
    ShowFieldValue(context.Pairs.Right.Code, context.Pairs.Right.Glyph->value());
    OnPairRightChanged(context);
}

void OnPairAmountChanged(EditingContext& context) {
    KerningPair* pair = SelectedKerningPair(context);
    if (pair == nullptr || context.Pairs.AmountField == nullptr) {
        return;
    }
    document::SetPairAmount(*Document(context), *pair, context.Pairs.AmountField->value());
    SetCellText(SelectedRow(context.Pairs.List), Column(PairColumn::Amount),
                views::PairCellText(*pair, PairColumn::Amount));
    Redraw(context.DrawKerningPairView);
}

} // namespace glyfora::app
