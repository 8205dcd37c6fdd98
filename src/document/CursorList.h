#pragma once

#include <list>

namespace glyfora::document {

// An ordered list with a current element. A new element goes directly after the current one and
// becomes current; with no current element it goes to the front. Nodes never move, so pointers
// to records stay valid across inserts, deletes of other records and sorting.
template <typename Record> struct CursorList {
    using Iterator = typename std::list<Record>::iterator;

    std::list<Record> Items;
    Iterator Current = Items.end(); // end() = no current element

    CursorList() = default;
    CursorList(const CursorList&) = delete;
    CursorList& operator=(const CursorList&) = delete;

    [[nodiscard]] bool Empty() const { return Items.empty(); }
    [[nodiscard]] std::size_t Size() const { return Items.size(); }

    // Inserts a copy of record after the current element and makes it current.
    Record& InsertAfterCurrent(const Record& record = Record{}) {
        const Iterator position = Current == Items.end() ? Items.begin() : std::next(Current);
        Current = Items.insert(position, record);
        return *Current;
    }

    // Makes the element holding this record current; false when the record is not in the list.
    bool MakeCurrent(const Record* record) {
        for (auto it = Items.begin(); it != Items.end(); ++it) {
            if (&*it == record) {
                Current = it;
                return true;
            }
        }
        return false;
    }

    // Deletes the current element; the one before it becomes current (none when it was first).
    void DeleteCurrent() {
        if (Current == Items.end()) {
            return;
        }
        const Iterator previous = Current == Items.begin() ? Items.end() : std::prev(Current);
        Items.erase(Current);
        Current = previous;
    }

    void Clear() {
        Items.clear();
        Current = Items.end();
    }

    auto begin() { return Items.begin(); }
    auto end() { return Items.end(); }
    auto begin() const { return Items.begin(); }
    auto end() const { return Items.end(); }
};

} // namespace glyfora::document
