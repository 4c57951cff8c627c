#include "app/keyboard.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/band_controls.h"
#include "app/menu_commands.h"
#include "app/run_control.h"
#include "app/window_clicks.h"
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

}  // namespace

tab_stop next_tab_stop(tab_stop from, bool back) {
    HWND window = app_state->main_window;
    std::vector<tab_stop> order;
    const auto add_control = [&](band_control control) {
        if (band_control_available(control)) order.push_back({window, control});
    };
    for (band_control control : {band_control::mode_switch, band_control::start, band_control::top, band_control::help})
        add_control(control);
    order.push_back({edit_a});
    add_control(band_control::choose_a);
    if (IsWindowVisible(edit_b)) order.push_back({edit_b});
    add_control(band_control::choose_b);
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
    if (!memory || !OpenClipboard(window)) return false;
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
    const bool idle = run_status == status_idle;
    if (key == VK_F1) {  // as the painted Help button: the page alone
        menu_open.help(state);
        return true;
    }
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
    if (key == VK_ESCAPE && worker_running(run_status)) {
        abort_run();
        return true;
    }
    if (key == VK_PAUSE && worker_running(run_status)) {
        toggle_pause();
        return true;
    }
    if (key == VK_RETURN && idle && (message.hwnd == edit_a || message.hwnd == edit_b)) {
        start_or_abort_clicked(window);
        return true;
    }
    if (control_down() && idle && key >= '1' && key <= '4') {
        choose_mode(window, mode_file + static_cast<uint32_t>(key - '1'));
        return true;
    }
    if (control_down() && idle && key == 'O') {
        choose_path(window, message.hwnd == edit_b);
        return true;
    }
    if (control_down() && idle && key == 'M') {
        next_mode(window);
        return true;
    }
    return message.hwnd == list_view && take_list_key(window, key);
}

}  // namespace orvkit
