#include "app/editing/KerningPairEditor.h"

#include "document/KerningPairEditing.h"
#include "views/ListTexts.h"

#include <QSpinBox>
#include <QTreeWidget>

namespace glyfora::app {
namespace {

using document::KerningPair;
using views::PairColumn;

int Column(PairColumn column) {
    return static_cast<int>(column);
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
