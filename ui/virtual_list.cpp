#include "ui/virtual_list.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>

#include "core/globals.h"

namespace orvkit {

namespace {

constexpr UINT_PTR subclass_id = 1;

row_store rows;
// Written once when the list is made (window thread); read by every thread.
std::atomic<DWORD> list_thread{0};
// Any thread writes; the window thread takes it.
std::atomic<int> show_request{row_store::no_row};

// Messages after which the control must not know fewer rows than the store: all
// list-view messages but those that change the count themselves.
bool reads_rows(UINT message) {
    if (message < LVM_FIRST || message >= LVM_FIRST + 0x100) return false;
    switch (message) {
    case LVM_SETITEMCOUNT:
    case LVM_DELETEITEM:
    case LVM_DELETEALLITEMS:
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW: return false;
    default: return true;
    }
}

// LVSICF_NOINVALIDATEALL repaints only the rows that came or went, and
// LVSICF_NOSCROLL leaves the view where the user put it.
void sync_count(HWND list) {
    const int stored = rows.count();
    if (static_cast<int>(DefSubclassProc(list, LVM_GETITEMCOUNT, 0, 0)) != stored)
        DefSubclassProc(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(stored), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

LRESULT CALLBACK list_proc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(list, list_proc, subclass_id);
    try {
        if (reads_rows(message)) sync_count(list);
    } catch (...) {
        // The count stays as it was; the next read brings it up to date.
    }
    return DefSubclassProc(list, message, wparam, lparam);
}

// Repaints the rows changed in place that are on screen; rows off screen are asked
// for again when they scroll in.
void redraw_changed(HWND list) {
    const auto [first, last] = rows.take_changed();
    if (first == row_store::no_row) return;
    const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    const int from = std::max(first, top);
    const int to = std::min(last, top + page + 1);
    if (from <= to) SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(from), to);
}

}  // namespace

row_store& result_rows() { return rows; }

void attach_virtual_list(HWND list) {
    list_thread = GetCurrentThreadId();
    SetWindowSubclass(list, list_proc, subclass_id, 0);
}

bool on_list_thread() { return list_view && list_thread.load() == GetCurrentThreadId(); }

void list_sync_view() {
    HWND list = list_view;
    if (!list || !on_list_thread()) return;
    SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);  // the subclass brings the count up to date
    redraw_changed(list);
    const int wanted = show_request.exchange(row_store::no_row);
    if (wanted != row_store::no_row) SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(wanted), FALSE);
}

void request_show_row(int index) { show_request = index; }

LRESULT list_notification(const NMHDR* header, bool& handled) {
    handled = false;
    if (!header || header->hwndFrom != list_view || !list_view) return 0;
    if (header->code == LVN_GETDISPINFOW) {
        // Also the path of LVM_GETITEMTEXTW sent by another thread or program: the
        // control passes the caller's buffer here.
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header));
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
            rows.copy(info->item.iItem, info->item.iSubItem, info->item.pszText, info->item.cchTextMax);
        handled = true;
        return 0;
    }
    if (header->code == LVN_ODFINDITEMW) {
        handled = true;
        return -1;  // no type-ahead search over the rows
    }
    return 0;
}

}  // namespace orvkit
