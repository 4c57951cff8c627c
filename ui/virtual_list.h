// The results list as a virtual list view: the control holds no texts, only a row
// count, and shows the rows of one row_store. See ui/row_store.h.
#pragma once
#include <windows.h>

#include "ui/row_store.h"

namespace orvkit {

// The rows the results list shows.
row_store& result_rows();

// Makes `list` (a list view made with LVS_OWNERDATA, on the calling thread) show
// result_rows(): any message that reads its rows first brings its count up to the
// store's, so LVM_GETITEMCOUNT and LVM_GETITEMTEXTW, from this or another thread or
// process, see every row written.
void attach_virtual_list(HWND list);

// True on the thread that owns the list.
bool on_list_thread();

// Window thread: brings the control's row count up to the store's, repaints rows
// changed in place and scrolls to the row last asked to be shown. Called by the
// refresh timer while a worker runs and once after, and by row writes made on the
// window thread itself.
void list_sync_view();

// Any thread: the row the next list_sync_view scrolls into view.
void request_show_row(int index);

// The window's answer to the list's notifications: texts for LVN_GETDISPINFOW.
// Sets `handled` for the notifications it answers.
LRESULT list_notification(const NMHDR* header, bool& handled);

}  // namespace orvkit
