#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/band_accessible.h"
#include "app/band_controls.h"
#include "app/band_focus.h"
#include "app/band_painting.h"
#include "app/menu_commands.h"
#include "app/run_control.h"
#include "app/window_clicks.h"
#include "app/window_dialogs.h"
#include "app/window_dpi.h"
#include "app/window_drops.h"
#include "app/window_geometry.h"
#include "app/window_hover.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "core/state.h"
#include "ui/menu_letters.h"
#include "ui/popup_menu.h"
#include "ui/results_list.h"
#include "ui/virtual_list.h"

namespace orvkit {

namespace {

constexpr DWORD edit_style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD list_style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_NOSORTHEADER | LVS_OWNERDATA;
constexpr DWORD list_extended_style = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;

// A path box, placed by on_size.
HWND make_edit(HWND window) {
    // A hidden label just before the box: a screen reader names an edit box by the
    // static text that precedes it. Its text follows the painted caption.
    HWND label = CreateWindowExW(0, L"Static", nullptr, WS_CHILD, 0, 0, 0, 0, window, nullptr, app_state->instance,
                                 nullptr);
    HWND edit = CreateWindowExW(0, L"Edit", nullptr, edit_style, 0, 0, 0, 0, window, nullptr, app_state->instance,
                                nullptr);
    SetWindowPos(edit, label, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // right after its label
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(app_state->small_font.get()), TRUE);
    // Paths are read back into 1200 characters: a longer text would be cut there
    // and could name another folder, so the box takes no more than that.
    SendMessageW(edit, EM_SETLIMITTEXT, 1199, 0);
    return edit;
}

LRESULT on_create(HWND window) {
    // A mode from a foreign settings file would leave the switch, the captions and
    // the worker start without a meaning: start in Quick Dir as without a file.
    if (!known_mode(search_mode)) search_mode = mode_default;
    edit_a = make_edit(window);
    edit_b = make_edit(window);
    // The list shows no title; its window text is the name a screen reader gives it.
    list_view = CreateWindowExW(0, WC_LISTVIEWW, L"Results", list_style, 82, 100, 200, 200, window, nullptr,
                                app_state->instance, nullptr);
    attach_virtual_list(list_view);
    SendMessageW(list_view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, list_extended_style);
    set_list_columns(window);
    apply_window_dpi(dpi_of_window(window));
    return 1;
}

// The width is the client's less one scaled sum: two scaled terms could round a
// pixel apart from where the boxes have always ended.
void place_path_box(HWND edit, const path_box_place& place, uint32_t w) {
    const int width = static_cast<int>(w) - scaled(place.left + place.right_margin);
    MoveWindow(edit, scaled(place.left), scaled(place.top), width, scaled(place.height), FALSE);
}

LRESULT on_size(LPARAM lparam) {
    const uint32_t w = LOWORD(lparam);
    const uint32_t h = HIWORD(lparam);
    client_width = w;
    client_height = h;
    const int band = scaled(band_height);
    place_path_box(edit_a, path_box_a, w);
    place_path_box(edit_b, path_box_b, w);
    MoveWindow(list_view, 1, band, static_cast<int>(w) - 2, static_cast<int>(h) > band ? static_cast<int>(h) - band : 0, FALSE);
    fit_list_columns();
    return 1;
}

LRESULT open_menu(HWND window, const POINT* at) {
    int32_t idle = status_idle;
    run_status.compare_exchange_strong(idle, status_menu_open);
    show_popup_menu(window, at);
    return 0;
}

// Where the menu opens for the keyboard: below the focused row of the list, else
// below the control with the focus.
POINT menu_place_for_keys(HWND window, HWND focus) {
    RECT place{};
    const int row = list_focused_row();
    if (focus == list_view && row >= 0) {
        place.left = LVIR_BOUNDS;
        SendMessageW(list_view, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&place));
        MapWindowPoints(list_view, nullptr, reinterpret_cast<POINT*>(&place), 2);
    } else if (focus == window && band_control_available(focused_band_control())) {
        place = scaled_rect(band_control_face(focused_band_control(), band_width()));
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&place), 2);
    } else {
        GetWindowRect(focus, &place);
    }
    return {place.left, place.bottom};
}

// A right click on the list arrives here, and Shift+F10 or the menu key (with the
// position -1, -1): the same menu as a right click on the band.
LRESULT on_context_menu(HWND window, WPARAM target, LPARAM position) {
    if (position != -1) {
        PostMessageW(window, WM_RBUTTONUP, 0, 0);
        return 0;
    }
    const POINT at = menu_place_for_keys(window, reinterpret_cast<HWND>(target));
    return open_menu(window, &at);
}

LRESULT on_right_button_up(HWND window) { return open_menu(window, nullptr); }

LRESULT on_notify(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    bool handled = false;
    const LRESULT answer = list_notification(header, handled);
    if (handled) return answer;
    if (header->code == static_cast<UINT>(NM_DBLCLK) && header->hwndFrom == list_view)
        return open_action_dialog(window);
    return DefWindowProcW(window, message, wparam, lparam);
}

// A screen reader's press of a band control arrives as the control's id; every
// other id is the menu's.
LRESULT on_command(HWND window, WPARAM command) {
    if (take_band_command(window, command)) return 0;
    return handle_menu_command(window, command);
}

LRESULT on_destroy() {
    PostQuitMessage(0);
    return 0;
}

LRESULT dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: return on_create(window);
    case WM_SIZE: return on_size(lparam);
    case WM_PAINT: return on_paint(window);
    case WM_PRINTCLIENT: return on_print_client(window, reinterpret_cast<HDC>(wparam), lparam);
    case WM_MOUSEMOVE: return on_mouse_move(window, lparam);
    case WM_LBUTTONUP: return on_left_button_up(window);
    case WM_RBUTTONUP: return on_right_button_up(window);
    case WM_CONTEXTMENU: return on_context_menu(window, wparam, lparam);
    case WM_SETFOCUS: return on_focus_change(window, true);
    case WM_KILLFOCUS: return on_focus_change(window, false);
    case WM_MENUCHAR: return on_menu_char(LOWORD(wparam), reinterpret_cast<HMENU>(lparam));
    case WM_GETOBJECT: return on_get_object(window, wparam, lparam);
    case WM_DPICHANGED: return on_dpi_changed(window, wparam, lparam);
    case WM_COMMAND: return on_command(window, wparam);
    case WM_NOTIFY: return on_notify(window, message, wparam, lparam);
    case WM_DROPFILES: return on_drop_files(reinterpret_cast<HDROP>(wparam));
    case WM_TIMER: return on_timer(window, wparam);
    case WM_CLOSE: return on_close(window);
    case WM_DESTROY: return on_destroy();
    default: return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

void register_main_window_class() {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNWINDOW;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = app_state->instance;
    window_class.hIcon = app_state->large_icon.get();
    window_class.hIconSm = app_state->small_icon.get();
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = window_class_name;
    RegisterClassExW(&window_class);
}

// No C++ exception may unwind into the system's message dispatch.
LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    try {
        return dispatch(window, message, wparam, lparam);
    } catch (...) {
        return 0;
    }
}

}  // namespace orvkit
