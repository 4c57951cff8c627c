// The rows of the results list, kept in memory by the list's own module.
//
// Workers write rows here under one small lock and never send the list a message
// per row; the list view is virtual (LVS_OWNERDATA) and asks for the texts it
// shows through LVN_GETDISPINFOW, which the window answers from this store. The
// control's row count follows the store when the window catches up (its refresh
// timer, the end of a run) and whenever anybody asks the control about its rows.
//
// A row holds three numbers, each naming a text kept once however many rows show
// it: twin rows repeat a few paths and percentages over and over, so a list of
// millions of rows costs 12 bytes a row beyond its distinct texts, and a text
// about 28 bytes beyond its characters.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

#include "base/block_array.h"
#include "base/text_set.h"

namespace orvkit {

class row_store {
public:
    static constexpr int columns = 3;
    static constexpr int no_row = -1;

    // Inserts a row whose first cell is `text` at `index` (appends past the end).
    void insert(int index, const wchar_t* text);
    // Sets one cell; false when the row or column does not exist.
    bool set(int index, int column, const wchar_t* text);
    bool erase(int index);
    void clear();
    int count() const;
    // Copies the cell, cut to `units` - 1 characters and terminated; returns the
    // characters copied (0 and an empty text for a cell that does not exist).
    int copy(int index, int column, wchar_t* buffer, int units) const;
    // The whole cell, however long (empty for a cell that does not exist).
    std::wstring text(int index, int column) const;

    // Rows changed in place since the last call, as a first/last pair (no_row when
    // none); the call forgets them.
    std::pair<int, int> take_changed();

private:
    using text_id = text_set::text_id;
    using row = std::array<text_id, columns>;

    void mark_changed(int index);
    row& row_at(std::size_t index) const { return rows_[index]; }
    // The number of `text`, added to the texts when new. Call under the lock.
    text_id intern(const wchar_t* text);
    const kept_text& cell(std::size_t index, int column) const {
        return texts_[row_at(index)[static_cast<std::size_t>(column)]];
    }

    mutable std::mutex lock_;
    // Rows in blocks that are never moved: a list of millions grows without copying
    // itself, and holds no more room than a block beyond its rows.
    block_array<row, 4096> rows_;
    // Each distinct text once.
    text_set texts_;
    int changed_first_ = no_row;
    int changed_last_ = no_row;
};

}  // namespace orvkit
