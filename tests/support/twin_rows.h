// Results lists of twins for the dialog tests: rows written by hand, or by a real
// search started from the Start click, and the run's private recycle bin.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "support/window_driver.h"
#include "ui/results_list.h"

namespace test_support {

inline void add_row(const std::wstring& a, const std::wstring& b, const std::wstring& percent) {
    const int row = list_row_count();
    orvkit::list_insert_row(row, a.c_str());
    orvkit::list_set_cell(row, 1, b.c_str());
    orvkit::list_set_cell(row, 2, percent.c_str());
}

// Gives `row` the list's focus; -1 takes it from every row.
inline void focus_row(int row) {
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED;
    SendMessageW(list_view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_FOCUSED;
    if (row >= 0) SendMessageW(list_view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

// $XDG_DATA_HOME/Trash/files as a Windows path; empty outside scripts/test.sh.
inline std::wstring trash_folder() {
    char xdg[1024] = {};
    if (!GetEnvironmentVariableA("XDG_DATA_HOME", xdg, sizeof(xdg))) return {};
    return to_windows_path(xdg) + L"\\Trash\\files";
}

inline bool in_trash(const std::wstring& path) {
    return exists(trash_folder() + path.substr(path.rfind(L'\\')));
}

// The real main window, idle in Quick Dir with an empty list and list files kept in
// a folder of the test's own.
class twin_window_test : public main_window_test {
protected:
    void SetUp() override {
        main_window_test::SetUp();
        ASSERT_FALSE(trash_folder().empty()) << "run through scripts/test.sh: the recycle bin must be redirected";
        app_state->data_path = data_.path() + L"\\";
        search_mode = 2;
        orvkit::list_clear();
    }
    // Starts a search of `folder` (and `second` in QDir+) with the Start click and
    // waits for its closing row.
    void search(uint32_t mode, const std::wstring& folder, const std::wstring& second = {}) {
        search_mode = mode;
        SetWindowTextW(edit_a, folder.c_str());
        SetWindowTextW(edit_b, second.c_str());
        click_at(start);
        ASSERT_TRUE(pump_until(run_closed, 60000));
    }
    // The run is over and its closing row shown.
    static bool run_closed() {
        const int rows = list_row_count();
        return run_status == orvkit::status_idle && rows > 1 && list_cell(rows - 1, 0) == L"Finished";
    }
    temp_folder data_;
};

}  // namespace test_support
