#include "actions/pair_fields.h"

#include "base/file_reading.h"
#include "core/globals.h"
#include "resources/resource_ids.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

constexpr int most_attempts = 99;
constexpr int format_units = 1200;

struct file_fields {
    int path;
    int size;
    int modified;
};
constexpr file_fields fields_a{IDC_PATH_A, IDC_SIZE_A, IDC_MODIFIED_A};
constexpr file_fields fields_b{IDC_PATH_B, IDC_SIZE_B, IDC_MODIFIED_B};

// Fills the size and time of the file at `path`; false when it cannot be opened.
bool show_file(HWND dialog, const file_fields& fields, const std::wstring& path) {
    unique_handle file = open_for_reading(path);
    if (!file) return false;
    uint64_t size = 0;
    size_of_open_file(file.get(), size);
    SetDlgItemTextW(dialog, fields.size, std::to_wstring(size).c_str());
    FILETIME written{};
    GetFileTime(file.get(), nullptr, nullptr, &written);
    SetDlgItemTextW(dialog, fields.modified, format_file_time(written).c_str());
    return true;
}

std::wstring cell(int row, int column) {
    wchar_t text[cell_text_units];
    const int length = list_get_cell(row, column, text);
    return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

std::wstring format_file_time(const FILETIME& time) {
    SYSTEMTIME calendar{};
    FileTimeToSystemTime(&time, &calendar);
    wchar_t clock[format_units] = {}, day[format_units] = {};
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &calendar, nullptr, clock, format_units);
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &calendar, nullptr, day, format_units, nullptr);
    return std::wstring(clock) + L" " + day;
}

std::wstring pair_title(const std::wstring& percent_cell, bool twin_found) {
    std::wstring title = L"These files were found to be " + percent_cell + L"% the same.";
    if (!twin_found) title += L" File B can no longer be found.";
    return title;
}

// A row whose file B alone cannot be opened is still shown: file A may be the last
// copy, and the title says so. B's size and time are then cleared, so that no value
// of an earlier pair is read as this one's.
int fill_pair_fields(HWND dialog) {
    for (int attempt = 0; attempt < most_attempts; ++attempt, ++row_item.iItem) {
        const int row = row_item.iItem;
        const std::wstring path_a_cell = cell(row, 0);
        if (path_a_cell.empty()) continue;
        SetDlgItemTextW(dialog, IDC_PATH_A, path_a_cell.c_str());
        if (!show_file(dialog, fields_a, path_a_cell)) continue;
        const std::wstring path_b_cell = cell(row, 1);
        if (path_b_cell.empty()) continue;
        SetDlgItemTextW(dialog, IDC_PATH_B, path_b_cell.c_str());
        const bool twin_found = show_file(dialog, fields_b, path_b_cell);
        if (!twin_found) {
            SetDlgItemTextW(dialog, IDC_SIZE_B, L"");
            SetDlgItemTextW(dialog, IDC_MODIFIED_B, L"");
        }
        const std::wstring percent = cell(row, 2);
        SetDlgItemTextW(dialog, IDC_PAIR_TITLE, pair_title(percent, twin_found).c_str());
        return 1;
    }
    return 0;
}

}  // namespace orvkit
