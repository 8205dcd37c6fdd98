#include "app/windows/EditingFrames.h"

#include <QItemSelectionModel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>
#include <initializer_list>
#include <utility>

namespace glyfora::app {

void ShowFieldValue(QSpinBox* field, std::int64_t value) {
    if (field == nullptr) {
        return;
    }
    const QSignalBlocker blocker(field);
    field->setValue(
        static_cast<int>(std::clamp<std::int64_t>(value, field->minimum(), field->maximum())));
}

namespace {

void ShowControlsRecord(std::initializer_list<QSpinBox*> codes,
                        std::initializer_list<QSpinBox*> numbers,
                        std::initializer_list<QPushButton*> buttons, bool record) {
    for (const auto& [fields, blank] : {std::pair{codes, BlankCode}, std::pair{numbers, 0}}) {
        for (QSpinBox* field : fields) {
            if (field != nullptr) {
                if (!record) {
                    ShowFieldValue(field, blank);
                }
                field->setEnabled(record);
            }
        }
    }
    for (QPushButton* button : buttons) {
        if (button != nullptr) {
            button->setEnabled(record);
        }
    }
}

} // namespace

void ShowFrameRecord(const CharacterFrame& frame, bool record) {
    const auto& m = frame.Metrics;
    ShowControlsRecord({frame.Character.Code, frame.Character.Glyph},
                       {m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]},
                       {frame.DeleteButton, frame.CopyButton}, record);
}

void ShowFrameRecord(const KerningPairFrame& frame, bool record) {
    ShowControlsRecord({frame.Left.Code, frame.Left.Glyph, frame.Right.Code, frame.Right.Glyph},
                       {frame.AmountField}, {frame.DeleteButton, frame.CopyButton}, record);
}

void SetCellText(QTreeWidgetItem* row, int column, const std::u16string& text) {
    if (row != nullptr) {
        row->setText(column, QString::fromStdU16String(text));
    }
}

QTreeWidgetItem* MakeRow(const void* record, const std::vector<std::u16string>& texts) {
    auto* row = new QTreeWidgetItem;
    for (std::size_t column = 0; column < texts.size(); ++column) {
        SetCellText(row, static_cast<int>(column), texts[column]);
    }
    row->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(record)));
    return row;
}

ListSignalBlocker::ListSignalBlocker(QTreeWidget* list) {
    if (list == nullptr) {
        return;
    }
    list_ = list;
    selectionModel_ = list->selectionModel();
    listWasBlocked_ = list_->blockSignals(true);
    if (selectionModel_ != nullptr) {
        modelWasBlocked_ = selectionModel_->blockSignals(true);
    }
}

ListSignalBlocker::~ListSignalBlocker() {
    if (selectionModel_ != nullptr) {
        selectionModel_->blockSignals(modelWasBlocked_);
    }
    if (list_ != nullptr) {
        list_->blockSignals(listWasBlocked_);
    }
}

void ShowCopyCaption(QPushButton* button, bool rowSelected) {
    if (button != nullptr) {
        button->setText(rowSelected ? QStringLiteral("Copy") : QStringLiteral("New"));
    }
}

void* RowRecord(const QTreeWidgetItem* row) {
    if (row == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(row->data(0, Qt::UserRole).value<quintptr>());
}

QTreeWidgetItem* SelectedRow(const QTreeWidget* list) {
    if (list == nullptr) {
        return nullptr;
    }
    const QList<QTreeWidgetItem*> rows = list->selectedItems();
    return rows.isEmpty() ? nullptr : rows.front();
}

void RemoveSelectedRowQuietly(QTreeWidget* list) {
    const ListSignalBlocker blocker(list);
    delete SelectedRow(list);
    list->clearSelection();
}

} // namespace glyfora::app
