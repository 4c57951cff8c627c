#include "ui/results_list.h"

#include <commctrl.h>

#include <algorithm>

#include "core/display_scale.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "ui/virtual_list.h"

namespace orvkit {

namespace {

constexpr int percent_column_width = 60;
constexpr int smallest_path_column_width = 100;

struct column_layout {
    const wchar_t* text;
    int width;
};

constexpr column_layout file_mode_columns[] = {{L"Position", 65}, {L"Length", 65}, {L"Details", 360}};

void insert_column(int index, const column_layout& layout) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT;
    column.cx = scaled(layout.width);
    column.pszText = const_cast<wchar_t*>(layout.text);
    SendMessageW(list_view, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

TOOLINFOA tool_for(const ostrand_state& state, HWND control, const char* text) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.hinst = state.instance;
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

// The hidden label made just before a path box carries its caption.
void name_path_box(HWND edit, const wchar_t* caption) {
    HWND label = GetWindow(edit, GW_HWNDPREV);
    wchar_t kind[8] = {};
    if (label && GetClassNameW(label, kind, 8) && lstrcmpiW(kind, L"Static") == 0) SetWindowTextW(label, caption);
}

}  // namespace

void fit_list_columns() {
    if (search_mode == mode_file) {
        for (int column = 0; column < 3; ++column)
            SendMessageW(list_view, LVM_SETCOLUMNWIDTH, column, scaled(file_mode_columns[column].width));
        return;
    }
    RECT client{};
    GetClientRect(list_view, &client);
    const int path_width =
        std::max(scaled(smallest_path_column_width), static_cast<int>(client.right - scaled(percent_column_width)) / 2);
    SendMessageW(list_view, LVM_SETCOLUMNWIDTH, 0, path_width);
    SendMessageW(list_view, LVM_SETCOLUMNWIDTH, 1, path_width);
    SendMessageW(list_view, LVM_SETCOLUMNWIDTH, 2, scaled(percent_column_width));
}

int set_list_columns(HWND) {
    list_clear();
    for (int i = 0; i < 3; ++i) SendMessageW(list_view, LVM_DELETECOLUMN, 0, 0);

    const uint32_t mode = search_mode;
    if (mode == mode_file) {
        for (int column = 0; column < 3; ++column) insert_column(column, file_mode_columns[column]);
    } else {
        insert_column(0, {L"File A", 250});
        insert_column(1, {L"File B", 250});
        const bool removing = remove_column_a || remove_column_b || keep_rule;
        insert_column(2, {removing ? L"Result" : L"Percent", percent_column_width});
        fit_list_columns();
    }

    // The main window's controls have no ids, so the path box's tip is attached to
    // edit box A itself and follows the mode.
    if (app_state) {
        const char* tip = mode == mode_file ? "File to be compared" : "Folder to check";
        set_control_tooltip(*app_state, edit_a, tip);
    }
    name_path_box(edit_a, caption_a(mode));
    name_path_box(edit_b, caption_b(mode));
    show_path_box_b(mode);
    return 1;
}

void list_clear() {
    result_rows().clear();
    SendMessageW(list_view, LVM_DELETEALLITEMS, 0, 0);
}

// A row written on the window thread shows at once; one written by a worker shows
// when the window's refresh timer catches up, so a row costs no message.
void list_insert_row(int index, const wchar_t* text) {
    result_rows().insert(index, text);
    if (on_list_thread()) list_sync_view();
}

void list_set_cell(int index, int column, const wchar_t* text) {
    if (result_rows().set(index, column, text) && on_list_thread()) list_sync_view();
}

// The control moves its selection and focus with the rows, so it is told at once.
void list_delete_row(int index) {
    if (result_rows().erase(index)) SendMessageW(list_view, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void list_show_row(int index) {
    request_show_row(index);
    if (on_list_thread()) list_sync_view();
}

int list_focused_row() {
    return static_cast<int>(SendMessageW(list_view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

int list_get_cell(int index, int column, wchar_t* buffer) {
    return result_rows().copy(index, column, buffer, cell_text_units);
}

int list_row_total() { return result_rows().count(); }

std::wstring list_cell_text(int index, int column) { return result_rows().text(index, column); }

std::vector<std::wstring> list_column_titles() {
    std::vector<std::wstring> titles;
    wchar_t text[100];
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = 100;
    for (int index = 0; SendMessageW(list_view, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)); ++index)
        titles.push_back(text);
    return titles;
}

int add_tooltip(const ostrand_state& state, HWND parent, int control_id, const char* text) {
    HWND control = GetDlgItem(parent, control_id);
    if (!control) return 0;  // no such control: nothing to attach the text to
    TOOLINFOA tool = tool_for(state, control, text);
    SendMessageA(state.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return 0;
}

void remove_tooltip(const ostrand_state& state, HWND control) {
    if (!state.tooltip || !control) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageA(state.tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void set_control_tooltip(const ostrand_state& state, HWND control, const char* text) {
    if (!control) return;
    TOOLINFOA tool = tool_for(state, control, text);
    SendMessageA(state.tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(state.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace orvkit
