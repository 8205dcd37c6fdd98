#include "app/windows/FittingTextDelegate.h"

#include <QApplication>
#include <QFontInfo>
#include <QStyle>
#include <algorithm>

namespace glyfora::app {

QFont FontToFit(QFont font, const std::vector<std::pair<QString, int>>& textsAndWidths) {
    // The size as matched, also for a font given in pixels.
    for (qreal size = QFontInfo(font).pointSizeF(); size > 5.0; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetrics metrics(font);
        if (std::ranges::all_of(textsAndWidths, [&metrics](const auto& entry) {
                return metrics.horizontalAdvance(entry.first) <= entry.second;
            })) {
            break;
        }
    }
    return font;
}

void FittingTextDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.isEmpty() || option->rect.width() <= 0) {
        return; // measuring a size hint, or nothing to fit
    }
    const QStyle* style =
        option->widget != nullptr ? option->widget->style() : QApplication::style();
    // The room the item view leaves around a cell's text.
    const int margin =
        2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1);
    const int room = option->rect.width() - margin;
    if (option->fontMetrics.horizontalAdvance(option->text) <= room) {
        return;
    }
    const QFont font = FontToFit(option->font, {{option->text, room}});
    option->font = font;
    option->fontMetrics = QFontMetrics(font);
}

} // namespace glyfora::app
