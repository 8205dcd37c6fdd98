#pragma once

#include "document/CharacterEditing.h"
#include "document/Typeface.h"

#include <QList>
#include <QTreeWidget>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QObject;
class QPushButton;
class QSpinBox;
class QTreeWidgetItem;

namespace glyfora::app {

// A character code shown twice, by partner fields: a numeric field and a GlyphSpinBox showing the
// character.
struct PartnerFields {
    QSpinBox* Code = nullptr;
    QSpinBox* Glyph = nullptr;
};

// The controls of the "Characters" frame.
struct CharacterFrame {
    QTreeWidget* List = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* CopyButton = nullptr; // reads "New", or "Copy" while a row is selected
    PartnerFields Character;
    // "Position:", "Size:", "Offset:", "Outlay:" fields in the order of CharacterMetric.
    std::array<QSpinBox*, 8> Metrics{};
};

// The controls of the "Kerning Pairs" frame.
struct KerningPairFrame {
    QTreeWidget* List = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* CopyButton = nullptr;
    PartnerFields Left;
    PartnerFields Right;
    QSpinBox* AmountField = nullptr;
};

// Puts value into field (clamped to its range) without raising its change signal, so that showing
// a record never runs an edit handler.
void ShowFieldValue(QSpinBox* field, std::int64_t value);

// The code the code fields show when they show no record: a blank.
constexpr int BlankCode = 32;

// A frame showing a record has its fields and buttons enabled. Without one its fields are reset
// to what they show at start-up (codes BlankCode, numbers 0) and, like its buttons, disabled, so
// nothing left from another record is shown and nothing can be typed for a record no row stands
// for.
void ShowFrameRecord(const CharacterFrame& frame, bool record);
void ShowFrameRecord(const KerningPairFrame& frame, bool record);

// Sets the text of one cell of a row.
void SetCellText(QTreeWidgetItem* row, int column, const std::u16string& text);

// Makes a row standing for record, with its cell texts.
[[nodiscard]] QTreeWidgetItem* MakeRow(const void* record,
                                       const std::vector<std::u16string>& texts);

// Blocks the signals of a list and of its selection model while it is changed programmatically.
class ListSignalBlocker {
public:
    explicit ListSignalBlocker(QTreeWidget* list);
    ~ListSignalBlocker();
    ListSignalBlocker(const ListSignalBlocker&) = delete;
    ListSignalBlocker& operator=(const ListSignalBlocker&) = delete;

private:
    QObject* list_ = nullptr;
    QObject* selectionModel_ = nullptr;
    bool listWasBlocked_ = false;
    bool modelWasBlocked_ = false;
};

// Sets the caption of a frame's second button: "Copy" while a row is selected, else "New".
void ShowCopyCaption(QPushButton* button, bool rowSelected);

// The record a list row stands for (its row data); none for no row.
[[nodiscard]] void* RowRecord(const QTreeWidgetItem* row);

// The selected row of a single-selection list, or none.
[[nodiscard]] QTreeWidgetItem* SelectedRow(const QTreeWidget* list);

// Removes the selected row and leaves no row selected, without running the list's handlers.
void RemoveSelectedRowQuietly(QTreeWidget* list);

// Fills list with one row per record, in list order, and selects the row of select; returns the
// selected record (none when select is not in records). Row signals stay quiet while filling.
template <typename Record, typename TextsOf>
Record* FillRecordList(QTreeWidget* list, document::CursorList<Record>& records,
                       const Record* select, TextsOf textsOf) {
    const ListSignalBlocker blocker(list);
    list->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(records.Size()));
    QTreeWidgetItem* selectedRow = nullptr;
    Record* selected = nullptr;
    for (Record& record : records) {
        rows.append(MakeRow(&record, textsOf(record)));
        if (&record == select) {
            selectedRow = rows.back();
            selected = &record;
        }
    }
    list->addTopLevelItems(rows);
    if (selectedRow != nullptr) {
        list->setCurrentItem(selectedRow);
        list->scrollToItem(selectedRow);
    }
    return selected;
}

// The record of the list's selected row, but only while it is still one of records: a row may
// outlive the record it was made for.
template <typename Record>
Record* SelectedRecord(const QTreeWidget* list, document::CursorList<Record>& records) {
    const void* record = RowRecord(SelectedRow(list));
    if (record == nullptr) {
        return nullptr;
    }
    for (Record& candidate : records) {
        if (&candidate == record) {
            return &candidate;
        }
    }
    return nullptr;
}

} // namespace glyfora::app
