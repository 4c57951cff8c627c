// The results list: its columns per mode, the row operations that workers and
// dialogs use, and the tooltips shared by the main window and the dialogs.
//
// Every row operation is one SendMessageW to `list_view` through the shared
// `row_item`. Called from a worker thread, the send runs on the window thread while
// the worker waits, so list operations never overlap.
#pragma once
#include <windows.h>

namespace orvkit {
class ostrand_state;

constexpr int cell_text_units = 1200;  // buffer size, in characters, of list_get_cell

// Rebuilds the three columns for the current mode, empties the list and shows edit
// box B only in the modes that use it. Returns 1.
int set_list_columns(HWND window);

void list_clear();
void list_insert_row(int index, const wchar_t* text);
void list_set_cell(int index, int column, const wchar_t* text);
void list_delete_row(int index);
void list_show_row(int index);
// The focused row, or -1 when no row has the focus.
int list_focused_row();
// Copies the cell into `buffer` (cell_text_units characters); returns its length.
int list_get_cell(int index, int column, wchar_t* buffer);

// Registers a tooltip text for control `control_id` of `parent`. Returns 0.
int add_tooltip(const ostrand_state& state, HWND parent, int control_id, const char* text);
// Registers (or replaces) the tooltip text of one control window.
void set_control_tooltip(const ostrand_state& state, HWND control, const char* text);

}  // namespace orvkit
