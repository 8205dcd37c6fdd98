#pragma once

#include <QFont>
#include <QString>
#include <QStyledItemDelegate>
#include <utility>
#include <vector>

namespace glyfora::app {

// The font at its own size or, stepping down by half a point to no less than 5.5 points, the
// first size at which every text is at most its width in pixels (the smallest when none is).
// Controls keep their fixed places and sizes, so a large desktop font must not cut texts off.
[[nodiscard]] QFont FontToFit(QFont font,
                              const std::vector<std::pair<QString, int>>& textsAndWidths);

// Draws a list cell whose text is wider than its column in a smaller font (down to 5 points)
// (FontToFit) instead of cutting it off with "…": the columns keep their widths, and a five-digit
// position of a large atlas still reads whole. Cells that fit keep the list's font.
class FittingTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace glyfora::app
