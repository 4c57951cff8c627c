// Reading the results list back, as another program would: the row count with
// LVM_GETITEMCOUNT and each cell with LVM_GETITEMTEXTW.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "core/globals.h"

namespace test_support {

using list_row = std::array<std::wstring, 3>;

inline int list_row_count() { return static_cast<int>(SendMessageW(list_view, LVM_GETITEMCOUNT, 0, 0)); }

inline std::wstring list_cell(int row, int column) {
    wchar_t text[1200] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1200;
    SendMessageW(list_view, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Every row with its three cells.
inline std::vector<list_row> read_list_rows() {
    std::vector<list_row> rows(static_cast<std::size_t>(list_row_count()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (int column = 0; column < 3; ++column) rows[row][column] = list_cell(static_cast<int>(row), column);
    return rows;
}

}  // namespace test_support
