// Small openers for the modal dialogs the main window shows. Each returns what
// DialogBoxParamW returned (-1 when the dialog could not be made).
#pragma once
#include <windows.h>

namespace orvkit {

// The About dialog (resource 1025), parameter: a pointer to `about_state`.
INT_PTR show_about_dialog(HWND owner);
// The diagnostics window (resource 1602), modeless: a new one for every call.
HWND show_diagnostics_window(HWND owner);
// The Duplicate File Action dialog (resource 1600) on the row in `row_item`.iItem.
INT_PTR show_action_dialog(HWND owner);
// The column delete confirmation (resource 1601), for the column run_status names
// (status_delete_all_a or status_delete_all_b).
INT_PTR show_column_delete_dialog(HWND owner);

}  // namespace orvkit
