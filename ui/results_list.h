// The results list: its columns per mode, the row operations that workers and
// dialogs use, and the tooltips shared by the main window and the dialogs.
//
// The rows live in memory (ui/row_store.h), written under a small lock from any
// thread; the list view is virtual and shows them from there. A row written is
// read back by list_get_cell at once; the control's row count and scroll position
// follow on the window thread (ui/virtual_list.h).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace orvkit {
class ostrand_state;

constexpr int cell_text_units = 1200;  // buffer size, in characters, of list_get_cell

// Rebuilds the three columns for the current mode, empties the list and shows edit
// box B only in the modes that use it. Returns 1.
int set_list_columns(HWND window);
// In the folder modes File A and File B share what the list's width leaves beside
// Percent, so long paths use the window; File mode's columns keep their widths.
// Both at the window's DPI.
void fit_list_columns();

void list_clear();
void list_insert_row(int index, const wchar_t* text);
void list_set_cell(int index, int column, const wchar_t* text);
void list_delete_row(int index);
void list_show_row(int index);
// The focused row, or -1 when no row has the focus.
int list_focused_row();
// Copies the cell into `buffer` (cell_text_units characters); returns its length.
int list_get_cell(int index, int column, wchar_t* buffer);
// The rows now in the list, and one cell whole, however long.
int list_row_total();
std::wstring list_cell_text(int index, int column);
// The column titles as the list's header shows them now.
std::vector<std::wstring> list_column_titles();

// Registers a tooltip text for control `control_id` of `parent`. Returns 0.
int add_tooltip(const ostrand_state& state, HWND parent, int control_id, const char* text);
// Registers (or replaces) the tooltip text of one control window.
void set_control_tooltip(const ostrand_state& state, HWND control, const char* text);
// Drops the tooltip of one control window. The shared tooltip window keeps every tool
// it is given, also after the control is gone: a dialog's tools are dropped when it
// closes, or a later window that reuses a handle would show a stale tip.
void remove_tooltip(const ostrand_state& state, HWND control);

}  // namespace orvkit
