#include "app/keyboard.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/band_controls.h"
#include "app/band_focus.h"
#include "app/window_clicks.h"
#include "base/clipboard.h"
#include "base/owner.h"
#include "core/globals.h"
#include "core/run_protocol.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "ui/menu_ids.h"
#include "ui/results_list.h"

namespace orvkit {

namespace {

bool control_down() { return GetKeyState(VK_CONTROL) < 0; }

bool in_main_window(HWND target, HWND window) {
    return target == window || (target && GetParent(target) == window);
}

// Keys in the list: Enter opens the row's dialog, Delete removes the row, Ctrl+A
// selects every row and Ctrl+C copies the selection.
bool take_list_key(HWND window, WPARAM key) {
    if (key == VK_RETURN) {
        SendMessageW(window, WM_COMMAND, menu_details, 0);
        return true;
    }
    if (key == VK_DELETE) {
        SendMessageW(window, WM_COMMAND, menu_remove_row, 0);
        return true;
    }
    if (control_down() && key == 'A') {
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageW(list_view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        return true;
    }
    if (control_down() && key == 'C') {
        copy_selected_rows(window);
        return true;
    }
    return false;
}

// A band control's own key presses it as a click would, whenever the key's rule
// allows (F1 opens the help page even during a run, when Help cannot be clicked).
// Of two controls with one key, the one beside the focused path box answers.
bool take_band_key(HWND window, const MSG& message, int32_t status) {
    const band_entry* chosen = nullptr;
    for (const band_entry& entry : band_table()) {
        if (entry.key.key != message.wParam || (entry.key.with_control && !control_down())) continue;
        if (!chosen || (entry.box && *entry.box == message.hwnd)) chosen = &entry;
    }
    if (!chosen) return false;
    const key_when when = chosen->key.when;
    if ((when == key_when::idle && status != status_idle) || (when == key_when::running && !worker_running(status)))
        return false;
    chosen->press(window, status);
    return true;
}

}  // namespace

tab_stop next_tab_stop(tab_stop from, bool back) {
    HWND window = app_state->main_window;
    std::vector<tab_stop> order;
    for (const band_entry& entry : band_table()) {
        if (entry.box && IsWindowVisible(*entry.box)) order.push_back({*entry.box});
        if (band_control_available(entry.control)) order.push_back({window, entry.control});
    }
    order.push_back({list_view});
    const auto at = std::find(order.begin(), order.end(), from);
    if (at == order.end()) return back ? order.back() : order.front();
    const std::size_t here = static_cast<std::size_t>(at - order.begin());
    return order[(here + (back ? order.size() - 1 : 1)) % order.size()];
}

void move_focus(tab_stop to) {
    HWND window = app_state->main_window;
    if (to.control != band_control::none) {
        focus_band_control(window, to.control);
    } else {
        clear_band_focus(window);
        SetFocus(to.window);
    }
}

bool copy_selected_rows(HWND window) {
    std::wstring text;
    wchar_t cell[cell_text_units];
    for (int row = -1; (row = static_cast<int>(SendMessageW(list_view, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                            LVNI_SELECTED))) >= 0;) {
        for (int column = 0; column < 3; ++column) {
            list_get_cell(row, column, cell);
            text += cell;
            text += column < 2 ? L"\t" : L"\r\n";
        }
    }
    unique_global memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!memory || !open_clipboard(window)) return false;
    if (void* target = GlobalLock(memory.get())) {
        std::memcpy(target, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory.get());
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory.get()) != nullptr;
    if (placed) memory.release();  // the clipboard owns it now
    CloseClipboard();
    return placed;
}

bool take_window_key(const MSG& message) {
    const std::shared_ptr<ostrand_state> state = app_state;
    HWND window = state ? state->main_window : nullptr;
    // F10 arrives as a system key.
    const WPARAM key = message.wParam;
    const bool pressed = message.message == WM_KEYDOWN || (message.message == WM_SYSKEYDOWN && key == VK_F10);
    if (!pressed || !window || !in_main_window(message.hwnd, window)) return false;
    const int32_t status = run_status;
    const bool idle = status == status_idle;
    if (take_band_key(window, message, status)) return true;
    const tab_stop here{message.hwnd, message.hwnd == window ? focused_band_control() : band_control::none};
    if (key == VK_TAB && !control_down()) {
        move_focus(next_tab_stop(here, GetKeyState(VK_SHIFT) < 0));
        return true;
    }
    if ((key == VK_SPACE || key == VK_RETURN) && band_control_available(here.control)) {
        press_band_control(window, here.control);
        return true;
    }
    if (key == VK_APPS || (key == VK_F10 && GetKeyState(VK_SHIFT) < 0)) {
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(message.hwnd), -1);
        return true;
    }
    if (key == VK_RETURN && idle && (message.hwnd == edit_a || message.hwnd == edit_b)) {
        start_or_abort_clicked(window, status);
        return true;
    }
    if (control_down() && key == 'S') {
        if (idle) SendMessageW(window, WM_COMMAND, menu_save_results, 0);
        return true;
    }
    if (control_down() && idle && key >= '1' && key <= '4') {
        choose_mode(window, mode_file + static_cast<uint32_t>(key - '1'));
        return true;
    }
    return message.hwnd == list_view && take_list_key(window, key);
}

}  // namespace orvkit
